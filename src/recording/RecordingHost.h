// The outside a document plays in while it is recorded: a clock that stands still until the
// recorder moves it, no sound (a recording cannot hold one), settings from the outside it was
// lent from. What changed the recorder learns from the session's results.
//
// The scripts' "debug(" texts go on to the outside's notices, or, where the outside would open
// boxes that stop the recording, nowhere.
#pragma once

#include "platform/Host.h"

namespace tavro {

class RecordingHost : public Host, public ChangeNotices {
 public:
  // Drop: no "debug(" text reaches the outside.
  enum class Messages { PassOn, Drop };
  RecordingHost(Host& outside, ChangeNotices& outsideNotices, Messages messages)
      : Outside_(outside), OutsideNotices_(outsideNotices), MessagesGo_(messages) {}

  // ---- the virtual clock ----
  void SetTick(uint32_t tick) { Tick_ = tick; }
  uint32_t CurrentTick() const { return Tick_; }
  // What ClockSeconds answers: the seed of the scripts' random generator.
  void SetClockSeconds(uint32_t seconds) { Seconds_ = seconds; }
  void PlaySound(const std::string&) override {}
  uint32_t TickCount() override { return Tick_; }
  uint32_t ClockSeconds() override { return Seconds_; }
  std::string ProfileString(const std::string& section, const std::string& key) override {
    return Outside_.ProfileString(section, key);
  }
  void ShowDebugText(const std::string& text) override {
    if (MessagesGo_ == Messages::PassOn) OutsideNotices_.ShowDebugText(text);
  }

 private:
  Host& Outside_;
  ChangeNotices& OutsideNotices_;
  Messages MessagesGo_;
  uint32_t Tick_ = 0;
  uint32_t Seconds_ = 0;
};

}  // namespace tavro
