// File > Open: the file-open dialog with its filter list. Archives are always offered, since
// the archive readers are part of the program; the first filter takes ZIP archives too, so that
// every file the program opens shows when the dialog opens.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace tavro {

struct FileFilter {
  QString Description;  // as the user reads it, for example "Mivo File(*.cnf)"
  QString Patterns;     // separated by ';', for example "*.cnf;*.lzh"
};

// The filters in order; the first is in effect when the dialog opens.
std::vector<FileFilter> OpenFileFilters();

// The same filters as the Qt file dialog reads them: the description, then the patterns in
// parentheses separated by blanks.
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

// Titles the dialog "Open" and gives it the filters, the first one in effect.
void SetUpOpenDialog(QFileDialog& dialog);

// Runs the file-open dialog titled "Open" (an existing file must be chosen). True with the full
// path's bytes in `path` when the user confirmed a file; false on Cancel.
bool OpenPromptFileName(QWidget* owner, std::string& path);

}  // namespace tavro
