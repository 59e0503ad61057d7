#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/composition/ComposerFixture.h"
#include "support/MapEdit.h"

namespace tavro::test {
namespace {

using V = std::vector<uint8_t>;

class ComposeIndexedTest : public ComposerFixture {};

TEST_F(ComposeIndexedTest, EarlierCelLineLiesOnTopAndZeroLeavesWhatIsBeneath) {
  Playfield(6, 1);
  AddCel(0, 3, 1, {5, 0, 5});     // first line: on top, with a hole in the middle
  AddCel(1, 4, 1, {7, 7, 7, 7});  // second line: beneath
  PlaceEverywhere(0, 1, 0);
  PlaceEverywhere(1, 0, 0);
  ShowSet(0);
  EXPECT_EQ(IndexRow(0), (V{7, 5, 7, 5, 0, 0}));
}

TEST_F(ComposeIndexedTest, BottomUpCelRowsLandUprightInATopDownMap) {
  Playfield(4, 3);
  AddCel(0, 2, 2, {1, 2, 3, 4}, 0xFFFF, 1, 1);  // offset inside the object
  ShowSet(0);
  // The map's first stored row is the playfield's top row; the cel's is its bottom one.
  EXPECT_EQ(doc_.Map().Bytes()[4 + 1], 1);
  EXPECT_EQ(doc_.Map().Row(2)[1], 3);
  EXPECT_EQ(IndexRow(0), (V{0, 0, 0, 0}));
  EXPECT_EQ(IndexRow(1), (V{0, 1, 2, 0}));
  EXPECT_EQ(IndexRow(2), (V{0, 3, 4, 0}));
}

TEST_F(ComposeIndexedTest, RunsOfEveryLengthMixOpaqueAndEmptyPixels) {
  // Lengths around the word and vector widths, with holes at every position within them.
  for (int width : {3, 8, 11, 16, 19, 37}) {
    build_.Tables();
    Playfield(40, 1);
    V top(width), beneath(40, 9);
    for (int i = 0; i < width; ++i) top[i] = (i % 3 == 0) ? 0 : static_cast<uint8_t>(i);
    AddCel(0, width, 1, top);
    AddCel(1, 40, 1, beneath);
    ShowSet(0);
    for (int x = 0; x < 40; ++x) {
      const uint8_t expected = (x < width && top[x] != 0) ? top[x] : 9;
      EXPECT_EQ(IndexAt(x, 0), expected) << "width " << width << " x " << x;
    }
  }
}

TEST_F(ComposeIndexedTest, CelsHangingOffEveryEdgeAreCutAtThePlayfield) {
  Playfield(5, 4);  // stride 8: columns 5..7 are padding
  V block(9, 6);
  AddCel(0, 3, 3, block);  // placed at each corner in turn, two of its pixels outside
  ShowSet(0);
  const int16_t corners[4][2] = {{-1, -1}, {3, -1}, {-1, 2}, {3, 2}};
  for (const auto& corner : corners) {
    // Placed directly: a set switch would pull the right and bottom ones back inside.
    build_.Move(0, corner[0], Object(0).Y);
    build_.Move(0, Object(0).X, corner[1]);
    ComposeRect(0, 0, 5, 4);
    int drawn = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) drawn += IndexAt(x, y) == 6;
    EXPECT_EQ(drawn, 4) << corner[0] << "," << corner[1];
    for (int y = 0; y < 4; ++y)
      for (int x = 5; x < 8; ++x) EXPECT_EQ(IndexAt(x, y), 0) << "padding written";
  }
}

TEST_F(ComposeIndexedTest, ARectangleRecomposesOnlyItself) {
  Playfield(8, 8);
  AddCel(0, 8, 8, V(64, 4));
  ShowSet(0);
  test::FillMap(doc_, 99);
  ComposeRect(2, 3, 3, 2);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 3 && y < 5;
      EXPECT_EQ(IndexAt(x, y), inside ? 4 : 99) << x << "," << y;
    }
  }
  EXPECT_EQ(doc_.Map().Bytes().back(), 99);  // the spare byte
}

