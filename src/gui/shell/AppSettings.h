// The program's settings file, the only one it writes: an INI file at the per-user location
// ($XDG_CONFIG_HOME/tavro/tavro.ini), with the section "OPTION" (keys "TOOLBAR" and "TMPDIR")
// and the four-entry "Recent File List". Nothing else is stored.
#pragma once

#include <string>
#include <vector>

#include "gui/shell/AppSettingsIni.h"

namespace tavro {

class AppSettings {
 public:
  AppSettings();

  // "OPTION"/"TOOLBAR", 1 when missing or not a number.
  int ReadToolbar() const;
  void WriteToolbar(int visible);
  // "OPTION"/"TMPDIR" as written; empty when missing. Never written by the program.
  std::string TmpDir() const;

  // Paths as bytes, most recent first, at most four entries.
  const std::vector<std::string>& RecentFiles() const { return Recent_; }
  // Moves `path` to the front (an entry already there moves rather than repeats) and stores the
  // list at once, so it is not lost if the program ends abnormally.
  void AddRecentFile(const std::string& path);

  std::string FileName() const { return File_.Path(); }

 private:
  void LoadRecentFiles();
  void SaveRecentFiles();

  IniFile File_;
  std::vector<std::string> Recent_;
};

}  // namespace tavro
