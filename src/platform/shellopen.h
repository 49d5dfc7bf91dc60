#pragma once

#include <QString>

namespace System {

// Hands a web address or a mailto: link to the desktop, which opens it with the
// user's browser or mail program. Whether that worked is not reported.
void shellOpen(const QString &target);

} // namespace System
