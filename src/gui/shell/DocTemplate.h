// The single document template: which paths it takes, the document's path and title, and the
// frame caption built from them. One template, one document, one frame for the whole run.
#pragma once

#include <QString>
#include <string>

#include "gui/shell/LocalPaths.h"

namespace tavro {

// How confidently the template would open a path; higher is better.
enum class Confidence { No, ForeignType, NativeType, AlreadyOpen };

class SingleDocTemplate {
 public:
  // Every path is accepted: ".cnf" as the native type, anything else (archives included) as a
  // foreign type the document sorts out by its extension; the open path as already open.
  // Paths are bytes, compared exactly.
  Confidence MatchDocType(const std::string& absolutePath) const;

  void SetPathName(const std::string& absolutePath);
  // An archive's set is titled by the archive, as the document names it.
  void SetPathName(const std::string& absolutePath, const QString& title);
  void SetDefaultTitle();
  const std::string& PathName() const { return Path; }
  QString Title() const { return DocTitle; }
  // "<title> - TAVRO32"
  QString FrameCaption() const;

 private:
  std::string Path;
  QString DocTitle = QStringLiteral("Untitled");
};

inline const QString kAppTitle = QStringLiteral("TAVRO32");

}  // namespace tavro
