// A ScriptTarget that records what the engine asks of it, one line a call, for testing the
// engine without a document.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scripts/ScriptTarget.h"

namespace tavro::test {

class FakeScriptTarget : public ScriptTarget {
 public:
  std::vector<std::string> Calls;      // e.g. "hide 32769", "move 5 -3 4", "debug hi"
  std::vector<std::string> CellNames;  // FindCellByName compares exactly
  std::vector<int32_t> Objects;        // the object numbers HasObject knows
  std::function<void()> WhileBoxOpen;  // runs inside every "debug(" box
  int32_t ShownCell = -1;
  bool Loaded = true;
  bool Dirty = false;
  uint32_t Tick = 0;
  uint32_t Seconds = 0;

  void ChangeCels(uint16_t target, CelChange change) override {
    const char* verb = change == CelChange::Show   ? "show "
                       : change == CelChange::Hide ? "hide "
                                                   : "toggle ";
    Calls.push_back(verb + std::to_string(target));
  }
  void ShiftTransparency(uint16_t target, int16_t amount) override {
    Calls.push_back("transparent " + std::to_string(target) + " " + std::to_string(amount));
  }
  void MoveObject(uint16_t target, int16_t dx, int16_t dy) override {
    Calls.push_back("move " + std::to_string(target) + " " + std::to_string(dx) + " " +
                    std::to_string(dy));
  }
  void SwitchSet(int32_t set) override { Calls.push_back("set " + std::to_string(set)); }
  void SwitchGroup(int32_t group) override { Calls.push_back("group " + std::to_string(group)); }
  void PlaySound(const std::string& name) override { Calls.push_back("sound " + name); }
  void ShowDebugText(const std::string& text) override {
    Calls.push_back("debug " + text);
    if (WhileBoxOpen) WhileBoxOpen();
  }
  int32_t FindCellByName(const char* name) const override {
    for (size_t i = 0; i < CellNames.size(); ++i) {
      if (CellNames[i] == name) return static_cast<int32_t>(i);
    }
    return -1;
  }
  bool HasObject(int32_t number) const override {
    for (int32_t object : Objects) {
      if (object == number) return true;
    }
    return false;
  }
  int32_t ShownCellUnderPointer() const override { return ShownCell; }
  bool IsSetLoaded() const override { return Loaded; }
  bool IsDirty() const override { return Dirty; }
  void FlushDirtyArea() override {
    Calls.push_back("flush");
    Dirty = false;
  }
  uint32_t TickCount() override { return Tick; }
  uint32_t ClockSeconds() override { return Seconds; }
};

}  // namespace tavro::test
