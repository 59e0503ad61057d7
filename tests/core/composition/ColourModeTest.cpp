#include <gtest/gtest.h>

#include <vector>

#include "core/composition/ComposerFixture.h"
#include "document/SetQueries.h"
#include "support/MapEdit.h"

namespace tavro::test {
namespace {

class PaletteTest : public ComposerFixture {
 protected:
  void SetUp() override { Playfield(5, 2); }
};

TEST_F(PaletteTest, BuildsTheColourTableFromTheGroupAndDescribesTheMap) {
  SetColour(3, 0, 10, 20, 30);
  SetColour(3, 1, 40, 50, 60);
  ComposedMap map = doc_.Map();
  map.SetColour(2, {7, 7, 7, 0});
  doc_.EditMap() = std::move(map);
  build_.ColourCount(2);
  BuildPalette(doc_.EditSet(), doc_.EditMap(), 3);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 3);
  EXPECT_EQ(doc_.Map().Colours()[1].Blue, 60);
  EXPECT_EQ(doc_.Map().Colours()[1].Green, 50);
  EXPECT_EQ(doc_.Map().Colours()[1].Red, 40);
  EXPECT_EQ(doc_.Map().Colours()[2].Blue, 7);  // beyond ColourCount: untouched
  EXPECT_EQ(doc_.Map().Colours()[0].Red, 10);
  EXPECT_EQ(doc_.Map().Colours()[0].Blue, 30);
}

TEST_F(PaletteTest, UncheckedCountsAndGroupsStayInsideTheTables) {
  SetColour(0, 255, 1, 2, 3);
  build_.ColourCount(300);
  BuildPalette(doc_.EditSet(), doc_.EditMap(), 12);  // reads as group 0, stays the current number
  EXPECT_EQ(doc_.Map().Colours()[255].Green, 2);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 12);
  build_.ColourCount(-4);
  BuildPalette(doc_.EditSet(), doc_.EditMap(), -1);
  EXPECT_EQ(doc_.Map().Colours()[255].Green, 2) << "no colour is taken";
  EXPECT_EQ(doc_.Set().Palettes().ColourOfGroup(0, 256).Red, 0);
}

TEST_F(PaletteTest, AllocationTakesTheFormAndSizeOfTheMode) {
  doc_.EditMap().Allocate(true);
  EXPECT_EQ(doc_.Map().Format(), PixelFormat::Rgbx32);
  EXPECT_EQ(doc_.Map().Bytes().size(), 4u * 8 * 2 + 1);
  doc_.EditMap().Allocate(false);
  EXPECT_EQ(doc_.Map().Format(), PixelFormat::Indexed8);
  EXPECT_EQ(doc_.Map().Bytes().size(), 8u * 2 + 1);
}

class ColourModeTest : public ComposerFixture {
 protected:
  void SetUp() override {
    Playfield(3, 1);
    SetColour(0, 0, 100, 100, 100);
    SetColour(0, 1, 200, 0, 0);
    SetColour(1, 0, 0, 0, 0);
    SetColour(1, 1, 0, 0, 250);
    build_.ColourCount(2);
    build_.GroupCount(2);
    AddCel(0, 1, 1, {1});
    AddAlphaCel(1, 1, 1, {0, 0, 60, 255});
    PlaceEverywhere(1, 1, 0);
    ShowSet(0);
  }
};

TEST_F(ColourModeTest, TrueColourBringsBackAlphaCelsAnd256ColourDropsThem) {
  EXPECT_EQ(IndexAt(1, 0), 0);
  doc_.SetColourModeTrue();
  EXPECT_TRUE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.Map().Bytes().size(), 4u * 4 + 1);
  EXPECT_EQ(ColourAt(0, 0), (Bgr{0, 0, 200}));
  EXPECT_EQ(ColourAt(1, 0), (Bgr{0, 0, 60}));
  EXPECT_EQ(ColourAt(2, 0), (Bgr{100, 100, 100}));
  doc_.SetColourMode256();
  EXPECT_EQ(doc_.Map().Bytes().size(), 4u + 1);
  EXPECT_EQ(IndexAt(0, 0), 1);
  EXPECT_EQ(IndexAt(1, 0), 0);
  EXPECT_FALSE(host_.Repaints.empty());
}

