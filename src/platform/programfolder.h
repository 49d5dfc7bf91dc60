#pragma once

#include <QString>

namespace System {

// The folder where the messages are kept: beside the executable for a portable copy, the
// user's data folder (made at the first save) for an installed one.
QString programFolder();

} // namespace System
