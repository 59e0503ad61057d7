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
  Table_.Handle(cmd::kFileNew, [this] { App_.OnFileNew(); });
  Table_.Handle(cmd::kFileOpen, [this] { App_.OnFileOpen(); });
  Table_.Handle(cmd::kAppExit, [this] { close(); });
  Table_.Handle(cmd::kAppAbout, [this] { App_.OnAppAbout(); });
  Table_.Handle(cmd::kHelpContents, [this] { App_.OnHelpContents(); });
  Table_.Handle(cmd::kMinimiseRestore, [this] { MinimiseOrRestore(); });
  Table_.Handle(
      cmd::kViewToolbar, [this] { Bar_->setVisible(Bar_->isHidden()); }, {},
      [this] { return ToolbarShown(); });
  RegisterSetAndColourCommands();
  RegisterViewCommands();
  RegisterPlayCommands();
  RegisterFileCommands();
}

// Which sets and groups may be chosen is the session's rule, as for tavro-render.
void CMainFrame::RegisterSetAndColourCommands() {
  DocumentSession& session = App_.Session();
  for (int n = 0; n < kSetCount; ++n) {
    Table_.Handle(
        cmd::kFirstSet + n, [this, n] { ViewWidget_->SelectSet(n); },
        [&session, n] { return session.IsSetAvailable(n); },
        [&session, n] { return session.States().SetChecked[n]; });
  }
  for (int n = 0; n < kGroupCount; ++n) {
    Table_.Handle(
        cmd::kFirstGroup + n, [this, n] { ViewWidget_->SelectGroup(n); },
        [&session, n] { return session.IsGroupAvailable(n); },
        [&session, n] { return session.States().GroupChecked[n]; });
  }
  Table_.Handle(
      cmd::kTest, [this] { ViewWidget_->TestAllSets(); },
      [&session] { return session.States().Loaded; });
}

void CMainFrame::RegisterViewCommands() {
  DocumentSession& session = App_.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  // The view repaints the recomposed picture from what the session returns.
  Table_.Handle(
      cmd::kColour256, [this, &session] { ViewWidget_->Apply(session.ColourMode256()); }, loaded,
      [&session] { return session.States().Colour256Checked; });
  Table_.Handle(
      cmd::kTrueColour, [this, &session] { ViewWidget_->Apply(session.ColourModeTrue()); }, loaded,
      [&session] { return session.States().TrueColourChecked; });
  Table_.Handle(cmd::kTransparentHalf,
                [this, &session] { ViewWidget_->Apply(session.Transparent50()); });
  Table_.Handle(
      cmd::kZoomIn, [this] { ViewWidget_->SetZoom(ViewWidget_->Zoom() + 1); },
      [this] { return ViewWidget_->Zoom() < kMaxZoom; });
  Table_.Handle(
      cmd::kZoomOut, [this] { ViewWidget_->SetZoom(ViewWidget_->Zoom() - 1); },
      [this] { return ViewWidget_->Zoom() > kMinZoom; });
  Table_.Handle(cmd::kZoomDialog, [this] {
    ZoomDialog dialog(
        [this](const std::string& message) {
          App_.HostImpl().ShowMessage(message, std::string(), MessageIcon::Exclamation);
        },
        ViewWidget_->Zoom(), this);
    if (dialog.exec() == QDialog::Accepted) ViewWidget_->SetZoom(dialog.Factor());
  });
}

// Commands that take the set out of the viewer: File > Save, Save As, Record Animation and Edit >
// Copy.
void CMainFrame::RegisterFileCommands() {
  DocumentSession& session = App_.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  // A set read from an archive lives in a temporary directory; nothing is saved while one is in
  // use, so a save can never land in a directory about to be deleted.
  auto canSave = [&session] { return session.CanSave(); };
  Table_.Handle(
      cmd::kFileSave, [this] { App_.OnFileSave(); }, canSave);
  Table_.Handle(
      cmd::kFileSaveAs, [this] { App_.OnFileSaveAs(); }, canSave);
  Table_.Handle(
      cmd::kEditCopy, [&session] { CopyPictureToClipboard(session.Doc()); }, loaded);
  Table_.Handle(
      cmd::kFileRecord, [this] { App_.OnFileRecord(); }, loaded);
}

// Commands for playing with and looking into the set: Help > Information and Load Report,
// Option > Adjust Object.
void CMainFrame::RegisterPlayCommands() {
  DocumentSession& session = App_.Session();
  auto loaded = [&session] { return session.States().Loaded; };
  Table_.Handle(
      cmd::kInformation, [this] { ViewWidget_->ShowInformation(); }, loaded);
  Table_.Handle(
      cmd::kAdjustObject, [this] { ViewWidget_->AdjustObjects(); }, loaded);
  Table_.Handle(
      cmd::kLoadReport,
      [this, &session] {
        LoadReportDialog dialog(session.Doc().LastLoad().Problems, this);
        dialog.exec();
      },
      loaded);
  // Any command may have raised script events (set switches, colour modes, saving, opening) that
  // armed alarms or left the map dirty; the alarm timer follows after each one.
  connect(&Table_, &CommandTable::CommandRan, ViewWidget_, &CTavroView::ScheduleTimerPass);
}

}  // namespace tavro
