// The program's settings file: an INI file at the per-user location, with the section "OPTION"
// (keys "TOOLBAR" and "TMPDIR") and the four-entry recent-file list. Nothing else is stored.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace tavro {

class AppSettings {
 public:
  AppSettings();

  // "OPTION"/"TOOLBAR", 1 when missing or not a number.
  int ReadToolbar() const;
  void WriteToolbar(int visible);
  // "OPTION"/"TMPDIR"; empty when missing. Never written by the program.
  QString TmpDir() const;

  // Most recent first, at most four entries.
  QStringList RecentFiles() const { return Recent; }
  // Moves `path` to the front (an entry already there moves rather than repeats) and stores the
  // list at once, so it is not lost if the program ends abnormally.
  void AddRecentFile(const QString& path);

  QString FileName() const { return Store.fileName(); }

 private:
  void LoadRecentFiles();
  void SaveRecentFiles();

  mutable QSettings Store;
  QStringList Recent;
};

}  // namespace tavro
