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
  FakeHost host_;
  CTavroDoc doc_{host_};
  TempDir dir_;
  SetFiles files_{dir_.Path()};
  SetBuilder build_{doc_};

  // Writes `text` as set.cnf and opens it as File > Open does. The host's messages are those of
  // this load only.
  void Load(const std::string& text) {
    files_.WriteText("set.cnf", text);
    host_.Messages.clear();
    ASSERT_TRUE(OpenAsWindow(doc_, host_, files_.Path("set.cnf").string()).Opened)
        << (host_.Messages.empty() ? "" : host_.Messages.back());
  }

  const ObjectEntry& Object(int64_t number) {
    const uint16_t slot = doc_.Set().SlotOf(number);
    EXPECT_NE(slot, 0) << "object " << number << " has no slot";
    return doc_.Set().ObjectTable().at(slot);
  }

  std::vector<int> SetsInUse() const {
    std::vector<int> sets;
    for (int s = 0; s < kSetCount; ++s) {
      if (doc_.Set().IsSetInUse(s)) sets.push_back(s);
    }
    return sets;
  }

  // The messages of the last load, in the order shown.
  std::vector<std::string> LoadMessages() const { return host_.MessageTexts(); }
};

}  // namespace tavro::test
