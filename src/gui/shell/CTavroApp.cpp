#include "gui/shell/CTavroApp.h"

#include <QScopedValueRollback>

#include "gui/shell/AboutDialog.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/DialogLook.h"
#include "gui/shell/HelpFile.h"
#include "gui/view/CTavroView.h"
#include "platform/NameBytes.h"

namespace tavro {

std::string CommandLineTail(const std::vector<std::string>& argumentsAfterProgram) {
  std::string tail;
  for (const std::string& argument : argumentsAfterProgram) {
    if (&argument != &argumentsAfterProgram.front()) tail += ' ';
    tail += argument;
  }
  return tail;
}

CTavroApp::CTavroApp() : Platform_(Profile_), session_(Platform_, Platform_) {}

CTavroApp::~CTavroApp() {
  Profile_.WriteToolbar(ToolbarVisible);
  // The frame (and its view) go first; the document is still whole while they do.
  MainFrame_.reset();
}

CTavroView& CTavroApp::View() { return MainFrame_->View(); }

bool CTavroApp::InitInstance(const std::vector<std::string>& argumentsAfterProgram) {
  ApplyDialogLook();
  ToolbarVisible = Profile_.ReadToolbar();
  CreateFrame();
  const std::string tail = CommandLineTail(argumentsAfterProgram);
  // A start-up file that cannot be opened leaves an empty document rather than no window.
  if (tail.empty() || OpenByPath(tail) == nullptr) OnFileNew();
  MainFrame_->show();
  return true;
}

void CTavroApp::CreateFrame() {
  MainFrame_ = std::make_unique<CMainFrame>(*this);
  Platform_.SetView(&MainFrame_->View());
  Platform_.SetDialogOwner(MainFrame_.get());
  Platform_.SetRecentFilesChanged([this] { MainFrame_->RebuildRecentFiles(); });
}

const CTavroDoc* CTavroApp::OpenByPath(const QString& path) {
  return OpenByPath(PathFromShown(path));
}

// Shift held at the open merges another archive into the extracted files; an archive with several
// configuration files is opened again with the one the user picks. The set's own scripts run only
// once every message of the load has been read, so their "debug(" boxes come after them.
OpenResult CTavroApp::OpenDocument(const std::string& absolute) {
  CTavroView& view = MainFrame_->View();
  const OpenChoice choice{Platform_.IsShiftDown(), {}};
  OpenResult result = RunOpen(absolute, choice);
  // The old set is gone: the boxes of the open stand over the grey background.
  view.RedrawWholeView();
  ShowOpenMessages(result);
  if (!result.ConfigChoices.empty()) {
    std::string chosen;
    if (Platform_.ChooseConfigFile(result.ConfigChoices, chosen) && !chosen.empty()) {
      result = RunOpen(absolute, {choice.Merge, chosen});
      ShowOpenMessages(result);
    } else {
      result = {};
    }
  }
  view.Apply(session_.StartSet());
  return result;
}

// The progress dialog holds back all input but its own, so it must be gone before a box could
// ask for any: it lives only as long as this call.
OpenResult CTavroApp::RunOpen(const std::string& absolute, const OpenChoice& choice) {
  CTavroView& view = MainFrame_->View();
  OpenProgressDialog progress(
      MainFrame_.get(), {&view.AlarmTimer()}, [&view] { view.RedrawWholeView(); },
      OpenProgressDelayMs);
  Platform_.BeginWaitCursor();
  OpenResult result = session_.Open(absolute, choice, progress);
  Platform_.EndWaitCursor();
  return result;
}

void CTavroApp::ShowOpenMessages(const OpenResult& result) {
  for (const std::string& message : result.Messages)
    Platform_.ShowMessage(message, std::string(), MessageIcon::Exclamation);
}

const CTavroDoc* CTavroApp::OpenByPath(const std::string& path) {
  // One open at a time: events flow while the progress dialog and the open's boxes show, and
  // the dialog holds back what could start another, but nothing else may slip through either.
  if (OpenRunning_) return nullptr;
  const QScopedValueRollback<bool> running(OpenRunning_, true);
  const std::string absolute = FullPath(path);
  const OpenResult result = OpenDocument(absolute);
  if (!result.Opened) return nullptr;
  // An archive inside the temporary directory is not remembered: it will be gone with it.
  if (!result.RecentFile.empty()) Platform_.AddToRecentFiles(result.RecentFile);
  if (Doc().Archive().OpenedFrom(absolute)) {
    DocTemplate_.SetPathName(absolute, ShownPath(Doc().Archive().DocumentTitle()));
  } else {
    DocTemplate_.SetPathName(absolute);
  }
  AfterDocumentChanged();
  return &Doc();
}

void CTavroApp::OnFileNew() {
  MainFrame_->View().Apply(session_.NewDocument());
  DocTemplate_.SetDefaultTitle();
  AfterDocumentChanged();
}

void CTavroApp::AfterDocumentChanged() {
  MainFrame_->UpdateCaption();
  MainFrame_->show();
  MainFrame_->View().FitFrameToPlayfield();
  MainFrame_->View().RedrawWholeView();
  MainFrame_->UpdateActions();
}

void CTavroApp::OnFileOpen() {
  std::string path;
  if (Platform_.Prompts().PromptOpen(MainFrame_.get(), path)) OpenByPath(path);
}

void CTavroApp::OnHelpContents() {
  QString message;
  if (!OpenUserGuide(message)) {
    Platform_.ShowMessage(message.toStdString(), std::string(), MessageIcon::Exclamation);
  }
}

void CTavroApp::OnAppAbout() {
  AboutDialog about(MainFrame_.get());
  about.exec();
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath) {
  Path_ = absolutePath;
  DocTitle_ = ShownPath(SplitPath(absolutePath).Name);
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath, const QString& title) {
  Path_ = absolutePath;
  DocTitle_ = title;
}

void SingleDocTemplate::SetDefaultTitle() {
  Path_.clear();
  DocTitle_ = QStringLiteral("Untitled");
}

QString SingleDocTemplate::FrameCaption() const { return DocTitle_ + " - " + kAppTitle; }

}  // namespace tavro
