// A Host for the fuzzing harnesses: answers every question the same way and prints nothing, so
// a run of millions of inputs stays silent and fast. The clock stands still unless moved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace tavro::fuzz {

class QuietHost : public Host {
 public:
  uint32_t tick = 0;
  std::string tmpDir;  // "OPTION"/"TMPDIR"
  int messageCount = 0;

  void ShowMessage(const std::string&, const std::string&, MessageIcon) override { ++messageCount; }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  void PlaySound(const std::string&) override {}
  bool IsShiftDown() override { return false; }
  uint32_t TickCount() override { return tick; }
  uint32_t ClockSeconds() override { return 12345; }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override {
    chosen = names.empty() ? std::string() : names.front();
    return true;
  }
  std::string ProfileString(const std::string& section, const std::string& key) override {
    return (section == "OPTION" && key == "TMPDIR") ? tmpDir : std::string();
  }
  void AddToRecentFiles(const std::string&) override {}
  void InvalidateWholeView() override {}
  void RepaintMapRect(const MapRect&) override {}
};

}  // namespace tavro::fuzz