TEST_F(ColourModeTest, ModeChangesKeepPositionsMovedInTheCurrentSet) {
  build_.Move(0, 2, Object(0).Y);  // dragged
  doc_.SetColourModeTrue();
  EXPECT_EQ(Object(0).X, 2);
  EXPECT_EQ(ColourAt(2, 0), (Bgr{0, 0, 200}));
}

TEST_F(ColourModeTest, TransparentHalfTurnsOnTrueColourAndStaysInTheCels) {
  doc_.ApplyTransparent50();
  EXPECT_TRUE(doc_.Map().TrueColourMode());
  EXPECT_EQ(ColourAt(0, 0), (Bgr{50, 50, 150}));  // (200*128 + 100*128) >> 8 on red
  EXPECT_EQ(ColourAt(1, 0), (Bgr{0, 0, 60}));     // alpha cels keep their own alpha
  doc_.SetColourMode256();
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 128);
  doc_.SetColourModeTrue();
  EXPECT_EQ(ColourAt(0, 0), (Bgr{50, 50, 150}));
}

TEST_F(ColourModeTest, WithoutALoadedSetTheModeCommandsTouchNothing) {
  doc_.MarkSetLoaded(false);
  doc_.EditMap().SetSize(0, 0);  // as before any load
  const auto map = doc_.Map().Bytes();
  doc_.ApplyTransparent50();
  doc_.SetColourModeTrue();
  EXPECT_FALSE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.Map().Bytes(), map);
  EXPECT_EQ(doc_.Set().CellTable()[0].Transparency, 0);
}

TEST_F(ColourModeTest, ColourGroupRecomposesOnlyWhereTheMapHoldsColours) {
  doc_.SelectGroup(1);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 1);
  EXPECT_EQ(IndexAt(0, 0), 1);
  EXPECT_EQ(doc_.Map().Colours()[1].Blue, 250);
  doc_.SetColourModeTrue();  // set 0 remembers group 1
  EXPECT_EQ(ColourAt(0, 0), (Bgr{250, 0, 0}));
  BuildPalette(doc_.EditSet(), doc_.EditMap(),
               0);  // the palette alone does not touch a true-colour map
  EXPECT_EQ(ColourAt(0, 0), (Bgr{250, 0, 0}));
  doc_.SelectGroup(0);
  EXPECT_EQ(ColourAt(0, 0), (Bgr{0, 0, 200}));
  EXPECT_EQ(ColourAt(2, 0), (Bgr{100, 100, 100}));
}

class DirtyAreaTest : public ComposerFixture {};

TEST_F(DirtyAreaTest, MarksGatherIntoOneRectangleThatAFlushComposesAndEmpties) {
  Playfield(8, 4);
  AddCel(0, 8, 4, std::vector<uint8_t>(32, 3));
  ShowSet(0);
  test::FillMap(doc_, 0);
  doc_.EditMap().MarkDirty({1, 1, 2, 2});
  doc_.EditMap().MarkDirty({});  // adds nothing
  doc_.EditMap().MarkDirty({3, 0, 4, 1});
  EXPECT_TRUE(doc_.Map().Dirty());
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{1, 0, 4, 2}));
  doc_.FlushAndRepaint();
  EXPECT_FALSE(doc_.Map().Dirty());
  EXPECT_TRUE(doc_.Map().DirtyArea().IsEmpty());
  EXPECT_EQ(IndexRow(0), (std::vector<uint8_t>{0, 3, 3, 3, 0, 0, 0, 0}));
  EXPECT_EQ(IndexRow(2), (std::vector<uint8_t>(8, 0)));
  DocumentScriptTarget(doc_, doc_.EditSet(), doc_.EditMap())
      .SwitchGroup(0);  // a script changing the colour group
  EXPECT_EQ(doc_.Map().DirtyArea(), (MapRect{0, 0, 8, 4}));
}

}  // namespace
}  // namespace tavro::test
