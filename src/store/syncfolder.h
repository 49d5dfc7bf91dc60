#pragma once

#include <QString>

namespace Store {

// Puts the folder's entries on disk, so that a file renamed into it survives a power cut.
// False when the folder could not be synced.
bool syncFolder(const QString &folder);

} // namespace Store
