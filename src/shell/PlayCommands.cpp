// Commands for playing with and looking into the set: Help > Information, Option > Adjust Object.
#include "shell/CMainFrame.h"

namespace tavro {

void CMainFrame::RegisterPlayCommands() {}

}  // namespace tavro