TEST_F(ComposeIndexedTest, RectanglesPartlyOrWhollyOutsideAreClippedOrIgnored) {
  Playfield(4, 4);
  AddCel(0, 4, 4, V(16, 2));
  ShowSet(0);
  test::FillMap(doc_, 99);
  ComposeRect(-100, -100, 102, 101);  // covers x 0..1, y 0
  ComposeRect(4, 0, 10, 10);
  ComposeRect(0, 0, -3, 5);
  ComposeRect(INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX);
  EXPECT_EQ(IndexRow(0), (V{2, 2, 99, 99}));
  EXPECT_EQ(IndexRow(1), (V{99, 99, 99, 99}));
}

TEST_F(ComposeIndexedTest, OnlyShownCelsOfShownObjectsAreDrawn) {
  Playfield(4, 1);
  AddCel(0, 1, 1, {1}, 0x0001);
  const int hidden = AddCel(1, 1, 1, {2});
  AddCel(2, 1, 1, {3}, 0x0002);  // not in set 0
  const int failed = AddCel(3, 1, 1, {4});
  PlaceEverywhere(1, 1, 0);
  PlaceEverywhere(2, 2, 0);
  PlaceEverywhere(3, 3, 0);
  build_.Show(hidden, false);
  build_.Pixels(failed, {});  // a cel whose file failed keeps no pixels
  ShowSet(0);
  EXPECT_EQ(IndexRow(0), (V{1, 0, 0, 0}));
}

TEST_F(ComposeIndexedTest, AnEntryWithTooFewPixelsForItsSizeIsSkipped) {
  Playfield(4, 4);
  const int cel = AddCel(0, 4, 4, V(16, 5));
  build_.Pixels(cel, V(3, 5));
  ShowSet(0);
  EXPECT_EQ(IndexRow(3), (V{0, 0, 0, 0}));
}

TEST_F(ComposeIndexedTest, ThirtyTwoBitCelsAndTransparencyPlayNoPartIn256Colours) {
  Playfield(2, 1);
  AddAlphaCel(0, 1, 1, {10, 20, 30, 255});
  const int cel = AddCel(1, 1, 1, {6});
  PlaceEverywhere(1, 1, 0);
  build_.Transparency(cel, 128);
  ShowSet(0);
  EXPECT_EQ(IndexRow(0), (V{0, 6}));
}

TEST_F(ComposeIndexedTest, NothingIsDrawnBeforeASetIsCurrent) {
  Playfield(2, 1);
  AddCel(0, 2, 1, {3, 3});
  ComposeRect(0, 0, 2, 1);
  EXPECT_EQ(IndexRow(0), (V{0, 0}));
}

class ComposeTrueColourTest : public ComposerFixture {
 protected:
  void SetUp() override {
    Playfield(3, 1, true);
    SetColour(0, 0, 100, 100, 100);  // background
    SetColour(0, 1, 200, 40, 0);
  }
};

TEST_F(ComposeTrueColourTest, BackgroundIsColourZeroOfTheCurrentGroup) {
  SetColour(4, 0, 1, 2, 3);
  build_.Group(0, 4);
  ShowSet(0);
  EXPECT_EQ(ColourAt(2, 0), (Bgr{3, 2, 1}));
}

TEST_F(ComposeTrueColourTest, TransparencyLevelsBlendWithTheMapBeneath) {
  const int half = AddCel(0, 1, 1, {1});
  const int opaque = AddCel(1, 1, 1, {1});
  const int hole = AddCel(2, 1, 1, {0});
  PlaceEverywhere(1, 1, 0);
  PlaceEverywhere(2, 2, 0);
  build_.Transparency(half, 128);
  build_.Transparency(hole, 128);
  ShowSet(0);
  // (200*128 + 100*128) >> 8 = 150; (40*128 + 100*128) >> 8 = 70; (0 + 100*128) >> 8 = 50.
  EXPECT_EQ(ColourAt(0, 0), (Bgr{50, 70, 150}));
  EXPECT_EQ(ColourAt(1, 0), (Bgr{0, 40, 200}));
  EXPECT_EQ(ColourAt(2, 0), (Bgr{100, 100, 100}));
  (void)opaque;
}

TEST_F(ComposeTrueColourTest, LevelsOutsideTheTableStayWithinIt) {
  const int low = AddCel(0, 1, 1, {1});
  const int high = AddCel(1, 1, 1, {1});
  PlaceEverywhere(1, 1, 0);
  build_.Transparency(low, -40);
  build_.Transparency(high, 3000);
  ShowSet(0);
  EXPECT_EQ(ColourAt(0, 0), (Bgr{0, 40, 200}));
  // 255 lets 255/256 of the background through: (200*1 + 100*255) >> 8 = 100.
  EXPECT_EQ(ColourAt(1, 0), (Bgr{99, 99, 100}));
}

