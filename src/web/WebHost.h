// The browser's side of the core: its clock, its sound and what the scripts say. Sounds and
// "debug(" texts cannot stop the core while the page shows them, so they wait here until the
// page asks for them after the call that caused them.
#pragma once

#include <string>
#include <vector>

#include "platform/Host.h"

namespace tavro {

class WebHost : public Host, public ChangeNotices {
 public:
  // The sound file's bytes, read from the in-memory file system; empty when none is waiting.
  std::vector<std::string> TakeSounds();
  std::vector<std::string> TakeDebugTexts();

  void PlaySound(const std::string& path) override;
  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;
  std::string ProfileString(const std::string& section, const std::string& key) override;
  void ShowDebugText(const std::string& text) override { DebugTexts_.push_back(text); }

 private:
  std::vector<std::string> Sounds_;
  std::vector<std::string> DebugTexts_;
};

}  // namespace tavro
