#include <gtest/gtest.h>

#include "core/document/HandBuiltSet.h"

namespace tavro {
namespace {

class DraggingTest : public ::testing::Test, protected test::HandBuiltSet {
 protected:
  void SetUp() override {
    AddSquare(3, 10);
    Place(3, 100, 100);
  }

  // Press at (x, y), move to each point in turn; returns the limit flag of the
  // last move.
  bool Drag(int x, int y, std::initializer_list<std::pair<int, int>> moves) {
    PointAt(x, y);
    Doc.PressAtPointer();
    bool limit = false;
    for (auto [mx, my] : moves) {
      PointAt(mx, my);
      limit = Doc.DragStep(CTavroDoc::DragPhase::Move).LimitReached;
    }
    return limit;
  }
};

TEST_F(DraggingTest, FreeObjectFollowsThePointerAndTheRedrawCoversBothPlaces) {
  EXPECT_FALSE(Drag(105, 105, {}));
  ASSERT_EQ(Doc.Pointer().HeldSlot(), Doc.Set().SlotOf(3));
  // The pointer may only move the object within the playfield.
  EXPECT_EQ(Doc.Pointer().Bounds(), (MapRect{5, 5, 5 + 448 - 10, 5 + 320 - 10}));

  PointAt(112, 101);
  const auto redraw = Doc.DragStep(CTavroDoc::DragPhase::Move).Redraw;
  ASSERT_TRUE(redraw.has_value());
  EXPECT_EQ(Object(3).X, 107);
  EXPECT_EQ(Object(3).Y, 96);
  EXPECT_EQ(*redraw, (MapRect{100, 96, 117, 110}));

  PointAt(112, 101);
  EXPECT_FALSE(Doc.DragStep(CTavroDoc::DragPhase::Move).Redraw);  // no step, nothing to redraw
  Doc.DropHeldObject();
  EXPECT_EQ(Doc.Pointer().HeldSlot(), 0);
  EXPECT_EQ(Doc.Pointer().Bounds(), (MapRect{0, 0, 447, 319}));
  EXPECT_EQ(Object(3).X, 107);
}

TEST_F(DraggingTest, ObjectStopsAtThePlayfieldEdges) {
  Drag(105, 105, {{-50, -50}});
  EXPECT_EQ(Object(3).X, 0);
  EXPECT_EQ(Object(3).Y, 0);
  PointAt(5000, 5000);
  Doc.DragStep(CTavroDoc::DragPhase::Move);
  EXPECT_EQ(Object(3).X, 448 - 10);
  EXPECT_EQ(Object(3).Y, 320 - 10);
}

TEST_F(DraggingTest, FreshFixedObjectSpringsBackAndWearsOnlyPastThreePixels) {
  SetFix(3, 32, 32);
  EXPECT_FALSE(Drag(105, 105, {{106, 105}}));  // within the dead zone
  EXPECT_TRUE(Drag(105, 105, {{108, 105}}));   // allowance 0: any real pull is too far
  EXPECT_EQ(Object(3).X, 100);
  Doc.DropHeldObject();
  EXPECT_EQ(Object(3).FixRemaining, 32) << "a distance of exactly 3 does not wear";

  EXPECT_TRUE(Drag(105, 105, {{109, 105}}));
  Doc.DropHeldObject();
  EXPECT_EQ(Object(3).FixRemaining, 31);
  EXPECT_EQ(Object(3).X, 100);
  EXPECT_EQ(Object(3).Y, 100);
}

TEST_F(DraggingTest, FixedObjectWobblesWithinItsAllowanceAndNeverUpward) {
  SetFix(3, 32, 20);  // allowance (32 - 20) / 4 = 3
  EXPECT_FALSE(Drag(105, 105, {{107, 106}}));
  EXPECT_EQ(Object(3).X, 102);
  EXPECT_EQ(Object(3).Y, 101);
  PointAt(115, 105);
  EXPECT_TRUE(Doc.DragStep(CTavroDoc::DragPhase::Move).LimitReached);
  EXPECT_EQ(Object(3).X, 103);
  EXPECT_EQ(Object(3).Y, 100);
  Doc.DropHeldObject();
  EXPECT_EQ(Object(3).X, 100) << "springs back to where it was picked up";

  EXPECT_TRUE(Drag(105, 105, {{105, 101}})) << "upward is always too far";
  EXPECT_EQ(Object(3).Y, 100);
  Doc.DropHeldObject();
}

TEST_F(DraggingTest, FixTotalAbove64CountsAs64) {
  SetFix(3, 1000, 60);  // (64 - 60) / 4 = 1, not (1000 - 60) / 4
  Drag(105, 105, {{110, 105}});
  EXPECT_EQ(Object(3).X, 101);
  Doc.DropHeldObject();
}

TEST_F(DraggingTest, WearFollowsTheShiftFormulaDownToZeroAndThenDragsFreely) {
  SetFix(3, 10, 10);
  const int expected[] = {8, 7, 4, 3, 1, 0};
  for (int remaining : expected) {
    Drag(105, 105, {{105, 110}});
    Doc.DropHeldObject();
    EXPECT_EQ(Object(3).FixRemaining, remaining);
  }
  Drag(105, 105, {{150, 150}});
  EXPECT_EQ(Object(3).X, 145);
  Doc.DropHeldObject();
  EXPECT_EQ(Object(3).X, 145);
}

TEST_F(DraggingTest, OverrideLetsFixedObjectsDragFreelyWithoutWear) {
  SetFix(3, 32, 32);
  for (char c : std::string("ZORVE")) FixOverride.FeedKey(c);
  Drag(105, 105, {{150, 105}});
  EXPECT_EQ(Object(3).X, 145);
  Doc.DropHeldObject();
  EXPECT_EQ(Object(3).X, 145);
  EXPECT_EQ(Object(3).FixRemaining, 32);
}

class DragEventTest : public DraggingTest {
 protected:
  void SetUp() override {
    DraggingTest::SetUp();
    ASSERT_TRUE(ScriptsRun());
    const char *names[] = {"", "", "",      "catch",   "fixcatch", "unfix",  "drop",
                           "", "", "press", "release", "",         "fixdrop"};
    for (int event : {3, 4, 5, 6, 9, 10, 12}) BindDebug(event, 3, names[event]);
  }
};

TEST_F(DragEventTest, FixedObjectRaisesFixEventsUntilItComesFree) {
  SetFix(3, 1, 1);
  Drag(105, 105, {{105, 110}});
  Doc.DropHeldObject();
  EXPECT_EQ(Host.MessageTexts(),
            (std::vector<std::string>{"press", "fixcatch", "catch", "unfix", "drop", "release"}));
  Host.Messages.clear();
  Drag(105, 105, {{105, 110}});
  Doc.DropHeldObject();
  EXPECT_EQ(Host.MessageTexts(), (std::vector<std::string>{"press", "catch", "drop", "release"}));
}

TEST_F(DragEventTest, StillFixedObjectRaisesFixdrop) {
  SetFix(3, 32, 32);
  Drag(105, 105, {{105, 106}});
  Doc.DropHeldObject();
  EXPECT_EQ(Host.MessageTexts(),
            (std::vector<std::string>{"press", "fixcatch", "catch", "fixdrop", "drop", "release"}));
}

TEST_F(DragEventTest, OverrideStillRaisesFixcatchButDropsLikeAFreeObject) {
  SetFix(3, 32, 32);
  for (char c : std::string("ZORVE")) FixOverride.FeedKey(c);
  Drag(105, 105, {{150, 105}});
  Doc.DropHeldObject();
  EXPECT_EQ(Host.MessageTexts(),
            (std::vector<std::string>{"press", "fixcatch", "catch", "drop", "release"}));
}

TEST_F(DragEventTest, ActionsOfThePressAreRepaintedAfterIt) {
  Doc.Scripts().ClearActions();
  // "press(" of object 3 moves object 3 by (5, 0): its old and new boxes must
  // be repainted.
  Doc.Scripts().AppendAction(9, 3, 107, MoveArguments{3, 5, 0});
  PointAt(105, 105);
  Doc.PressAtPointer();
  Doc.FlushAndRepaint();
  EXPECT_EQ(Host.Repaints, (std::vector<MapRect>{{100, 100, 115, 110}}));
  EXPECT_FALSE(Doc.Map().Dirty());
  Doc.FlushAndRepaint();
  EXPECT_EQ(Host.Repaints.size(), 1u) << "nothing left to repaint";
}

TEST_F(DragEventTest, InspectionRaisesNothing) {
  PointAt(105, 105);
  EXPECT_EQ(Doc.PickObject(CTavroDoc::PickPurpose::Inspect), 4);
  EXPECT_TRUE(Host.Messages.empty());
}

}  // namespace
}  // namespace tavro
