// Commands that take the set out of the viewer: File > Save, Save As and Edit > Copy.
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/view/ClipboardExport.h"

namespace tavro {

void CMainFrame::RegisterFileCommands() {
  CTavroDoc& doc = App.Doc();
  // A set read from an archive lives in a temporary directory; nothing is saved while one is in
  // use, so a save can never land in a directory about to be deleted.
  auto canSave = [&doc] { return doc.CanSave(); };
  Table.Handle(
      cmd::kFileSave, [this] { App.OnFileSave(); }, canSave);
  Table.Handle(
      cmd::kFileSaveAs, [this] { App.OnFileSaveAs(); }, canSave);
  Table.Handle(
      cmd::kEditCopy, [&doc] { CopyPictureToClipboard(doc); },
      [&doc] { return doc.IsSetLoaded(); });
}

}  // namespace tavro
