#include <gtest/gtest.h>

#include <string>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

using ConfigLinesTest = test::LoadFixture;

TEST_F(ConfigLinesTest, SizeLinesAreCappedAndTheLastOneHolds) {
  Load("#0 a.cel\n(2000,2000\n");
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 1280);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 1024);
  EXPECT_EQ(doc_.Pointer().Bounds(), (MapRect{0, 0, 1279, 1023}));

  Load("#0 a.cel\n(800,600)\n(641x3\n");
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 641);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 3);
  EXPECT_EQ(doc_.Map().Stride(), 644);  // rows of the map are a multiple of 4 bytes
  EXPECT_EQ(doc_.Map().Height(), 3);
}

TEST_F(ConfigLinesTest, SizeLinesWithoutAPositiveSideKeepThatSide) {
  Load("#0 a.cel\n(0,0\n(-5,-5\n(\n");
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 448);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 320);
  Load("#0 a.cel\n(640\n");
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 640);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 320);
  Load("#0 a.cel\n(,480\n");
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 448);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 480);
}

TEST_F(ConfigLinesTest, OnlyThirtyTwoPaletteLinesAreTaken) {
  std::string text;
  for (int i = 0; i < 34; ++i) text += "%pal" + std::to_string(i) + ".kcf rest\n";
  Load(text + "#0 a.cel\n");
  EXPECT_EQ(doc_.Set().Palettes().PaletteCount, 32);
  EXPECT_STREQ(doc_.Set().Palettes().PaletteNames[0].data(), "pal0.kcf");
  EXPECT_STREQ(doc_.Set().Palettes().PaletteNames[31].data(), "pal31.kcf");
}

TEST_F(ConfigLinesTest, APaletteNameStartsRightAfterThePercentSign) {
  Load("% spaced.kcf\n%abcdefghijklmnopqrstuvwxyz.kcf\n#0 a.cel\n");
  EXPECT_EQ(doc_.Set().Palettes().PaletteCount,
            2);  // the empty name still uses up its palette number
  EXPECT_STREQ(doc_.Set().Palettes().PaletteNames[0].data(), "");
  EXPECT_STREQ(doc_.Set().Palettes().PaletteNames[1].data(), "abcdefghijklmnopqrs");
}

TEST_F(ConfigLinesTest, OtherLinesAreIgnored) {
  Load("\t#0 a.cel\n;#0 b.cel\n ;@ nothing\n\n!$0 1,1\n");
  EXPECT_EQ(doc_.Set().CellCount(), 0);
  EXPECT_EQ(doc_.Set().ObjectCount(), 0);
  EXPECT_FALSE(doc_.IsSetLoaded());
  EXPECT_TRUE(LoadMessages().empty());
}

TEST_F(ConfigLinesTest, TheLastLineWithoutALineFeedIsNotRead) {
  Load("#0 a.cel\n#1 b.cel");
  EXPECT_EQ(doc_.Set().CellCount(), 1);
  EXPECT_EQ(doc_.Set().ObjectCount(), 1);
}

TEST_F(ConfigLinesTest, ScriptLinesDoNotBreakASetLineSequenceForLaterLines) {
  // A ";@" line is a line of its own kind: a space line after it is no continuation.
  Load("#0 a.cel\n#1 b.cel\n$0 1,1\n;@EventHandler\n 2,2\n");
  EXPECT_EQ(Object(0).SetX[0], 1);
  EXPECT_EQ(Object(1).SetX[0], 0);
}

}  // namespace
}  // namespace tavro
