#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn at run time so that no image file is needed.
namespace AppIcons {

// A clipboard holding a sheet, drawn at any size: the program's icon.
QPixmap programPixmap(int size);
// The program's icon, programPixmap() at 16 and 32 pixels:
// the window and the tray icon.
QIcon windowIcon();
// A window folding down, on the hide button.
QIcon hideIcon();
// A red disc with a white cross, on the quit button.
QIcon quitIcon();

} // namespace AppIcons
