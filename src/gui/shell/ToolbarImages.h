// The toolbar's button images and the application icon, drawn in code so the program carries
// no image files: 16 x 15 pixels in a handful of plain colours.
#pragma once

#include <QIcon>

namespace tavro {

inline constexpr int kButtonImageWidth = 16;
inline constexpr int kButtonImageHeight = 15;

// The image for a toolbar command (open, save, copy, sets 0 to 9, about); a blank image for
// anything else. Outlines, digits and the question mark take the button text colour of the
// application's palette whenever they are drawn, so they stay readable under a dark theme and
// follow a change of theme; the fills keep their own colours.
QIcon ToolbarImage(int commandId);

// The icon for the window and the About box: the installed theme icon, else the same picture
// drawn at 32 x 32.
QIcon AppIcon();

}  // namespace tavro
