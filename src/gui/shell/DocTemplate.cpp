#include "gui/shell/DocTemplate.h"

#include "platform/NameBytes.h"

namespace tavro {

Confidence SingleDocTemplate::MatchDocType(const std::string& absolutePath) const {
  if (!Path.empty() && absolutePath == Path) return Confidence::AlreadyOpen;
  if (absolutePath.size() >= 4 &&
      EqualsIgnoringCase(absolutePath.substr(absolutePath.size() - 4), ".cnf")) {
    return Confidence::NativeType;
  }
  return Confidence::ForeignType;
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath) {
  Path = absolutePath;
  DocTitle = ShownPath(absolutePath.substr(absolutePath.find_last_of('/') + 1));
}

void SingleDocTemplate::SetPathName(const std::string& absolutePath, const QString& title) {
  Path = absolutePath;
  DocTitle = title;
}

void SingleDocTemplate::SetDefaultTitle() {
  Path.clear();
  DocTitle = QStringLiteral("Untitled");
}

QString SingleDocTemplate::FrameCaption() const { return DocTitle + " - " + kAppTitle; }

}  // namespace tavro
