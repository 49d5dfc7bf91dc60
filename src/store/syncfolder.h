#pragma once

#include <QString>

// Puts the folder's entries on disk, so that a file renamed into it survives a power cut.
// False when the folder could not be synced.
bool SyncFolder(const QString &folder);
