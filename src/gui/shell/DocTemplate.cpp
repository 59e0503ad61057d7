#include "gui/shell/DocTemplate.h"

#include "platform/NameBytes.h"

namespace tavro {

void SingleDocTemplate::SetPathName(const std::string& absolutePath) {
  Path = absolutePath;
  DocTitle = ShownPath(SplitPath(absolutePath).name);
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
