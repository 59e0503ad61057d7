#include "gui/shell/AppSettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <charconv>

#include "gui/shell/CommandIds.h"

namespace tavro {

namespace {

constexpr char kOptionSection[] = "OPTION";
constexpr char kRecentSection[] = "Recent File List";

std::string RecentKey(int index) { return "File" + std::to_string(index + 1); }

std::string SettingsPath() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return (base + QStringLiteral("/tavro/tavro.ini")).toStdString();
}

// Qt's file dialog keeps a history in a settings file of its own. Pointed below a file, where
// no folder can be made, it stays unwritten and this program's file is the only one.
void KeepToolkitSettingsOut() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

}  // namespace

AppSettings::AppSettings() : File_(SettingsPath()) {
  KeepToolkitSettingsOut();
  File_.Load();
  LoadRecentFiles();
}

int AppSettings::ReadToolbar() const {
  const std::string text = File_.Value(kOptionSection, "TOOLBAR").value_or("");
  int value = 1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 1;
}

void AppSettings::WriteToolbar(int visible) {
  File_.SetValue(kOptionSection, "TOOLBAR", std::to_string(visible));
  File_.Save();
}

std::string AppSettings::TmpDir() const {
  return File_.Value(kOptionSection, "TMPDIR").value_or("");
}

void AppSettings::AddRecentFile(const std::string& path) {
  if (path.empty()) return;
  Recent_.erase(std::remove(Recent_.begin(), Recent_.end(), path), Recent_.end());
  Recent_.insert(Recent_.begin(), path);
  const auto limit = static_cast<size_t>(cmd::kRecentFileCount);
  if (Recent_.size() > limit) Recent_.resize(limit);
  SaveRecentFiles();
}

void AppSettings::LoadRecentFiles() {
  for (int i = 0; i < cmd::kRecentFileCount; ++i) {
    const std::string path =
        DecodeStoredPath(File_.Value(kRecentSection, RecentKey(i)).value_or(""));
    if (!path.empty() && std::find(Recent_.begin(), Recent_.end(), path) == Recent_.end()) {
      Recent_.push_back(path);
    }
  }
}

void AppSettings::SaveRecentFiles() {
  for (int i = 0; i < cmd::kRecentFileCount; ++i) {
    if (static_cast<size_t>(i) < Recent_.size()) {
      File_.SetValue(kRecentSection, RecentKey(i),
                     EncodeStoredPath(Recent_[static_cast<size_t>(i)]));
    } else {
      File_.Remove(kRecentSection, RecentKey(i));
    }
  }
  File_.Save();
}

}  // namespace tavro
