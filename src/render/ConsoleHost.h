// The outside of tavro-render: a real clock, no sound, no settings, and every message the window
// would show in a box written to stderr as one line, byte for byte. The choice among several
// configuration files in an archive is made from the command line.
#pragma once

#include <string>
#include <vector>

#include "platform/Host.h"

namespace tavro::render {

class ConsoleHost : public NullHost {
 public:
  // `configName`: the configuration file to take from an archive holding several (empty: the
  // first one offered).
  explicit ConsoleHost(std::string configName) : configName_(std::move(configName)) {}

  uint32_t TickCount() override;
  uint32_t ClockSeconds() override;
  void ShowDebugText(const std::string& text) override { Say(text); }

  // One message, as one line on stderr.
  virtual void Say(const std::string& text);
  // Picks one of `names` (in the order offered); false, having said why, when none fits.
  virtual bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen);

 private:
  std::string configName_;
};

}  // namespace tavro::render
