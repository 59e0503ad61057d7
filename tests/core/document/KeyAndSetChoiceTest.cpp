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
  EXPECT_EQ(doc.SelectSet(1), CTavroDoc::SetChoice::NotInUse);
  EXPECT_EQ(doc.SelectSet(10), CTavroDoc::SetChoice::NotInUse);
  EXPECT_EQ(doc.SelectSet(0), CTavroDoc::SetChoice::AlreadyShown);
  EXPECT_TRUE(host.repaints.empty());
  EXPECT_EQ(doc.SelectSet(5), CTavroDoc::SetChoice::Switched);
  EXPECT_EQ(doc.Set().CurrentSet(), 5);
  EXPECT_EQ(host.repaints, (std::vector<MapRect>{{0, 0, 448, 320}}));
}

TEST_F(SetChoiceTest, StepsThroughAllSetsEndOnTheHighestInUse) {
  for (int n = 0; n < 10; ++n) doc.SelectSet(n);
  EXPECT_EQ(doc.Set().CurrentSet(), 5);
  EXPECT_EQ(host.repaints.size(), 2u);  // 2 and 5; 0 was already shown
}

TEST_F(SetChoiceTest, ChoosingAGroupChangesNoSetAndRepaints) {
  doc.SelectGroup(3);
  EXPECT_EQ(doc.Set().CurrentGroup(), 3);
  EXPECT_EQ(doc.Set().CurrentSet(), 0);
  EXPECT_EQ(host.repaints.size(), 1u);
  doc.SelectGroup(12);
  EXPECT_EQ(doc.Set().CurrentGroup(), 3);
}

}  // namespace
}  // namespace tavro
