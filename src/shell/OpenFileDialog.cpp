#include "shell/OpenFileDialog.h"

#include <QFileDialog>

namespace tavro {

std::vector<FileFilter> OpenFileFilters() {
  return {
      {QStringLiteral("Mivo File(*.cnf;*.lzh)"), QStringLiteral("*.cnf;*.lzh")},
      {QStringLiteral("Mivo File(*.cnf)"), QStringLiteral("*.cnf")},
      {QStringLiteral("LZH File(*.lzh)"), QStringLiteral("*.lzh")},
      {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
  };
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
  QStringList list;
  for (const FileFilter& filter : filters) {
    QStringList patterns = filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    list.append(filter.description + " (" + patterns.join(QLatin1Char(' ')) + ")");
  }
  return list;
}

bool OpenPromptFileName(QWidget* owner, QString& path) {
  QFileDialog dialog(owner, QStringLiteral("Open"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Sets written on other systems spell extensions in capitals as often as not.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  const QStringList filters = QtNameFilters(OpenFileFilters());
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.front());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().front();
  return true;
}

}  // namespace tavro
