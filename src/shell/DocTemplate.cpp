#include "shell/DocTemplate.h"

#include <QDir>
#include <QFileInfo>

namespace tavro {

QString FullPath(const QString& path) {
  return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

Confidence SingleDocTemplate::MatchDocType(const QString& absolutePath) const {
  if (!Path.isEmpty() && absolutePath == Path) return Confidence::AlreadyOpen;
  if (absolutePath.endsWith(QStringLiteral(".cnf"), Qt::CaseInsensitive)) {
    return Confidence::NativeType;
  }
  return Confidence::ForeignType;
}

void SingleDocTemplate::SetPathName(const QString& absolutePath) {
  Path = absolutePath;
  DocTitle = QFileInfo(absolutePath).fileName();
}

void SingleDocTemplate::SetPathName(const QString& absolutePath, const QString& title) {
  Path = absolutePath;
  DocTitle = title;
}

void SingleDocTemplate::SetDefaultTitle() {
  Path.clear();
  DocTitle = QStringLiteral("Untitled");
}

QString SingleDocTemplate::FrameCaption() const { return DocTitle + " - " + kAppTitle; }

}  // namespace tavro
