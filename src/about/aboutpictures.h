#pragma once

#include <QCursor>
#include <QPixmap>

// The About box's pictures, drawn at run time so that no image file is needed.
namespace AboutPictures {

// A box with a quill standing in it, 32 by 32: the dialog's icon.
QPixmap dialogIcon();
// The 100 by 44 donation button.
QPixmap donationButton();
// A hand pointing up, 32 by 32, its hot spot at the fingertip (12, 1): the links' pointer.
QCursor pointingHand();

} // namespace AboutPictures
