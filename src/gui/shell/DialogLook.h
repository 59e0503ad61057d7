// Dialogs and message boxes show black text on light grey (192, 192, 192).
#pragma once

namespace tavro {

void ApplyDialogLook();

}  // namespace tavro
