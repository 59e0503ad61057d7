#include <gtest/gtest.h>

#include <cstdlib>

#include "recording/GifPalette.h"

namespace tavro::test {
namespace {

TEST(GifPaletteTest, FewColoursAreKeptExactlyAndManyComeClose) {
  std::vector<uint8_t> few = {9, 8, 7, 1, 2, 3, 9, 8, 7};
  const IndexedArea exact = IndexColours(few);
  EXPECT_TRUE(exact.Exact);
  EXPECT_EQ(exact.Colours, (std::vector<RgbColour>{{9, 8, 7}, {1, 2, 3}}));
  EXPECT_EQ(exact.Indices, (std::vector<uint8_t>{0, 1, 0}));
  std::vector<uint8_t> indices;
  EXPECT_TRUE(IndexWithTable(few, {{1, 2, 3}, {9, 8, 7}}, indices));
  EXPECT_EQ(indices, (std::vector<uint8_t>{1, 0, 1}));
  EXPECT_FALSE(IndexWithTable(few, {{1, 2, 3}}, indices));

  // 4,096 colours of a smooth gradient: 256 of them, each pixel near its own colour.
  std::vector<uint8_t> gradient;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      gradient.insert(gradient.end(), {static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                                       static_cast<uint8_t>(128)});
    }
  }
  const IndexedArea near = IndexColours(gradient);
  EXPECT_FALSE(near.Exact);
  EXPECT_EQ(near.Colours.size(), 256u);
  int worst = 0;
  for (size_t i = 0; i < near.Indices.size(); ++i) {
    for (int c = 0; c < 3; ++c)
      worst = std::max(worst, std::abs(near.Colours[near.Indices[i]][c] - gradient[i * 3 + c]));
  }
  EXPECT_LE(worst, 8);
}

}  // namespace
}  // namespace tavro::test
