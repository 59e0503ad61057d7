// Pictures made smaller by area averaging: the size each fits in its box, and output pixels that
// are the weighted means of what they cover.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <tuple>
#include <vector>

#include "composition/ScaleToFit.h"

namespace tavro {
namespace {

TEST(FitWithinTest, KeepsTheAspectRoundedAndNeverEnlargesOrVanishes) {
  EXPECT_EQ(FitWithin(1024, 768, 128), (FittedSize{128, 96}));
  // 42.67 and 43.33 round to the nearest pixel, up and down.
  EXPECT_EQ(FitWithin(300, 100, 128), (FittedSize{128, 43}));
  EXPECT_EQ(FitWithin(100, 300, 128), (FittedSize{43, 128}));
  EXPECT_EQ(FitWithin(384, 130, 128), (FittedSize{128, 43}));
  EXPECT_EQ(FitWithin(500, 500, 128), (FittedSize{128, 128}));
  // A picture that fits already keeps its size, even a single pixel.
  EXPECT_EQ(FitWithin(50, 20, 128), (FittedSize{50, 20}));
  EXPECT_EQ(FitWithin(128, 128, 128), (FittedSize{128, 128}));
  EXPECT_EQ(FitWithin(1, 1, 1), (FittedSize{1, 1}));
  // A sliver stays one pixel across.
  EXPECT_EQ(FitWithin(10000, 3, 100), (FittedSize{100, 1}));
  EXPECT_EQ(FitWithin(3, 10000, 100), (FittedSize{1, 100}));
  EXPECT_EQ(FitWithin(20, 10, 1), (FittedSize{1, 1}));
  // Nothing to fit, or nowhere to fit it.
  EXPECT_EQ(FitWithin(0, 10, 128), FittedSize{});
  EXPECT_EQ(FitWithin(10, -1, 128), FittedSize{});
  EXPECT_EQ(FitWithin(10, 10, 0), FittedSize{});
  // Sizes whose products would not fit 32 bits.
  EXPECT_EQ(FitWithin(2000000000, 1000000000, 1024), (FittedSize{1024, 512}));
}

using Rgba = std::vector<uint8_t>;

// The exact mean each output pixel should get, from coverage measured in floating point.
Rgba ReferenceScale(const Rgba& source, int32_t width, int32_t height, FittedSize size) {
  Rgba out;
  const double stepX = static_cast<double>(width) / size.Width;
  const double stepY = static_cast<double>(height) / size.Height;
  for (int32_t oy = 0; oy < size.Height; ++oy) {
    for (int32_t ox = 0; ox < size.Width; ++ox) {
      double sums[4] = {0, 0, 0, 0};
      for (int32_t y = 0; y < height; ++y) {
        const double coverY = std::max(0.0, std::min(y + 1.0, (oy + 1) * stepY) -
                                                std::max(static_cast<double>(y), oy * stepY));
        for (int32_t x = 0; x < width && coverY > 0; ++x) {
          const double coverX = std::max(0.0, std::min(x + 1.0, (ox + 1) * stepX) -
                                                  std::max(static_cast<double>(x), ox * stepX));
          for (int c = 0; c < 4; ++c) {
            sums[c] += coverX * coverY * source[(static_cast<size_t>(y) * width + x) * 4 + c];
          }
        }
      }
      for (double sum : sums)
        out.push_back(static_cast<uint8_t>(std::lround(sum / (stepX * stepY))));
    }
  }
  return out;
}

Rgba Scaled(const Rgba& source, int32_t width, int32_t height, FittedSize size,
            size_t rowBytes = 0) {
  Rgba out(static_cast<size_t>(size.Width) * size.Height * 4, 0xEE);
  ScaleToFit(source.data(), width, height, rowBytes != 0 ? rowBytes : width * 4u, size, out.data());
  return out;
}

TEST(ScaleToFitTest, WholeBlocksBecomeTheirMeans) {
  // 4 x 2 in two 2 x 2 blocks, each of two colours: the halving gives each block's mean.
  const Rgba source = {
      10, 20, 30, 255, 30, 40, 50, 255, 0, 0, 0, 255, 200, 100, 0, 255,  //
      10, 20, 30, 255, 30, 40, 50, 255, 0, 0, 0, 255, 200, 100, 0, 255,
  };
  EXPECT_EQ(Scaled(source, 4, 2, {2, 1}), (Rgba{20, 30, 40, 255, 100, 50, 0, 255}));
  // All of it in one pixel.
  EXPECT_EQ(Scaled(source, 4, 2, {1, 1}), (Rgba{60, 40, 20, 255}));
}

TEST(ScaleToFitTest, PixelsCoveredInPartCountForThatPart) {
  // Three pixels into two: each output covers one whole pixel and half of the middle one.
  const Rgba row = {0, 0, 0, 255, 90, 90, 90, 255, 180, 180, 180, 255};
  EXPECT_EQ(Scaled(row, 3, 1, {2, 1}), (Rgba{30, 30, 30, 255, 150, 150, 150, 255}));
  // The same down a column.
  EXPECT_EQ(Scaled(row, 1, 3, {1, 2}), (Rgba{30, 30, 30, 255, 150, 150, 150, 255}));
  // A mean half way between two values rounds up.
  EXPECT_EQ(Scaled(Rgba{0, 0, 0, 0, 1, 3, 255, 254}, 2, 1, {1, 1}), (Rgba{1, 2, 128, 127}));
}

TEST(ScaleToFitTest, OddSizesMatchTheExactMeans) {
  std::mt19937 random(7);
  for (const auto& [width, height, size] :
       {std::tuple{7, 5, FittedSize{3, 2}}, std::tuple{13, 11, FittedSize{5, 4}},
        std::tuple{9, 9, FittedSize{9, 9}}, std::tuple{31, 3, FittedSize{7, 1}},
        std::tuple{2, 17, FittedSize{1, 6}}}) {
    Rgba source(static_cast<size_t>(width) * height * 4);
    for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
    const Rgba got = Scaled(source, width, height, size);
    const Rgba want = ReferenceScale(source, width, height, size);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      // The two round the same mean; floating point may land either side of a half.
      EXPECT_NEAR(got[i], want[i], 1) << width << "x" << height << " byte " << i;
    }
    if (size.Width == width && size.Height == height) {
      EXPECT_EQ(got, source);
    }
  }
}

TEST(ScaleToFitTest, RowsApartByMoreThanTheirPixelsLeaveThePaddingOut) {
  // 2 x 2 pixels in rows of 12 bytes; the spare bytes hold a colour that must not show.
  Rgba source(24, 0xFF);
  for (size_t row = 0; row < 2; ++row) {
    for (size_t i = 0; i < 8; ++i) source[row * 12 + i] = 40;
  }
  EXPECT_EQ(Scaled(source, 2, 2, {1, 1}, 12), (Rgba{40, 40, 40, 40}));
}

TEST(ScaleToFitTest, AnEnlargingOrEmptySizeWritesNothing) {
  const Rgba source(4 * 4, 9);
  EXPECT_EQ(Scaled(source, 2, 2, {3, 2}), Rgba(24, 0xEE));
  EXPECT_EQ(Scaled(source, 2, 2, {0, 2}), Rgba{});
}

}  // namespace
}  // namespace tavro
