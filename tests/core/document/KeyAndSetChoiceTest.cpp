#include <gtest/gtest.h>

#include "core/document/HandBuiltSet.h"

namespace tavro {
namespace {

void Type(FixOverrideState& state, const std::string& keys) {
  for (char c : keys) state.FeedKey(c);
}

TEST(KeySequenceTest, WholeSequenceInARowLiftsFixingForGood) {
  FixOverrideState state;
  Type(state, "ZORV");
  EXPECT_EQ(state.Value(), 4);
  EXPECT_FALSE(state.Active());
  Type(state, "E");
  EXPECT_TRUE(state.Active());
  Type(state, "XYZ");  // nothing undoes it
  EXPECT_EQ(state.Value(), -1);
}

TEST(KeySequenceTest, AnyOtherKeyStartsCountingAgain) {
  FixOverrideState state;
  Type(state, "ZOR");
  state.FeedKey(0x10);  // Shift
  Type(state, "VE");
  EXPECT_FALSE(state.Active());
  // The wrong key is not tried as the first letter: the second Z resets, so "ORVE" is wrong too.
  Type(state, "ZZORVE");
  EXPECT_FALSE(state.Active());
  EXPECT_EQ(state.Value(), 0);
  Type(state, "zorve");  // key codes of letters are capitals
  EXPECT_FALSE(state.Active());
  Type(state, "ZORVE");
  EXPECT_TRUE(state.Active());
}

class SetChoiceTest : public ::testing::Test, protected test::HandBuiltSet {
 protected:
  void SetUp() override {
    AddSquare(0, 4, 0b100101);  // sets 0, 2 and 5
  }
};

TEST_F(SetChoiceTest, OnlySetsInUseAreChosenAndTheShownOneIsLeftAlone) {
  EXPECT_EQ(Doc.SelectSet(1), CTavroDoc::SetChoice::NotInUse);
  EXPECT_EQ(Doc.SelectSet(10), CTavroDoc::SetChoice::NotInUse);
  EXPECT_EQ(Doc.SelectSet(0), CTavroDoc::SetChoice::AlreadyShown);
  EXPECT_TRUE(Host.Repaints.empty());
  EXPECT_EQ(Doc.SelectSet(5), CTavroDoc::SetChoice::Switched);
  EXPECT_EQ(Doc.Set().CurrentSet(), 5);
  EXPECT_EQ(Host.Repaints, (std::vector<MapRect>{{0, 0, 448, 320}}));
}

TEST_F(SetChoiceTest, StepsThroughAllSetsEndOnTheHighestInUse) {
  for (int n = 0; n < 10; ++n) Doc.SelectSet(n);
  EXPECT_EQ(Doc.Set().CurrentSet(), 5);
  EXPECT_EQ(Host.Repaints.size(), 2u);  // 2 and 5; 0 was already shown
}

TEST_F(SetChoiceTest, ChoosingAGroupChangesNoSetAndRepaints) {
  Doc.SelectGroup(3);
  EXPECT_EQ(Doc.Set().CurrentGroup(), 3);
  EXPECT_EQ(Doc.Set().CurrentSet(), 0);
  EXPECT_EQ(Host.Repaints.size(), 1u);
  Doc.SelectGroup(12);
  EXPECT_EQ(Doc.Set().CurrentGroup(), 3);
}

}  // namespace
}  // namespace tavro
