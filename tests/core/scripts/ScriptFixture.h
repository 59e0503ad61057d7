// A document with hand-filled cel and object tables, for compiling and running scripts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "document/DocumentScriptTarget.h"
#include "scripts/ActionRecord.h"
#include "scripts/ScriptEngine.h"
#include "set/EventCodes.h"
#include "support/FakeHost.h"
#include "support/SetBuilder.h"

namespace tavro::test {

class ScriptFixture : public ::testing::Test {
 protected:
  FakeHost host_;
  CTavroDoc doc_{host_};
  // The document as the engine acts on it, for calling one action directly.
  DocumentScriptTarget side_{doc_, doc_.EditSet(), doc_.EditMap()};

  // Where a reader of the set's text stands, as the loader tells the parser.
  const char* readerAt_ = nullptr;
  ScriptLineOrigin Origin() const { return {doc_.Set().ConfigText().data(), readerAt_}; }

  // Arms a slot from now, as "timer(" does outside an alarm.
  void Arm(int slot, uint32_t delay) { doc_.Scripts().ArmAlarm(slot, delay, 0, kEventPress); }

  SetBuilder build_{doc_};

  ScriptFixture() { build_.Tables(); }

  // Adds a cel of object `number` named `name`; the object's box is width x height at (x, y).
  // Returns the cell index.
  int AddCel(int number, const char* name, uint16_t setMask = 0xFFFF, int width = 10,
             int height = 10) {
    return build_.AddNamedCel(number, name, setMask, width, height);
  }

  // The object's record; it is given a slot if it has none.
  const ObjectEntry& Object(int number) { return doc_.Set().ObjectTable()[build_.Slot(number)]; }

  // Compiles one ";@" line; `text` is what follows the at sign.
  void Script(const std::string& text) {
    const std::string line = text + "\n";
    const char* cursor = line.c_str();
    doc_.Scripts().ParseScriptLine(cursor, Origin());
  }

  // The compiled records, each as the bytes the store counts it in: length, event, event
  // argument, action, then the arguments, 16-bit numbers little-endian, texts zero-ended.
  std::vector<std::vector<uint8_t>> Records() const {
    std::vector<std::vector<uint8_t>> records;
    for (const ActionRecord& record : doc_.Scripts().Actions()) records.push_back(Encoded(record));
    return records;
  }

  static std::vector<uint8_t> Encoded(const ActionRecord& record) {
    std::vector<uint8_t> out{static_cast<uint8_t>(RecordLength(record)), record.Event};
    const auto u16 = [&out](int value) {
      out.push_back(static_cast<uint8_t>(value & 0xFF));
      out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    };
    u16(record.EventArgument);
    out.push_back(record.Action);
    const ActionArguments& a = record.Arguments;
    if (const auto* text = std::get_if<TextArgument>(&a)) {
      out.insert(out.end(), text->Text.begin(), text->Text.end());
      out.push_back(0);
    } else if (const auto* target = std::get_if<TargetArgument>(&a)) {
      u16(target->Target);
    } else if (const auto* number = std::get_if<NumberArgument>(&a)) {
      out.push_back(number->Number);
    } else if (const auto* timer = std::get_if<TimerArguments>(&a)) {
      out.push_back(timer->Slot);
      u16(timer->Delay);
    } else if (const auto* random = std::get_if<RandomTimerArguments>(&a)) {
      out.push_back(random->Slot);
      u16(random->Delay);
      u16(random->Range);
    } else if (const auto* move = std::get_if<MoveArguments>(&a)) {
      u16(move->Target);
      u16(move->Dx);
      u16(move->Dy);
    } else if (const auto* shift = std::get_if<TransparencyArguments>(&a)) {
      u16(shift->Target);
      u16(shift->Amount);
    }
    EXPECT_EQ(out.size(), static_cast<size_t>(RecordLength(record))) << "the bytes it counts";
    return out;
  }

  // The debug texts shown so far, which tests use to see which actions ran and in what order.
  std::vector<std::string> Shown() const { return host_.MessageTexts(); }
};

using Bytes = std::vector<uint8_t>;

}  // namespace tavro::test
