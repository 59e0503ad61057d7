#include "gui/shell/OpenFileDialog.h"

#include <QFileDialog>
#include <QUrl>

#include "gui/shell/FilePrompts.h"
#include "gui/shell/LocalPaths.h"
#include "gui/shell/SaveAsDialog.h"
#include "gui/shell/SelectCnfDialog.h"

namespace tavro {

std::vector<FileFilter> OpenFileFilters() {
  return {
      {QStringLiteral("Mivo File(*.cnf;*.lzh;*.lha;*.zip)"),
       QStringLiteral("*.cnf;*.lzh;*.lha;*.zip")},
      {QStringLiteral("Mivo File(*.cnf)"), QStringLiteral("*.cnf")},
      {QStringLiteral("LZH File(*.lzh;*.lha)"), QStringLiteral("*.lzh;*.lha")},
      {QStringLiteral("ZIP File(*.zip)"), QStringLiteral("*.zip")},
      {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
  };
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
  QStringList list;
  for (const FileFilter& filter : filters) {
    QStringList patterns = filter.Patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    list.append(filter.Description + " (" + patterns.join(QLatin1Char(' ')) + ")");
  }
  return list;
}

void SetUpOpenDialog(QFileDialog& dialog) {
  dialog.setWindowTitle(QStringLiteral("Open"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Sets written on other systems spell extensions in capitals as often as not.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  // Qt would show each filter followed by the pattern list it matches with; hidden, the
  // descriptions read exactly as written.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList filters = QtNameFilters(OpenFileFilters());
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.front());
}

bool OpenPromptFileName(QWidget* owner, std::string& path) {
  QFileDialog dialog(owner);
  SetUpOpenDialog(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  // A dialog of the desktop hands over a URL that keeps the bytes of a name that is not UTF-8.
  const QList<QUrl> urls = dialog.selectedUrls();
  path = urls.isEmpty() ? std::string() : PathFromFileUrl(urls.front());
  if (path.empty()) path = PathFromShown(dialog.selectedFiles().front());
  return true;
}

// The real dialogs behind the host's prompts.
bool DialogPrompts::PromptOpen(QWidget* owner, std::string& path) {
  return OpenPromptFileName(owner, path);
}

bool DialogPrompts::PromptSaveAs(QWidget* owner, QString& path) {
  return SavePromptFileName(owner, path);
}

bool DialogPrompts::ChooseConfigFile(QWidget* owner, const QStringList& names, int& chosenRow) {
  SelectCnfDialog dialog(names, owner);
  const bool ok = dialog.exec() == QDialog::Accepted;
  chosenRow = ok ? dialog.ChosenRow() : -1;
  return ok;
}

}  // namespace tavro
