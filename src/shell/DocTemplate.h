// The single document template: which paths it takes, the document's path and title, and the
// frame caption built from them. One template, one document, one frame for the whole run.
#pragma once

#include <QString>

namespace tavro {

// How confidently the template would open a path; higher is better.
enum class Confidence { No, ForeignType, NativeType, AlreadyOpen };

// The absolute, cleaned form of `path` against the current directory. Nothing is cut off,
// however long the path, so a long name never turns into another file's name.
QString FullPath(const QString& path);

class SingleDocTemplate {
 public:
  // Every path is accepted: ".cnf" as the native type, anything else (archives included) as a
  // foreign type the document sorts out by its extension; the open path as already open.
  Confidence MatchDocType(const QString& absolutePath) const;

  void SetPathName(const QString& absolutePath);
  // An archive's set is titled by the archive, as the document names it.
  void SetPathName(const QString& absolutePath, const QString& title);
  void SetDefaultTitle();
  QString PathName() const { return Path; }
  QString Title() const { return DocTitle; }
  // "<title> - TAVRO32"
  QString FrameCaption() const;

 private:
  QString Path;
  QString DocTitle = QStringLiteral("Untitled");
};

inline const QString kAppTitle = QStringLiteral("TAVRO32");

}  // namespace tavro
