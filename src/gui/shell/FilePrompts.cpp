#include "gui/shell/FilePrompts.h"

#include "gui/shell/OpenFileDialog.h"
#include "gui/shell/SaveAsDialog.h"
#include "gui/shell/SelectCnfDialog.h"

namespace tavro {

bool DialogPrompts::PromptOpen(QWidget* owner, std::string& path) {
  return OpenPromptFileName(owner, path);
}

bool DialogPrompts::PromptSaveAs(QWidget* owner, QString& path) {
  return SavePromptFileName(owner, path);
}

bool DialogPrompts::ChooseConfigFile(QWidget* owner, const QStringList& names, QString& chosen) {
  SelectCnfDialog dialog(names, owner);
  const bool ok = dialog.exec() == QDialog::Accepted;
  chosen = ok ? dialog.ChosenName() : QString();
  return ok;
}

}  // namespace tavro
