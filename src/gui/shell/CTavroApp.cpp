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

CTavroApp::CTavroApp() : Platform(Profile), Document(Platform, Platform) {}

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

CTavroDoc* CTavroApp::OpenByPath(const QString& path) { return OpenByPath(PathFromShown(path)); }

// Shift held at the open merges another archive into the extracted files; an archive with several
// configuration files is opened again with the one the user picks.
OpenResult CTavroApp::OpenDocument(const std::string& absolute) {
  const OpenChoice choice{Platform.IsShiftDown(), {}};
  OpenResult result = RunOpen(absolute, choice);
  ShowOpenMessages(result);
  if (result.ConfigChoices.empty()) return result;
  std::string chosen;
  if (!Platform.ChooseConfigFile(result.ConfigChoices, chosen) || chosen.empty()) return {};
  result = RunOpen(absolute, {choice.Merge, chosen});
  ShowOpenMessages(result);
  return result;
}

// The window paints the empty document while the dialog shows: the old picture is gone.
OpenResult CTavroApp::RunOpen(const std::string& absolute, const OpenChoice& choice) {
  // One open at a time: events flow while the progress dialog shows, and the dialog holds back
  // what could start another, but nothing else may slip through either.
  if (OpenRunning) return {};
  const QScopedValueRollback<bool> running(OpenRunning, true);
  CTavroView& view = MainFrame->View();
  OpenProgressDialog progress(
      MainFrame.get(), {&view.AlarmTimer()}, [&view] { view.InvalidateWholeView(false); },
      OpenProgressDelayMs);
  Platform.BeginWaitCursor();
  OpenResult result = Document.OnOpenDocument(absolute, choice, progress);
  Platform.EndWaitCursor();
  return result;
}

void CTavroApp::ShowOpenMessages(const OpenResult& result) {
  for (const std::string& message : result.Messages)
    Platform.ShowMessage(message, std::string(), MessageIcon::Exclamation);
}

CTavroDoc* CTavroApp::OpenByPath(const std::string& path) {
  const std::string absolute = FullPath(path);
  const OpenResult result = OpenDocument(absolute);
  if (!result.Opened) {
    MainFrame->View().InvalidateWholeView(true);
    MainFrame->RequestCommandUpdate();
    return nullptr;
  }
  // An archive inside the temporary directory is not remembered: it will be gone with it.
  if (!result.RecentFile.empty()) Platform.AddToRecentFiles(result.RecentFile);
  if (Document.Archive().OpenedFrom(absolute)) {
    DocTemplate.SetPathName(absolute, ShownPath(Document.Archive().DocumentTitle()));
  } else {
    DocTemplate.SetPathName(absolute);
  }
  AfterDocumentChanged();
  return &Document;
}

void CTavroApp::OnFileNew() {
  Document.OnNewDocument();
  DocTemplate.SetDefaultTitle();
  AfterDocumentChanged();
}

void CTavroApp::AfterDocumentChanged() {
  MainFrame->UpdateCaption();
  MainFrame->show();
  MainFrame->View().FitFrameToPlayfield();
  MainFrame->View().InvalidateWholeView(true);
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
