#include "gui/shell/HelpFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tavro {

QString UserGuidePath(const QString& executablePath) {
  return QDir::cleanPath(QFileInfo(executablePath).absolutePath() +
                         QStringLiteral("/../share/doc/tavro/guide.html"));
}

bool OpenUserGuide(QString& message) {
  const QString guide = UserGuidePath(QCoreApplication::applicationFilePath());
  if (!QFileInfo(guide).isFile()) {
    message = QStringLiteral("The help file %1 was not found.").arg(guide);
    return false;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
    message = QStringLiteral("No program was found to show the help file %1.").arg(guide);
    return false;
  }
  return true;
}

}  // namespace tavro
