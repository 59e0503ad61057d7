// The single document template: which paths it takes, the document's path and title, and the
// frame caption built from them. One template, one document, one frame for the whole run.
#pragma once

#include <QString>
#include <string>

#include "gui/shell/LocalPaths.h"

namespace tavro {

// Every path is the template's: the document sorts out configuration files and archives by their
// extension, and a path already open is read again from the file. Paths are bytes.
class SingleDocTemplate {
 public:
  void SetPathName(const std::string& absolutePath);
  // An archive's set is titled by the archive, as the document names it.
  void SetPathName(const std::string& absolutePath, const QString& title);
  void SetDefaultTitle();
  const std::string& PathName() const { return Path_; }
  QString Title() const { return DocTitle_; }
  // "<title> - TAVRO32"
  QString FrameCaption() const;

 private:
  std::string Path_;
  QString DocTitle_ = QStringLiteral("Untitled");
};

inline const QString kAppTitle = QStringLiteral("TAVRO32");

}  // namespace tavro