TEST_F(ComposeTrueColourTest, StackedBlendsApplyFromTheBottomUp) {
  const int top = AddCel(0, 1, 1, {1});
  AddCel(1, 1, 1, {1});
  build_.Transparency(top, 128);
  ShowSet(0);
  // The lower, opaque cel first; the half-transparent one over it changes nothing.
  EXPECT_EQ(ColourAt(0, 0), (Bgr{0, 40, 200}));
}

TEST_F(ComposeTrueColourTest, AlphaZeroLeavesAlpha255ReplacesOthersWeighTo255) {
  // Background made white so that 255 over 255 shows the weights summing to 255.
  SetColour(0, 0, 255, 255, 255);
  AddAlphaCel(0, 3, 1, {9, 9, 9, 0, 255, 255, 255, 254, 10, 20, 30, 255});
  ShowSet(0);
  EXPECT_EQ(ColourAt(0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(ColourAt(1, 0), (Bgr{254, 254, 254}));  // (255*254 + 255*1) >> 8
  EXPECT_EQ(ColourAt(2, 0), (Bgr{10, 20, 30}));
}

TEST_F(ComposeTrueColourTest, AlphaCelsIgnoreTheTransparencyLevel) {
  const int cel = AddAlphaCel(0, 1, 1, {0, 0, 128, 128});
  build_.Transparency(cel, 200);
  ShowSet(0);
  // (0*128 + 100*127) >> 8 = 49; (128*128 + 100*127) >> 8 = 113.
  EXPECT_EQ(ColourAt(0, 0), (Bgr{49, 49, 113}));
}

// Wide cels go through the paired and single-pixel paths alike; every pixel must follow the
// same integer formulas whatever its position in the run.
TEST_F(ComposeTrueColourTest, WideRunsBlendEveryPixelByTheSameFormulas) {
  Playfield(37, 2, true);
  uint32_t seed = 7;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int i = 0; i < 256; ++i) {
    SetColour(0, i, static_cast<uint8_t>(next()), static_cast<uint8_t>(next()),
              static_cast<uint8_t>(next()));
  }
  std::vector<uint8_t> indices(37), bgra(37 * 4);
  for (auto& v : indices) v = next() % 3 == 0 ? 0 : static_cast<uint8_t>(next());
  for (size_t i = 0; i < bgra.size(); ++i) bgra[i] = static_cast<uint8_t>(next());
  for (int x = 0; x < 37; x += 5) bgra[x * 4 + 3] = (x % 2) ? 0 : 255;
  const int indexed = AddCel(0, 37, 1, indices);
  AddAlphaCel(1, 37, 1, bgra);
  PlaceEverywhere(1, 0, 1);
  build_.Transparency(indexed, 77);
  ShowSet(0);
  for (int x = 0; x < 37; ++x) {
    const RgbQuad bg = doc_.Set().Palettes().ColourOfGroup(0, 0),
                  c = doc_.Set().Palettes().ColourOfGroup(0, indices[x]);
    auto blend = [](int cel, int beneath) { return (cel * 179 + beneath * 77) >> 8; };
    const Bgr expectIndexed = indices[x] == 0 ? Bgr{bg.Blue, bg.Green, bg.Red}
                                              : Bgr{static_cast<uint8_t>(blend(c.Blue, bg.Blue)),
                                                    static_cast<uint8_t>(blend(c.Green, bg.Green)),
                                                    static_cast<uint8_t>(blend(c.Red, bg.Red))};
    EXPECT_EQ(ColourAt(x, 0), expectIndexed) << "x " << x;
    const int a = bgra[x * 4 + 3];
    auto mix = [&](int s, int d) {
      return static_cast<uint8_t>(a == 0 ? d : a == 255 ? s : (s * a + d * (255 - a)) >> 8);
    };
    const Bgr expectAlpha{mix(bgra[x * 4], bg.Blue), mix(bgra[x * 4 + 1], bg.Green),
                          mix(bgra[x * 4 + 2], bg.Red)};
    EXPECT_EQ(ColourAt(x, 1), expectAlpha) << "x " << x;
  }
}

// Three long cels stacked on one row, so every fast path blends over a picture that differs
// from pixel to pixel: an opaque indexed cel at the bottom, a blended one, a 32-bit one on top.
TEST_F(ComposeTrueColourTest, WideRunsStackedOverAVariedPictureBlendPixelByPixel) {
  constexpr int kWidth = 61;
  Playfield(kWidth, 1, true);
  uint32_t seed = 11;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int i = 0; i < 256; ++i) {
    SetColour(0, i, static_cast<uint8_t>(next()), static_cast<uint8_t>(next()),
              static_cast<uint8_t>(next()));
  }
  std::vector<uint8_t> bottom(kWidth), middle(kWidth), top(kWidth * 4);
  for (auto& v : bottom) v = next() % 4 == 0 ? 0 : static_cast<uint8_t>(next());
  for (auto& v : middle) v = next() % 3 == 0 ? 0 : static_cast<uint8_t>(next());
  for (auto& v : top) v = static_cast<uint8_t>(next());
  for (int x = 0; x < kWidth; x += 4) top[x * 4 + 3] = (x % 8) ? 0 : 255;
  AddAlphaCel(3, kWidth, 1, top);
  const int blended = AddCel(2, kWidth, 1, middle);
  AddCel(1, kWidth, 1, bottom);
  build_.Transparency(blended, 200);
  ShowSet(0);
  for (int x = 0; x < kWidth; ++x) {
    const RgbQuad bg = doc_.Set().Palettes().ColourOfGroup(0, 0);
    int pixel[3] = {bg.Blue, bg.Green, bg.Red};
    if (bottom[x] != 0) {
      const RgbQuad c = doc_.Set().Palettes().ColourOfGroup(0, bottom[x]);
      pixel[0] = c.Blue, pixel[1] = c.Green, pixel[2] = c.Red;
    }
    if (middle[x] != 0) {
      const RgbQuad c = doc_.Set().Palettes().ColourOfGroup(0, middle[x]);
      const int cel[3] = {c.Blue, c.Green, c.Red};
      for (int k = 0; k < 3; ++k) pixel[k] = (cel[k] * 56 + pixel[k] * 200) >> 8;
    }
    const int a = top[x * 4 + 3];
    for (int k = 0; k < 3; ++k) {
      const int s = top[x * 4 + k];
      pixel[k] = a == 0 ? pixel[k] : a == 255 ? s : (s * a + pixel[k] * (255 - a)) >> 8;
    }
    EXPECT_EQ(ColourAt(x, 0), (Bgr{static_cast<uint8_t>(pixel[0]), static_cast<uint8_t>(pixel[1]),
                                   static_cast<uint8_t>(pixel[2])}))
        << "x " << x;
  }
}

