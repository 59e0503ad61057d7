// The Host of tavro-render: message boxes become lines on stderr, byte for byte, and everything
// that would need a person or a window quietly does nothing.
#pragma once

#include <string>
#include <vector>

#include "platform/Host.h"

namespace tavro::render {

class ConsoleHost : public Host {
 public:
  // `configName`: the configuration file to take from an archive holding several (empty: the
  // first one offered).
  explicit ConsoleHost(std::string configName) : configName_(std::move(configName)) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  // Nobody is there to answer: every question is answered No, which never overwrites anything.
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void PlaySound(const std::string&) override {}
  bool IsShiftDown() override { return false; }
  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override;
  std::string ProfileString(const std::string&, const std::string&) override { return {}; }
  void AddToRecentFiles(const std::string&) override {}
  void InvalidateWholeView() override {}
  void RepaintMapRect(const MapRect&) override {}

 private:
  std::string configName_;
};

}  // namespace tavro::render
