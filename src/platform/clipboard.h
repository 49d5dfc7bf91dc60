#pragma once

#include <QString>

// The two clipboard operations the program uses.
namespace Clipboard {

void clear();
void setText(const QString &text);

} // namespace Clipboard
