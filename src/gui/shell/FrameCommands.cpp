// Which code answers each command, and when each is enabled and checked. Commands nobody handles
// (undo, cut, paste, the pane keys) stay disabled.
#include <QToolBar>

#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/LoadReportDialog.h"
#include "gui/shell/ZoomDialog.h"
#include "gui/view/ClipboardExport.h"

namespace tavro {

void CMainFrame::RegisterCommands() {
  Table.Handle(cmd::kFileNew, [this] { App.OnFileNew(); });
  Table.Handle(cmd::kFileOpen, [this] { App.OnFileOpen(); });
  Table.Handle(cmd::kAppExit, [this] { close(); });
  Table.Handle(cmd::kAppAbout, [this] { App.OnAppAbout(); });
  Table.Handle(cmd::kHelpContents, [this] { App.OnHelpContents(); });
  Table.Handle(cmd::kMinimiseRestore, [this] { MinimiseOrRestore(); });
  Table.Handle(
      cmd::kViewToolbar, [this] { Bar->setVisible(Bar->isHidden()); }, {},
      [this] { return ToolbarShown(); });
  RegisterSetAndColourCommands();
  RegisterViewCommands();
  RegisterPlayCommands();
  RegisterFileCommands();
}

// Which sets and groups may be chosen is the session's rule, as for tavro-render.
void CMainFrame::RegisterSetAndColourCommands() {
  DocumentSession& session = App.Session();
  for (int n = 0; n < kSetCount; ++n) {
    Table.Handle(
        cmd::kFirstSet + n, [this, n] { ViewWidget->SelectSet(n); },
        [&session, n] { return session.IsSetAvailable(n); },
        [&session, n] { return session.States().SetChecked[n]; });
  }
  for (int n = 0; n < kGroupCount; ++n) {
    Table.Handle(
        cmd::kFirstGroup + n, [this, n] { ViewWidget->SelectGroup(n); },
        [&session, n] { return session.IsGroupAvailable(n); },
        [&session, n] { return session.States().GroupChecked[n]; });
  }
  Table.Handle(
      cmd::kTest, [this] { ViewWidget->TestAllSets(); },
      [&session] { return session.States().Loaded; });
}

void CMainFrame::RegisterViewCommands() {
  DocumentSession& session = App.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  // The view repaints the recomposed picture from what the session returns.
  Table.Handle(
      cmd::kColour256, [this, &session] { ViewWidget->Apply(session.ColourMode256()); }, loaded,
      [&session] { return session.States().Colour256Checked; });
  Table.Handle(
      cmd::kTrueColour, [this, &session] { ViewWidget->Apply(session.ColourModeTrue()); }, loaded,
      [&session] { return session.States().TrueColourChecked; });
  Table.Handle(cmd::kTransparentHalf,
               [this, &session] { ViewWidget->Apply(session.Transparent50()); });
  Table.Handle(
      cmd::kZoomIn, [this] { ViewWidget->SetZoom(ViewWidget->Zoom() + 1); },
      [this] { return ViewWidget->Zoom() < kMaxZoom; });
  Table.Handle(
      cmd::kZoomOut, [this] { ViewWidget->SetZoom(ViewWidget->Zoom() - 1); },
      [this] { return ViewWidget->Zoom() > kMinZoom; });
  Table.Handle(cmd::kZoomDialog, [this] {
    ZoomDialog dialog(
        [this](const std::string& message) {
          App.HostImpl().ShowMessage(message, std::string(), MessageIcon::Exclamation);
        },
        ViewWidget->Zoom(), this);
    if (dialog.exec() == QDialog::Accepted) ViewWidget->SetZoom(dialog.Factor());
  });
}

// Commands that take the set out of the viewer: File > Save, Save As, Record Animation and Edit >
// Copy.
void CMainFrame::RegisterFileCommands() {
  DocumentSession& session = App.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  // A set read from an archive lives in a temporary directory; nothing is saved while one is in
  // use, so a save can never land in a directory about to be deleted.
  auto canSave = [&session] { return session.CanSave(); };
  Table.Handle(
      cmd::kFileSave, [this] { App.OnFileSave(); }, canSave);
  Table.Handle(
      cmd::kFileSaveAs, [this] { App.OnFileSaveAs(); }, canSave);
  Table.Handle(
      cmd::kEditCopy, [&session] { CopyPictureToClipboard(session.Doc()); }, loaded);
  Table.Handle(
      cmd::kFileRecord, [this] { App.OnFileRecord(); }, loaded);
}

// Commands for playing with and looking into the set: Help > Information and Load Report,
// Option > Adjust Object.
void CMainFrame::RegisterPlayCommands() {
  DocumentSession& session = App.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  Table.Handle(
      cmd::kInformation, [this] { ViewWidget->ShowInformation(); }, loaded);
  Table.Handle(
      cmd::kAdjustObject, [this] { ViewWidget->AdjustObjects(); }, loaded);
  Table.Handle(
      cmd::kLoadReport,
      [this, &session] {
        LoadReportDialog dialog(session.Doc().LastLoad().Problems, this);
        dialog.exec();
      },
      loaded);
  // Any command may have raised script events (set switches, colour modes, saving, opening) that
  // armed alarms or left the map dirty; the alarm timer follows after each one.
  connect(&Table, &CommandTable::commandRan, ViewWidget, &CTavroView::ScheduleTimerPass);
}

}  // namespace tavro