TEST_F(ComposeTrueColourTest, TallRectanglesComposeAlikeInEveryRow) {
  // Taller than the strips a large rectangle is drawn in; the cels cross strip edges.
  Playfield(3, 300, true);
  SetColour(0, 2, 0, 0, 250);
  const int top = AddCel(0, 2, 250, std::vector<uint8_t>(500, 1), 0xFFFF, 0, 30);
  AddCel(1, 3, 300, std::vector<uint8_t>(900, 2));
  build_.Transparency(top, 128);
  ShowSet(0);
  for (int y = 0; y < 300; ++y) {
    const bool covered = y >= 30 && y < 280;
    // (200*128 + 0) >> 8 = 100 red over blue; (0 + 250*128) >> 8 = 125 blue.
    EXPECT_EQ(ColourAt(1, y), covered ? (Bgr{125, 20, 100}) : (Bgr{250, 0, 0})) << "y " << y;
    EXPECT_EQ(ColourAt(2, y), (Bgr{250, 0, 0})) << "y " << y;
  }
}

TEST_F(ComposeTrueColourTest, AMapOfTheOtherFormIsNeverWritten) {
  AddCel(0, 3, 1, {1, 1, 1});
  doc_.EditMap().Allocate(false);  // 8-bit map while the mode says true colour
  const auto before = doc_.Map().Bytes();
  ShowSet(0);
  EXPECT_EQ(doc_.Map().Bytes(), before);
}

}  // namespace
}  // namespace tavro::test
