// File > Save and Save As: where to save, and what the document is called afterwards.
#include <QFile>

#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"

namespace tavro {

namespace {

constexpr char kOverwriteQuestion[] = "上書きしますか？";

}  // namespace

bool CTavroApp::OnFileSave() {
  if (!session_.CanSave()) return false;
  const std::string path = DocTemplate_.PathName();
  // A file that is gone or may not be written is saved as a new one, without a word.
  return DoSave(session_.MustConfirmOverwrite(path) ? path : std::string());
}

bool CTavroApp::OnFileSaveAs() {
  if (!session_.CanSave()) return false;
  return DoSave(std::string());
}

bool CTavroApp::DoSave(const std::string& path) {
  std::string target = path;
  if (!target.empty()) {
    if (!Platform_.AskYesNo(kOverwriteQuestion, std::string())) return false;
  } else {
    // Qt's own reading of the bytes, which PathFromShown can map back when it is kept.
    QString chosen = QFile::decodeName(QByteArray::fromStdString(DocTemplate_.PathName()));
    if (!Platform_.Prompts().PromptSaveAs(MainFrame_.get(), chosen) || chosen.isEmpty()) {
      return false;
    }
    target = FullPath(PathFromShown(chosen));
  }
  // Save As's own dialog has asked about an existing file.
  const SaveResult saved = session_.Save(target, true);
  if (!saved.Saved) {
    if (!saved.Error.empty())
      Platform_.ShowMessage(saved.Error, std::string(), MessageIcon::Exclamation);
    return false;
  }
  DocTemplate_.SetPathName(target);
  Platform_.AddToRecentFiles(target);
  MainFrame_->UpdateCaption();
  return true;
}

}  // namespace tavro
