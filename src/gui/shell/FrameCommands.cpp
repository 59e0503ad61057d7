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

namespace {

constexpr int kMenuZoomLimit = 16;

}  // namespace

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
  CTavroDoc& doc = App.Doc();
  DocumentSession& session = ViewWidget->session();
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
      cmd::kTest, [this] { ViewWidget->TestAllSets(); }, [&doc] { return doc.IsSetLoaded(); });
}

void CMainFrame::RegisterViewCommands() {
  CTavroDoc& doc = App.Doc();
  auto loaded = [&doc] { return doc.IsSetLoaded(); };
  // The document repaints the recomposed picture at once through the host.
  DocumentSession& session = ViewWidget->session();
  Table.Handle(
      cmd::kColour256, [&session] { session.ColourMode256(); }, loaded,
      [&session] { return session.States().Colour256Checked; });
  Table.Handle(
      cmd::kTrueColour, [&session] { session.ColourModeTrue(); }, loaded,
      [&session] { return session.States().TrueColourChecked; });
  Table.Handle(cmd::kTransparentHalf, [&session] { session.Transparent50(); });
  Table.Handle(
      cmd::kZoomIn, [this] { ViewWidget->SetZoom(ViewWidget->Zoom() + 1); },
      [this] { return ViewWidget->Zoom() < kMenuZoomLimit; });
  Table.Handle(
      cmd::kZoomOut, [this] { ViewWidget->SetZoom(ViewWidget->Zoom() - 1); },
      [this] { return ViewWidget->Zoom() > 1; });
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
  Table.Handle(
      cmd::kFileRecord, [this] { App.OnFileRecord(); }, [&doc] { return doc.IsSetLoaded(); });
}

// Commands for playing with and looking into the set: Help > Information and Load Report,
// Option > Adjust Object.
void CMainFrame::RegisterPlayCommands() {
  CTavroDoc& doc = App.Doc();
  auto loaded = [&doc] { return doc.IsSetLoaded(); };
  Table.Handle(
      cmd::kInformation, [this] { ViewWidget->ShowInformation(); }, loaded);
  Table.Handle(
      cmd::kAdjustObject, [this] { ViewWidget->AdjustObjects(); }, loaded);
  Table.Handle(
      cmd::kLoadReport,
      [this, &doc] {
        LoadReportDialog dialog(doc.LastLoad().Problems, this);
        dialog.exec();
      },
      loaded);
  // Any command may have raised script events (set switches, colour modes, saving, opening) that
  // armed alarms or left the map dirty; the alarm timer follows after each one.
  connect(&Table, &CommandTable::commandRan, ViewWidget, &CTavroView::ScheduleTimerPass);
}

}  // namespace tavro
