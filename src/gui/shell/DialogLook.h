// The dialogs' look: black text on light grey (192, 192, 192), edit fields white, whatever the
// desktop's theme, as the program's dialogs have always looked.
#pragma once

#include <QPalette>

namespace tavro {

// The palette every dialog and message box gets.
QPalette DialogPalette();

// Gives every dialog and message box that palette as it is shown. Set on the dialog itself
// rather than for the class: a theme hands labels, buttons and edit fields palettes of their
// own, which a class palette of the dialog would not reach.
void ApplyDialogLook();

}  // namespace tavro
