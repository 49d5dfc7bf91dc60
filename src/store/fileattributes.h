#pragma once

#include <QString>

namespace FileAttributes {

// Whether the file at path is marked hidden or system: the store treats such a file as
// absent. On Windows these are the file's attributes; elsewhere a hidden file's name
// starts with a dot, and no file is a system file.
bool isHiddenOrSystem(const QString &path);

} // namespace FileAttributes
