// File > Save and Save As: where to save, and what the document is called afterwards.
#include "shell/CMainFrame.h"
#include "shell/CTavroApp.h"

namespace tavro {

bool CTavroApp::OnFileSave() {
  if (!Document.CanSave()) return false;
  const QString path = DocTemplate.PathName();
  // A file that is gone or may not be written is saved as a new one, without a word.
  return DoSave(Document.PrepareSave(path.toStdString()) ? path : QString());
}

bool CTavroApp::OnFileSaveAs() {
  if (!Document.CanSave()) return false;
  Document.ConfirmOverwrite = 0;
  return DoSave(QString());
}

bool CTavroApp::DoSave(const QString& path) {
  QString target = path;
  if (target.isEmpty()) {
    QString chosen = DocTemplate.PathName();
    if (!Platform.Prompts().PromptSaveAs(MainFrame.get(), chosen) || chosen.isEmpty()) {
      return false;
    }
    target = FullPath(chosen);
  }
  if (!Document.OnSaveDocument(target.toStdString())) return false;
  DocTemplate.SetPathName(target);
  Platform.AddToRecentFiles(target.toStdString());
  MainFrame->UpdateCaption();
  return true;
}

}  // namespace tavro
