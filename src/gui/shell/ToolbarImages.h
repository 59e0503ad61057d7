// The toolbar's button images and the application icon, drawn in code so the program carries
// no image files: 16 x 15 pixels in a handful of plain colours.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tavro {

inline constexpr int kButtonImageWidth = 16;
inline constexpr int kButtonImageHeight = 15;

// The image for a toolbar command (open, save, copy, sets 0 to 9, about); a blank image for
// anything else.
QPixmap ToolbarImage(int commandId);

// The icon for the window and the About box: the installed theme icon, else the same picture
// drawn at 32 x 32.
QIcon AppIcon();

}  // namespace tavro
