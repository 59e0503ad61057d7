// Commands for playing with and looking into the set: Help > Information, Option > Adjust Object.
#include "shell/CMainFrame.h"
#include "shell/CTavroApp.h"
#include "shell/CommandIds.h"

namespace tavro {

void CMainFrame::RegisterPlayCommands() {
  CTavroDoc& doc = App.Doc();
  auto loaded = [&doc] { return doc.SetLoaded != 0; };
  Table.Handle(
      cmd::kInformation, [this] { ViewWidget->ShowInformation(); }, loaded);
  Table.Handle(
      cmd::kAdjustObject, [this] { ViewWidget->AdjustObjects(); }, loaded);
  // Any command may have raised script events (set switches, colour modes, saving, opening) that
  // armed alarms or left the map dirty; the alarm timer follows after each one.
  connect(&Table, &CommandTable::commandRan, ViewWidget, &CTavroView::ScheduleTimerPass);
}

}  // namespace tavro
