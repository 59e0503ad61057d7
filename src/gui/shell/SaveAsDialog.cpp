#include "gui/shell/SaveAsDialog.h"

#include <QFileDialog>

namespace tavro {

std::vector<FileFilter> SaveAsFilters() {
  return {
      {QStringLiteral("Mivo File(*.cnf)"), QStringLiteral("*.cnf")},
      {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
  };
}

bool SavePromptFileName(QWidget* owner, QString& path) {
  QFileDialog dialog(owner, QStringLiteral("Save As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(kConfigSuffix);
  // Sets written on other systems spell extensions in capitals as often as not.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  // As in the Open dialog, the descriptions read exactly as written.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList filters = QtNameFilters(SaveAsFilters());
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.front());
  if (!path.isEmpty()) dialog.selectFile(path);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().front();
  return true;
}

}  // namespace tavro
