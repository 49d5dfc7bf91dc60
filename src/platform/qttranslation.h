#pragma once

#include <QString>

namespace System {

// Where Qt's own translations are read: Qt's folder, or on Windows translations\ beside the
// program, which carries its own.
QString qtTranslationsFolder();

// Installs Qt's French translation (qtbase_fr.qm) from the folder, for the texts Qt draws
// itself: the text boxes' context menus, the message boxes' buttons. The interface is French
// whatever the locale. Where the file is missing, Qt's texts stay English and a warning says
// so; returns whether it was installed.
bool installQtTranslation(const QString &folder = qtTranslationsFolder());

} // namespace System
