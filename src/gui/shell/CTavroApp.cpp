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

CTavroApp::CTavroApp() : Platform(Profile), session_(Platform, Platform) {}

CTavroApp::~CTavroApp() {
  Profile.WriteToolbar(ToolbarVisible);
  // The frame (and its view) go first; the document is still whole while they do.
  MainFrame.reset();
}

CTavroView& CTavroApp::View() { return MainFrame->View(); }

bool CTavroApp::InitInstance(const std::vector<std::string>& argumentsAfterProgram) {
  ApplyDialogLook();
  ToolbarVisible = Profile.ReadToolbar();
  CreateFrame();
  const std::string tail = CommandLineTail(argumentsAfterProgram);
  // A start-up file that cannot be opened leaves an empty document rather than no window.
  if (tail.empty() || OpenByPath(tail) == nullptr) OnFileNew();
  MainFrame->show();
  return true;
}

void CTavroApp::CreateFrame() {
  MainFrame = std::make_unique<CMainFrame>(*this);
  Platform.SetView(&MainFrame->View());
  Platform.SetDialogOwner(MainFrame.get());
  Platform.SetRecentFilesChanged([this] { MainFrame->RebuildRecentFiles(); });
}

const CTavroDoc* CTavroApp::OpenByPath(const QString& path) {
  return OpenByPath(PathFromShown(path));
}

// Shift held at the open merges another archive into the extracted files; an archive with several
// configuration files is opened again with the one the user picks. The set's own scripts run only
// once every message of the load has been read, so their "debug(" boxes come after them.
OpenResult CTavroApp::OpenDocument(const std::string& absolute) {
  CTavroView& view = MainFrame->View();
  const OpenChoice choice{Platform.IsShiftDown(), {}};
  OpenResult result = RunOpen(absolute, choice);
  // The old set is gone: the boxes of the open stand over the grey background.
  view.RedrawWholeView();
  ShowOpenMessages(result);
  if (!result.ConfigChoices.empty()) {
    std::string chosen;
    if (Platform.ChooseConfigFile(result.ConfigChoices, chosen) && !chosen.empty()) {
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
  CTavroView& view = MainFrame->View();
  OpenProgressDialog progress(
      MainFrame.get(), {&view.AlarmTimer()}, [&view] { view.RedrawWholeView(); },
      OpenProgressDelayMs);
  Platform.BeginWaitCursor();
  OpenResult result = session_.Open(absolute, choice, progress);
  Platform.EndWaitCursor();
  return result;
}

void CTavroApp::ShowOpenMessages(const OpenResult& result) {
  for (const std::string& message : result.Messages)
    Platform.ShowMessage(message, std::string(), MessageIcon::Exclamation);
}

const CTavroDoc* CTavroApp::OpenByPath(const std::string& path) {
  // One open at a time: events flow while the progress dialog and the open's boxes show, and
  // the dialog holds back what could start another, but nothing else may slip through either.
  if (OpenRunning) return nullptr;
  const QScopedValueRollback<bool> running(OpenRunning, true);
  const std::string absolute = FullPath(path);
  const OpenResult result = OpenDocument(absolute);
  if (!result.Opened) return nullptr;
  // An archive inside the temporary directory is not remembered: it will be gone with it.
  if (!result.RecentFile.empty()) Platform.AddToRecentFiles(result.RecentFile);
  if (Doc().Archive().OpenedFrom(absolute)) {
    DocTemplate.SetPathName(absolute, ShownPath(Doc().Archive().DocumentTitle()));
  } else {
    DocTemplate.SetPathName(absolute);
  }
  AfterDocumentChanged();
  return &Doc();
}

void CTavroApp::OnFileNew() {
  MainFrame->View().Apply(session_.NewDocument());
  DocTemplate.SetDefaultTitle();
  AfterDocumentChanged();
}

void CTavroApp::AfterDocumentChanged() {
  MainFrame->UpdateCaption();
  MainFrame->show();
  MainFrame->View().FitFrameToPlayfield();
  MainFrame->View().RedrawWholeView();
  MainFrame->UpdateActions();
}

void CTavroApp::OnFileOpen() {
  std::string path;
  if (Platform.Prompts().PromptOpen(MainFrame.get(), path)) OpenByPath(path);
}

void CTavroApp::OnHelpContents() {
  QString message;
  if (!OpenUserGuide(message)) {
    Platform.ShowMessage(message.toStdString(), std::string(), MessageIcon::Exclamation);
  }
}

void CTavroApp::OnAppAbout() {
  AboutDialog about(MainFrame.get());
  about.exec();
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath) {
  Path = absolutePath;
  DocTitle = ShownPath(SplitPath(absolutePath).name);
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath, const QString& title) {
  Path = absolutePath;
  DocTitle = title;
}

void SingleDocTemplate::SetDefaultTitle() {
  Path.clear();
  DocTitle = QStringLiteral("Untitled");
}

QString SingleDocTemplate::FrameCaption() const { return DocTitle + " - " + kAppTitle; }

}  // namespace tavro
