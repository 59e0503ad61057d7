#include <gtest/gtest.h>

#include "core/scripts/ScriptFixture.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptLimits.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

class DispatchTest : public ScriptFixture {
 protected:
  void SetUp() override {
    build_.Current(0, doc_.Set().CurrentGroup());
    build_.Playfield(448, 320);
  }
};

TEST_F(DispatchTest, ActionsRunInScriptOrderSkippingOtherEvents) {
  Script("press(#1) debug(\"a\") release(#1) debug(\"x\") press(#2) debug(\"y\")");
  Script("press(#1) debug(\"b\") end() debug(\"never\")");
  EXPECT_EQ(doc_.Scripts().RunEvent(kEventPress, 1), 1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(doc_.Scripts().RunEvent(kEventPress, 7), 0);
  EXPECT_EQ(doc_.Scripts().RunEvent(kEventPress, -1), 0);
  // The load's own events do not run what is bound to "end(".
  doc_.Scripts().RunEvent(kEventInitialize, 0);
  doc_.Scripts().RunEvent(kEventSet, 0);
  doc_.Scripts().RunEvent(kEventBegin, 0);
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(doc_.Scripts().DispatchDepth(), 0);
}

TEST_F(DispatchTest, ObjectBindingBeatsTheClickedCel) {
  AddCel(3, "arm.cel");
  AddCel(3, "leg.cel");
  Script("press(#3) debug(\"object\") press(\"arm.cel\") debug(\"cel\")");
  Script("release(\"arm.cel\") debug(\"cel released\")");
  doc_.Pointer().SetLastHitCell(0);
  doc_.Scripts().RunObjectEvent(kEventPress, 3);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"object"}));
  doc_.Scripts().RunObjectEvent(kEventRelease, 3);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"object", "cel released"}));
  doc_.Pointer().SetLastHitCell(1);  // the other cel of the object has no binding
  doc_.Scripts().RunObjectEvent(kEventRelease, 3);
  EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(DispatchTest, CelFallbackOnlyForAShownCel) {
  AddCel(3, "arm.cel", /*setMask=*/0x0001);
  Script("press(\"arm.cel\") unmap(\"arm.cel\") debug(\"pressed\")");
  Script("drop(\"arm.cel\") debug(\"dropped\")");
  doc_.Pointer().SetLastHitCell(0);
  doc_.Scripts().RunObjectEvent(kEventPress, 3);
  doc_.Scripts().RunObjectEvent(kEventDrop, 3);  // the press hid the cel: no binding is found
  EXPECT_EQ(Shown(), (std::vector<std::string>{"pressed"}));

  build_.Show(0, true);
  build_.Current(1, doc_.Set().CurrentGroup());  // the cel is not in this set
  doc_.Scripts().RunObjectEvent(kEventDrop, 3);
  EXPECT_EQ(Shown().size(), 1u);
  build_.Current(
      255,
      doc_.Set().CurrentGroup());  // before any set is applied the cel is not asked about
  build_.Show(0, false);
  doc_.Scripts().RunObjectEvent(kEventDrop, 3);
  EXPECT_EQ(Shown().back(), "dropped");

  for (int bad : {-1, 1, 5000}) {
    doc_.Pointer().SetLastHitCell(bad);
    doc_.Scripts().RunObjectEvent(kEventDrop, 3);
  }
  EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(DispatchTest, MapUnmapAndAltmapChangeTheTargetsCels) {
  AddCel(5, "a.cel");
  AddCel(5, "b.cel");
  AddCel(6, "c.cel");
  build_.Move(5, 20, Object(5).Y);
  build_.Move(5, Object(5).X, 30);
  build_.Show(1, false);
  Script("press(#5) altmap(#5)");
  doc_.Scripts().RunEvent(kEventPress, 5);
  EXPECT_EQ(doc_.Set().CellTable()[0].Unmapped, 1);  // one shown and one hidden swap
  EXPECT_EQ(doc_.Set().CellTable()[1].Unmapped, 0);
  EXPECT_EQ(doc_.Set().CellTable()[2].Unmapped, 0);
  EXPECT_TRUE(doc_.Map().Dirty());
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{20, 30, 30, 40}));

  doc_.FlushAndRepaint();  // clean again
  Script("press(#6) unmap(\"c.cel\") map(\"A.CEL\") unmap(#77) map(\"none.cel\")");
  doc_.Scripts().RunEvent(kEventPress, 6);
  EXPECT_EQ(doc_.Set().CellTable()[0].Unmapped, 0);
  EXPECT_EQ(doc_.Set().CellTable()[2].Unmapped, 1);
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{0, 0, 30, 40}));  // objects 6 and 5; 77 has no box
}

