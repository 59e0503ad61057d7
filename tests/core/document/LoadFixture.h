// A document with a temporary set directory, loaded the way the open operation loads it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "document/DocumentFile.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {

class LoadFixture : public ::testing::Test {
 protected:
  FakeHost host;
  CTavroDoc doc{host};
  TempDir dir;
  SetFiles files{dir.path()};

  // Writes `text` as set.cnf and reads it: ResetSet, then the open step. The host's messages
  // are those of this load only.
  void Load(const std::string& text) {
    files.WriteText("set.cnf", text);
    host.messages.clear();
    doc.ResetSet();
    std::string error;
    ASSERT_TRUE(OpenDocumentFile(doc, files.Path("set.cnf").string(), error)) << error;
  }

  const ObjectEntry& Object(int64_t number) {
    const uint16_t slot = doc.SlotOf(number);
    EXPECT_NE(slot, 0) << "object " << number << " has no slot";
    return doc.ObjectTable.at(slot);
  }

  std::vector<int> SetsInUse() const {
    std::vector<int> sets;
    for (int s = 0; s < kSetCount; ++s) {
      if (doc.SetInUse[s]) sets.push_back(s);
    }
    return sets;
  }

  // The messages of the last load, in the order shown.
  std::vector<std::string> LoadMessages() const { return host.MessageTexts(); }

  // Some outcomes show only once cels really decode (a loaded cel keeps its SetMask, a cel too
  // large for the playfield is told apart from a missing one). Tests of those skip while the
  // cel decoder is not in the build.
  bool CelDecoderWorks() {
    TempDir probeDir;
    SetFiles probe(probeDir.path());
    probe.SolidCel("probe.cel", 1, 1, 1);
    probe.WriteText("probe.cnf", "#0 probe.cel\n");
    FakeHost quiet;
    CTavroDoc probeDoc(quiet);
    probeDoc.ResetSet();
    std::string error;
    return OpenDocumentFile(probeDoc, probe.Path("probe.cnf").string(), error) &&
           probeDoc.LoadedCelCount == 1;
  }
};

#define SKIP_WITHOUT_CEL_DECODER()                                         \
  do {                                                                     \
    if (!CelDecoderWorks()) GTEST_SKIP() << "needs cels that really load"; \
  } while (0)

}  // namespace tavro::test
