// The browser's side of the core: its clock, its sound and what the scripts say. Sounds wait
// here until the page asks for them after the call that caused them. A "debug(" text goes to the
// page's own handler where it has one (the worker, which can hold the script while the box is
// open); without one it waits here like the sounds, and the script goes on.
//
// The page may set, on the module: tavroNow() for the clock (tests stand it still), and
// tavroDebugText(bytes), called while the script waits.
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
  void ShowDebugText(const std::string& text) override;

 private:
  std::vector<std::string> Sounds_;
  std::vector<std::string> DebugTexts_;
};

}  // namespace tavro
