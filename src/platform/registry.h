#pragma once

#include <QString>
#include <QtGlobal>

// Registry reads in the shape of the Win32 calls: every call returns 0 on success and
// a Win32 error code otherwise. On Windows the calls read the machine's registry; on
// other systems they read a table that holds what the program looks for there.
//
// HKEY_LOCAL_MACHINE, REG_SZ and REG_DWORD are also macros of <windows.h>: include
// this header before that one.
namespace Registry {

using HKey = quintptr;

constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002;

constexpr quint32 REG_SZ = 1;
constexpr quint32 REG_BINARY = 3;
constexpr quint32 REG_DWORD = 4;

constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long InvalidHandle = 6;
constexpr long MoreData = 234;

long RegOpenKeyExA(quint32 root, const QString &subKey, quint32 options, quint32 samDesired,
                   HKey *result);
// On entry *size is the room in data; on return it is the value's size in bytes, also
// when the room was too small (MoreData).
long RegQueryValueExA(HKey key, const QString &valueName, quint32 *reserved, quint32 *type,
                      quint8 *data, quint32 *size);
long RegCloseKey(HKey key);

// The access mask of the latest RegOpenKeyExA call, as the caller asked for it.
quint32 LastAccessMask();

} // namespace Registry
