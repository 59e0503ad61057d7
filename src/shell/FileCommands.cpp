// Commands that take the set out of the viewer: File > Save, Save As and Edit > Copy.
#include "shell/CMainFrame.h"

namespace tavro {

void CMainFrame::RegisterFileCommands() {}

}  // namespace tavro
