#pragma once

#include <QString>

// Hands a web address or a mailto: link to the desktop, which opens it with the
// user's browser or mail program. Whether that worked is not reported.
void ShellOpen(const QString &target);
