#pragma once

#include <QString>

// The handlers see texts with CR LF line ends, as slot files and the clipboard hold
// them; Qt's editors hold LF. These convert at the boundary.
namespace CrLfText {

QString fromEditor(const QString &lfText);
QString toEditor(const QString &crlfText);

} // namespace CrLfText
