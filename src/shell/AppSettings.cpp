#include "shell/AppSettings.h"

#include "shell/CommandIds.h"

namespace tavro {

namespace {

const QString kToolbarKey = QStringLiteral("OPTION/TOOLBAR");
const QString kTmpDirKey = QStringLiteral("OPTION/TMPDIR");
const QString kRecentSection = QStringLiteral("Recent File List");

QString RecentKey(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

AppSettings::AppSettings()
    : Store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tavro"),
            QStringLiteral("tavro")) {
  LoadRecentFiles();
}

int AppSettings::ReadToolbar() const {
  bool ok = false;
  const int value = Store.value(kToolbarKey, 1).toInt(&ok);
  return ok ? value : 1;
}

void AppSettings::WriteToolbar(int visible) {
  Store.setValue(kToolbarKey, visible);
  Store.sync();
}

QString AppSettings::TmpDir() const { return Store.value(kTmpDirKey).toString(); }

void AppSettings::AddRecentFile(const QString& path) {
  if (path.isEmpty()) return;
  Recent.removeAll(path);
  Recent.prepend(path);
  while (Recent.size() > cmd::kRecentFileCount) Recent.removeLast();
  SaveRecentFiles();
}

void AppSettings::LoadRecentFiles() {
  Store.beginGroup(kRecentSection);
  for (int i = 0; i < cmd::kRecentFileCount; ++i) {
    const QString path = Store.value(RecentKey(i)).toString();
    if (!path.isEmpty() && !Recent.contains(path)) Recent.append(path);
  }
  Store.endGroup();
}

void AppSettings::SaveRecentFiles() {
  Store.beginGroup(kRecentSection);
  for (int i = 0; i < cmd::kRecentFileCount; ++i) {
    if (i < Recent.size()) {
      Store.setValue(RecentKey(i), Recent[i]);
    } else {
      Store.remove(RecentKey(i));
    }
  }
  Store.endGroup();
  Store.sync();
}

}  // namespace tavro
