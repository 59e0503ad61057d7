// Commands for playing with and looking into the set: Help > Information, Option > Adjust Object.
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"

namespace tavro {

void CMainFrame::RegisterPlayCommands() {
  CTavroDoc& doc = App.Doc();
  auto loaded = [&doc] { return doc.IsSetLoaded(); };
  Table.Handle(
      cmd::kInformation, [this] { ViewWidget->ShowInformation(); }, loaded);
  Table.Handle(
      cmd::kAdjustObject, [this] { ViewWidget->AdjustObjects(); }, loaded);
  // Any command may have raised script events (set switches, colour modes, saving, opening) that
  // armed alarms or left the map dirty; the alarm timer follows after each one.
  connect(&Table, &CommandTable::commandRan, ViewWidget, &CTavroView::ScheduleTimerPass);
}

}  // namespace tavro
