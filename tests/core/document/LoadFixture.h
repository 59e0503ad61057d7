// A document with a temporary set directory, loaded the way the open operation loads it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetBuilder.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {

class LoadFixture : public ::testing::Test {
 protected:
  FakeHost host;
  CTavroDoc doc{host};
  TempDir dir;
  SetFiles files{dir.path()};
  SetBuilder build{doc};

  // Writes `text` as set.cnf and opens it as File > Open does. The host's messages are those of
  // this load only.
  void Load(const std::string& text) {
    files.WriteText("set.cnf", text);
    host.messages.clear();
    ASSERT_TRUE(OpenAsWindow(doc, host, files.Path("set.cnf").string()).Opened)
        << (host.messages.empty() ? "" : host.messages.back());
  }

  const ObjectEntry& Object(int64_t number) {
    const uint16_t slot = doc.Set().SlotOf(number);
    EXPECT_NE(slot, 0) << "object " << number << " has no slot";
    return doc.Set().ObjectTable().at(slot);
  }

  std::vector<int> SetsInUse() const {
    std::vector<int> sets;
    for (int s = 0; s < kSetCount; ++s) {
      if (doc.Set().IsSetInUse(s)) sets.push_back(s);
    }
    return sets;
  }

  // The messages of the last load, in the order shown.
  std::vector<std::string> LoadMessages() const { return host.MessageTexts(); }
};

}  // namespace tavro::test
