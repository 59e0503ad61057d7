// File > Save As: the save dialog for configuration files.
#pragma once

#include <QString>
#include <vector>

#include "gui/shell/OpenFileDialog.h"

class QWidget;

namespace tavro {

// The configuration files first (in effect when the dialog opens), then all files.
std::vector<FileFilter> SaveAsFilters();

// Added to a name typed without an extension.
inline const QString kConfigSuffix = QStringLiteral("cnf");

// Runs the save dialog titled "Save As", starting at `path` (a suggested name, possibly empty).
// The dialog itself asks before an existing file is chosen. True with the full path in `path`
// when the user confirmed a name; false on Cancel.
bool SavePromptFileName(QWidget* owner, QString& path);

}  // namespace tavro
