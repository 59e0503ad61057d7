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
  FakeHost host;
  CTavroDoc doc{host};
  // The document as the engine acts on it, for calling one action directly.
  DocumentScriptTarget side{doc, doc.EditSet(), doc.EditMap()};

  // Where a reader of the set's text stands, as the loader tells the parser.
  const char* readerAt = nullptr;
  ScriptLineOrigin Origin() const { return {doc.Set().ConfigText().data(), readerAt}; }

  // Arms a slot from now, as "timer(" does outside an alarm.
  void Arm(int slot, uint32_t delay) { doc.Scripts().ArmAlarm(slot, delay, 0, kEventPress); }

  SetBuilder build{doc};

  ScriptFixture() { build.Tables(); }

  // Adds a cel of object `number` named `name`; the object's box is width x height at (x, y).
  // Returns the cell index.
  int AddCel(int number, const char* name, uint16_t setMask = 0xFFFF, int width = 10,
             int height = 10) {
    return build.AddNamedCel(number, name, setMask, width, height);
  }

  // The object's record; it is given a slot if it has none.
  const ObjectEntry& Object(int number) { return doc.Set().ObjectTable()[build.Slot(number)]; }

  // Compiles one ";@" line; `text` is what follows the at sign.
  void Script(const std::string& text) {
    const std::string line = text + "\n";
    const char* cursor = line.c_str();
    doc.Scripts().ParseScriptLine(cursor, Origin());
  }

  // The compiled records, each as its bytes.
  std::vector<std::vector<uint8_t>> Records() const {
    std::vector<std::vector<uint8_t>> records;
    size_t offset = 0;
    ActionRecord record;
    while (ReadActionRecord(doc.Scripts().Actions(), offset, record)) {
      records.emplace_back(record.Bytes, record.Bytes + record.Length);
      offset += record.Length;
    }
    return records;
  }

  // The debug texts shown so far, which tests use to see which actions ran and in what order.
  std::vector<std::string> Shown() const { return host.MessageTexts(); }
};

using Bytes = std::vector<uint8_t>;

}  // namespace tavro::test
