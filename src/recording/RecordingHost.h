// The host a document plays under while it is recorded: a clock that stands still until the
// recorder moves it, and a view that only notes what it was asked to repaint.
//
// Everything else goes to the host outside (the console's or the window's), except sounds, which
// a recording cannot hold, and, where the outside would open boxes that stop the recording, the
// scripts' messages.
#pragma once

#include "platform/Host.h"

namespace tavro {

class RecordingHost : public Host {
 public:
  // Drop: no message box and no question reaches the outside.
  enum class Messages { PassOn, Drop };
  RecordingHost(Host& outside, Messages messages) : Outside(outside), MessagesGo(messages) {}

  // ---- the virtual clock ----
  void SetTick(uint32_t tick) { Tick = tick; }
  uint32_t CurrentTick() const { return Tick; }
  // What ClockSeconds answers: the seed of the scripts' random generator.
  void SetClockSeconds(uint32_t seconds) { Seconds = seconds; }
  // ---- what the view would have repainted since the last call ----
  MapRect TakeRepaints();
  bool TakeWholeView();

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  // Without boxes, a question is answered No, which changes nothing.
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    return MessagesGo == Messages::PassOn && Outside.AskYesNo(text, caption);
  }
  void PlaySound(const std::string&) override {}
  bool IsShiftDown() override { return false; }
  uint32_t TickCount() override { return Tick; }
  uint32_t ClockSeconds() override { return Seconds; }
  void BeginWaitCursor() override { Outside.BeginWaitCursor(); }
  void EndWaitCursor() override { Outside.EndWaitCursor(); }
  bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) override {
    return Outside.ChooseConfigFile(names, chosen);
  }
  std::string ProfileString(const std::string& section, const std::string& key) override {
    return Outside.ProfileString(section, key);
  }
  void AddToRecentFiles(const std::string& path) override { Outside.AddToRecentFiles(path); }
  void InvalidateWholeView() override { WholeView = true; }
  void RepaintMapRect(const MapRect& rect) override { Repaints = UnionRect(Repaints, rect); }

 private:
  Host& Outside;
  Messages MessagesGo;
  uint32_t Tick = 0;
  uint32_t Seconds = 0;
  MapRect Repaints;
  bool WholeView = false;
};

}  // namespace tavro
