#pragma once

#include <QString>

#include <functional>

// Hands a web address or a mailto: link to the desktop, which opens it with the
// user's browser or mail program. Whether that worked is not reported.
void ShellOpen(const QString &target);

// Tests record the targets instead; an empty function restores the desktop.
using ShellOpenFunction = std::function<void(const QString &target)>;
void SetShellOpenFunction(ShellOpenFunction function);
