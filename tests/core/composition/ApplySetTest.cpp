#include <gtest/gtest.h>

#include "core/composition/ComposerFixture.h"
#include "document/SetQueries.h"

namespace tavro::test {
namespace {

class ApplySetTest : public ComposerFixture {
 protected:
  void SetUp() override { Playfield(448, 320); }
};

TEST_F(ApplySetTest, StoredPositionsPastTheRightOrBottomEdgeArePulledBack) {
  AddCel(0, 200, 10, std::vector<uint8_t>(2000, 1));
  AddCel(1, 200, 10, std::vector<uint8_t>(2000, 1));
  AddCel(2, 10, 20, std::vector<uint8_t>(200, 1));
  PlaceEverywhere(0, 300, 10);
  PlaceEverywhere(1, 248, 10);  // ends exactly at 448
  PlaceEverywhere(2, -5, 315);
  doc_.SwitchSet(0);
  EXPECT_EQ(Object(0).X, 248);
  EXPECT_EQ(Object(0).Y, 10);
  EXPECT_EQ(Object(1).X, 248);
  EXPECT_EQ(Object(2).X, -5);  // only the right and bottom edges are checked
  EXPECT_EQ(Object(2).Y, 300);
  EXPECT_EQ(doc_.Set().CurrentSet(), 0);
}

TEST_F(ApplySetTest, EachSetKeepsItsOwnPositionsAcrossSwitches) {
  AddCel(0, 10, 10, std::vector<uint8_t>(100, 1), 0b100100);  // sets 2 and 5
  build_.StorePosition(0, 2, 20, Object(0).SetY[2]);
  build_.StorePosition(0, 5, 50, Object(0).SetY[5]);
  doc_.SwitchSet(2);
  EXPECT_EQ(Object(0).X, 20);
  build_.Move(0, 33, Object(0).Y);  // dragged while set 2 is shown
  build_.Move(0, Object(0).X, 44);
  doc_.SwitchSet(5);
  EXPECT_EQ(Object(0).X, 50);
  doc_.SwitchSet(2);
  EXPECT_EQ(Object(0).X, 33);
  EXPECT_EQ(Object(0).Y, 44);
  EXPECT_EQ(IndexAt(33, 44), 1);
}

TEST_F(ApplySetTest, LeavingASetStoresZeroForObjectsItDoesNotShow) {
  AddCel(0, 10, 10, std::vector<uint8_t>(100, 1), 0b011);  // sets 0 and 1
  AddCel(1, 10, 10, std::vector<uint8_t>(100, 1), 0b110);  // sets 1 and 2
  PlaceEverywhere(0, 7, 8);
  PlaceEverywhere(1, 70, 80);
  doc_.SwitchSet(0);
  doc_.SwitchSet(2);
  EXPECT_EQ(Object(1).SetX[0], 0);
  EXPECT_EQ(Object(1).SetY[0], 0);
  EXPECT_EQ(Object(0).SetX[0], 7);
  // Object 0 is not in set 2: it keeps where it stood, and set 2 forgets it.
  EXPECT_EQ(Object(0).X, 7);
  EXPECT_EQ(Object(0).Flags & kInCurrentSet, 0);
  EXPECT_EQ(Object(1).Flags & kInCurrentSet, kInCurrentSet);
  doc_.SwitchSet(1);
  EXPECT_EQ(Object(0).SetX[2], 0);
  EXPECT_EQ(Object(1).SetX[2], 70);
}

TEST_F(ApplySetTest, HiddenCelsStillPutTheirObjectInTheSet) {
  const int cel = AddCel(0, 4, 4, std::vector<uint8_t>(16, 1), 0b1);
  build_.Show(cel, false);
  PlaceEverywhere(0, 9, 9);
  doc_.SwitchSet(0);
  EXPECT_EQ(Object(0).Flags & kInCurrentSet, kInCurrentSet);
  EXPECT_EQ(Object(0).X, 9);
}

TEST_F(ApplySetTest, EachSetRemembersItsColourGroup) {
  AddCel(0, 4, 4, std::vector<uint8_t>(16, 1));
  build_.Group(2, 3);
  build_.Group(5, 7);
  doc_.SwitchSet(2);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 3);
  BuildPalette(doc_.EditSet(), doc_.EditMap(), 4);  // the Color menu while set 2 is shown
  doc_.SwitchSet(5);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 7);
  EXPECT_EQ(doc_.Set().GroupOfSet(2), 4);
  doc_.SwitchSet(2);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 4);
}

TEST_F(ApplySetTest, ANumberOutsideTheSetsOnlyStoresTheCurrentSet) {
  AddCel(0, 4, 4, std::vector<uint8_t>(16, 1), 0b1);
  PlaceEverywhere(0, 5, 6);
  doc_.SwitchSet(0);
  build_.Move(0, 11, Object(0).Y);
  build_.Current(doc_.Set().CurrentSet(), 2);
  for (int bad : {12, 10, -1, 255}) {
    doc_.SwitchSet(bad);
    EXPECT_EQ(doc_.Set().CurrentSet(), 0);
    EXPECT_EQ(Object(0).X, 11);
    EXPECT_EQ(Object(0).SetX[0], 11);
    EXPECT_EQ(doc_.Set().GroupOfSet(0), 2);
    EXPECT_EQ(doc_.Set().CurrentGroup(), 2);
  }
}

TEST_F(ApplySetTest, TheFirstSetAfterALoadStoresNothing) {
  AddCel(0, 4, 4, std::vector<uint8_t>(16, 1), 0b10);
  build_.StorePosition(0, 1, 40, Object(0).SetY[1]);
  build_.Move(0, 99, Object(0).Y);  // no set is current yet: this position belongs to no set
  doc_.SwitchSet(1);
  EXPECT_EQ(Object(0).X, 40);
  for (int set = 0; set < kSetCount; ++set) {
    if (set != 1) {
      EXPECT_EQ(Object(0).SetX[set], 0);
    }
  }
}

TEST_F(ApplySetTest, ObjectNumbersBeyondTheLimitDoNotDisturbTheTables) {
  AddCel(0, 4, 4, std::vector<uint8_t>(16, 1));
  const uint16_t slot = build_.Slot(2000000);  // a rejected cel line still has its slot
  doc_.SwitchSet(0);
  doc_.SwitchSet(1);
  EXPECT_EQ(doc_.Set().ObjectTable()[slot].Flags & kInCurrentSet, 0);
  EXPECT_EQ(doc_.Set().CurrentSet(), 1);
}

}  // namespace
}  // namespace tavro::test