TEST_F(DispatchTest, ActionsOnNothingChangeNothing) {
  AddCel(1, "a.cel");
  doc_.Scripts().AppendAction(kEventPress, 1, kActionMove, MoveArguments{0xFFFF, 5, 5});
  doc_.Scripts().AppendAction(kEventPress, 1, kActionUnmap, TargetArgument{0xFFFF});
  doc_.Scripts().AppendAction(kEventPress, 1, kActionUnmap,
                              TargetArgument{0x8010});  // cell 16 does not exist
  doc_.Scripts().AppendAction(kEventPress, 1, kActionMove,
                              MoveArguments{80, 5, 5});  // object 80: no slot
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_FALSE(doc_.Map().Dirty());
  EXPECT_EQ(doc_.Set().CellTable()[0].Unmapped, 0);
  // An object number no cel carries changes no cel, but the area is still called dirty.
  side_.ChangeCels(80, ScriptTarget::CelChange::Hide);
  EXPECT_TRUE(doc_.Map().Dirty());
  EXPECT_TRUE(doc_.Map().DirtyArea().IsEmpty());
}

TEST_F(DispatchTest, MoveStopsAtBothEdgesAndCoversOldAndNewPlace) {
  AddCel(2, "body.cel", 0xFFFF, 100, 50);
  build_.Move(2, 10, Object(2).Y);
  build_.Move(2, Object(2).X, 10);
  side_.MoveObject(2, -1000, 5);
  EXPECT_EQ(Object(2).X, 0);
  EXPECT_EQ(Object(2).Y, 15);
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{0, 10, 110, 65}));
  // The furthest a script can ask for must stop at the far edge, not wrap to the near one.
  side_.MoveObject(0x8000, 32767, 32767);  // by its cel
  EXPECT_EQ(Object(2).X, 448 - 100);
  EXPECT_EQ(Object(2).Y, 320 - 50);
  side_.MoveObject(2, -32768, -32768);
  EXPECT_EQ(Object(2).X, 0);
  EXPECT_EQ(Object(2).Y, 0);
  EXPECT_TRUE(doc_.Map().Dirty());
}

TEST_F(DispatchTest, DirtyBoxTakesInCelsLeftOfAndAboveThePosition) {
  AddCel(4, "hat.cel");
  build_.Move(4, 50, Object(4).Y);
  build_.Move(4, Object(4).X, 60);
  build_.Extent(4, -8, -4, 10, 10);
  side_.ChangeCels(4, ScriptTarget::CelChange::Show);
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{42, 56, 60, 70}));
}

TEST_F(DispatchTest, TransparencyIsHeldBetween0And255) {
  AddCel(1, "a.cel");
  AddCel(1, "b.cel");
  build_.Transparency(0, 10);
  build_.Transparency(1, 200);
  side_.ShiftTransparency(0x8000, -300);
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 0);
  EXPECT_EQ(doc_.Set().CellTable()[1].Transparency, 200);
  side_.ShiftTransparency(1, 300);
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 255);
  EXPECT_EQ(doc_.Set().CellTable()[1].Transparency, 255);
  build_.Transparency(0, 32000);  // a level from the configuration, out of range
  side_.ShiftTransparency(0x8000, 32767);
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 255);
  EXPECT_TRUE(doc_.Map().Dirty());
}

TEST_F(DispatchTest, SoundsAreFoundIgnoringCaseAndMissingOnesAreSilent) {
  TempDir dir;
  SetFiles files(dir.Path());
  files.WriteText("Ding.WAV", "RIFF");
  build_.Directory(files.Dir());
  Script("press(#1) sound(\"ding.wav\") sound(\"gone.wav\") sound(\"\")");
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_EQ(host_.Sounds, (std::vector<std::string>{files.Path("Ding.WAV").string()}));
}

TEST_F(DispatchTest, ColourGroupsAboveNineAreIgnored) {
  Script("press(#1) changecol(12) changecol(-1)");
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_FALSE(doc_.Map().Dirty());
  EXPECT_EQ(doc_.Set().CurrentGroup(), 0);
  Script("press(#2) changecol(3)");
  doc_.Scripts().RunEvent(kEventPress, 2);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 3);
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{0, 0, 448, 320}));
}

TEST_F(DispatchTest, OneEventSwitchesSetsOnlySoOften) {
  std::string line = "press(#1)";
  for (int i = 0; i < kMaxSetSwitchesPerEvent / 2; ++i) line += " changeset(1) changeset(2)";
  Script(line);
  Script("changeset(7)");
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_EQ(doc_.Set().CurrentSet(), 2);
  doc_.Scripts().RunEvent(kEventPress, 1);  // a new event has its own allowance
  EXPECT_EQ(doc_.Set().CurrentSet(), 2);
  doc_.Scripts().AppendAction(kEventPress, 2, kActionChangeSet, NumberArgument{7});
  doc_.FlushAndRepaint();  // clean again
  doc_.Scripts().RunEvent(kEventPress, 2);
  EXPECT_EQ(doc_.Set().CurrentSet(), 7);
  EXPECT_EQ(doc_.Map().DirtyArea(),
            (MapRect{0, 0, 448, 320}));  // a script's set change repaints it all
}

}  // namespace
}  // namespace tavro::test
