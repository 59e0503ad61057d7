// Scripts as a configuration file carries them, read by the real load.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/document/LoadFixture.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptLimits.h"

namespace tavro::test {
namespace {

class LoadedScriptTest : public LoadFixture {
 protected:
  void SetUp() override {
    files_.OldPalette("p.kcf");
    files_.SolidCel("body.cel", 4, 4, 1);
    files_.SolidCel("hat.cel", 2, 2, 2);
  }
  // What the scripts showed, without the loader's own messages.
  std::vector<std::string> ScriptTexts() const {
    std::vector<std::string> texts = host_.MessageTexts();
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
  EXPECT_EQ(doc_.Set().CellTable()[1].Unmapped, 1);
  EXPECT_EQ(doc_.Set().CurrentSet(), 0);
  const int16_t x = doc_.Set().ObjectTable()[doc_.Set().SlotOf(1)].X;
  doc_.Scripts().RunObjectEvent(kEventPress, 1);
  EXPECT_EQ(doc_.Set().ObjectTable()[doc_.Set().SlotOf(1)].X, x + 5);
  // The name before its cel line matched nothing.
  const auto* target = std::get_if<TargetArgument>(&doc_.Scripts().Actions()[0].Arguments);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Target, 0xFFFF);
}

TEST_F(LoadedScriptTest, EachFileStartsAtInitializeWithAnEmptyStore) {
  Load("#0 body.cel\n;@press(#0) debug(\"first file\")\n");
  Load("#0 body.cel\n;@debug(\"second file\")\n");
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"second file"}));
  doc_.Scripts().RunEvent(kEventPress, 0);
  EXPECT_EQ(ScriptTexts().size(), 1u);
}

TEST_F(LoadedScriptTest, TheLoadAppliesSetZeroAfterAChangesetInInitialize) {
  Load(
      "%p.kcf\n"
      "#0 body.cel :0 1\n"
      "$0 10,10\n"
      "$1 30,30\n"
      ";@initialize() debug(\"init\") changeset(1)\n"
      ";@set(0) debug(\"set0\") set(1) debug(\"set1\") begin() debug(\"begin\")\n");
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"init", "set1", "set0", "begin"}));
  EXPECT_EQ(doc_.Set().CurrentSet(), 0);
  EXPECT_EQ(Object(0).X, 10);
}

TEST_F(LoadedScriptTest, SetEventsThatSwitchSetsAgainStopAtABound) {
  Load("%p.kcf\n#0 body.cel\n$0 1,1\n;@set(0) debug(\"s\") changeset(0)\n");
  EXPECT_EQ(ScriptTexts().size(), static_cast<size_t>(kMaxSetSwitchDepth));
  EXPECT_EQ(doc_.Scripts().DispatchDepth(), 0);
  EXPECT_TRUE(doc_.IsSetLoaded());
  // Two switches in each run would double the work at every level; one event's switches are
  // counted instead.
  Load("%p.kcf\n#0 body.cel\n$0 1,1\n;@set(0) debug(\"s\") changeset(0) changeset(0)\n");
  EXPECT_EQ(ScriptTexts().size(), static_cast<size_t>(kMaxSetSwitchesPerEvent + 1));
}

TEST_F(LoadedScriptTest, ATimerPassRecomposesWhatAnAlarmMoved) {
  host_.Tick = 0;
  Load(
      "%p.kcf\n#0 body.cel\n$0 10,10\n"
      ";@begin() timer(0, 100) alarm(0) move(#0, 5, 0)\n");
  ASSERT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(doc_.NextTimerPassDelay(0), 100);
  host_.Tick = 100;
  EXPECT_EQ(doc_.RunTimerPass(100), CTavroDoc::kNoTimerPass);
  EXPECT_EQ(host_.Repaints, (std::vector<MapRect>{{10, 10, 19, 14}}));
  EXPECT_FALSE(doc_.Map().Dirty());
  EXPECT_EQ(Object(0).X, 15);
}

TEST_F(LoadedScriptTest, PickingRunsTheObjectsBindingOrElseTheClickedCels) {
  const std::string set = "%p.kcf\n#0 hat.cel\n#0 body.cel\n$0 10,10\n";
  const std::string celScript =
      ";@press(\"hat.cel\") debug(\"hat pressed\") unmap(\"hat.cel\")\n"
      ";@release(\"hat.cel\") debug(\"hat released\")\n"
      ";@release(\"body.cel\") debug(\"body released\")\n";
  Load(set + celScript);
  doc_.Pointer().MoveTo(10, 10);  // on the hat, which lies over the body
  doc_.PressAtPointer();
  ASSERT_NE(doc_.Pointer().HeldSlot(), 0);
  doc_.DropHeldObject();  // the press hid the hat: its release binding is not found
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"hat pressed"}));

  Load(set + ";@press(#0) debug(\"object pressed\")\n" + celScript);
  doc_.Pointer().MoveTo(10, 10);
  doc_.PressAtPointer();
  EXPECT_EQ(ScriptTexts(), (std::vector<std::string>{"object pressed"}));
  EXPECT_EQ(doc_.Set().CellTable()[0].Unmapped, 0);
}

}  // namespace
}  // namespace tavro::test
