// Scripts as a configuration file carries them, read by the real load.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/document/LoadFixture.h"
#include "scripts/ScriptCodes.h"

namespace tavro::test {
namespace {

class LoadedScriptTest : public LoadFixture {
 protected:
  void SetUp() override {
    files.OldPalette("p.kcf");
    files.SolidCel("body.cel", 4, 4, 1);
    files.SolidCel("hat.cel", 2, 2, 2);
  }
  // What the scripts showed, without the loader's own messages.
  std::vector<std::string> ScriptTexts() const {
    std::vector<std::string> texts = host.MessageTexts();
    std::erase(texts, "not enough memory");  // while the map cannot be made yet
    return texts;
  }
};

TEST_F(LoadedScriptTest, LoadTimeEventsRunAndCelNamesNeedTheirCelLineFirst) {
  Load(
      "%p.kcf\n"
      ";@initialize() map(\"hat.cel\")\n"
      "#0 body.cel\n"
      "#1 hat.cel\n"
      "$0 10,10 20,20\n"
      ";@begin() debug(\"begin\") unmap(\"HAT.CEL\")\n"
      ";@press(#1) move(#1, 5, 0)\n");
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"begin"}));
  EXPECT_EQ(doc.CellTable[1].Unmapped, 1);
  EXPECT_EQ(doc.CurrentSet, 0);
  const int16_t x = doc.ObjectTable[doc.SlotOf(1)].X;
  doc.RunObjectEvent(kEventPress, 1);
  EXPECT_EQ(doc.ObjectTable[doc.SlotOf(1)].X, x + 5);
  // The name before its cel line matched nothing.
  EXPECT_EQ(doc.ActionStore[5], 0xFF);
  EXPECT_EQ(doc.ActionStore[6], 0xFF);
}

TEST_F(LoadedScriptTest, EachFileStartsAtInitializeWithAnEmptyStore) {
  Load("#0 body.cel\n;@press(#0) debug(\"first file\")\n");
  Load("#0 body.cel\n;@debug(\"second file\")\n");
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"second file"}));
  doc.RunEvent(kEventPress, 0);
  EXPECT_EQ(ScriptTexts().size(), 1u);
}

}  // namespace
}  // namespace tavro::test
