// The vector runs against the scalar rules they must match bit for bit, on every instruction set
// this processor has: rows of every length up to 70 (every way a row can end short of a whole
// vector), starting at every alignment, over random pixels mixed with the edge values. Buffers
// are sized to the row exactly, so a run that reads or writes past it shows under the sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "composition/PixelRuns.h"

namespace tavro::compose {
namespace {

constexpr int32_t kLongestRow = 70;
constexpr int32_t kAlignments = 16;

// One row as a block.
RowBlock Row(void* destination, const uint8_t* source, int32_t count) {
  return {destination, 0, source, 0, count, 1};
}

class PixelRunsTest : public ::testing::Test {
 protected:
  // A byte that is one of `edges` half of the time, otherwise anything.
  uint8_t Byte(std::initializer_list<uint8_t> edges) {
    if (random_() % 2 == 0) return *(edges.begin() + random_() % edges.size());
    return static_cast<uint8_t>(random_());
  }
  std::vector<uint8_t> Bytes(size_t skip, size_t count, std::initializer_list<uint8_t> edges) {
    std::vector<uint8_t> bytes(skip + count);
    for (uint8_t& b : bytes) b = Byte(edges);
    return bytes;
  }
  // Work-area words, spare byte included: a blend must clear it, a pixel left alone keep it.
  std::vector<uint32_t> Words(size_t skip, size_t count) {
    std::vector<uint32_t> words(skip + count);
    for (uint32_t& w : words) w = static_cast<uint32_t>(random_());
    return words;
  }
  // Every length and alignment: `run(lengthAndAlignment)` compares one row.
  template <typename Fn>
  void EveryRow(const Fn& run) {
    ForEachRunTarget([&](const char* target) {
      for (int32_t count = 1; count <= kLongestRow; ++count) {
        for (int32_t skip = 0; skip < kAlignments; ++skip) {
          SCOPED_TRACE(std::string(target) + ", " + std::to_string(count) + " pixels at +" +
                       std::to_string(skip));
          run(count, static_cast<size_t>(skip));
          if (HasFatalFailure() || HasFailure()) return;
        }
      }
    });
  }

  std::mt19937_64 random_{20260};
  uint32_t colourWords_[256];
  void SetUp() override {
    for (uint32_t& w : colourWords_) w = static_cast<uint32_t>(random_()) & 0xFFFFFF;
  }
};

TEST_F(PixelRunsTest, OverlayOfIndicesMatchesTheScalarRule) {
  EveryRow([&](int32_t count, size_t skip) {
    const auto source = Bytes(skip, count, {0, 0, 1, 255});
    const auto map = Bytes(skip, count, {0, 255});
    auto vector = map, scalar = map;
    OverlayIndexRows(Row(vector.data() + skip, source.data() + skip, count));
    scalar::OverlayIndexRun(scalar.data() + skip, source.data() + skip, count);
    ASSERT_EQ(vector, scalar);
  });
}

TEST_F(PixelRunsTest, ColourLookupAndLevelBlendMatchTheScalarRule) {
  for (const uint32_t level : {0u, 1u, 128u, 254u, 255u}) {
    SCOPED_TRACE("level " + std::to_string(level));
    EveryRow([&](int32_t count, size_t skip) {
      const auto source = Bytes(skip, count, {0, 0, 1, 255});
      const auto map = Words(skip, count);
      auto vector = map, scalar = map;
      LevelColourRows(Row(vector.data() + skip, source.data() + skip, count), colourWords_, level);
      scalar::LevelColourRun(scalar.data() + skip, source.data() + skip, count, colourWords_,
                             level);
      ASSERT_EQ(vector, scalar);
      if (level != 0) return;
      scalar = map;
      scalar::OpaqueColourRun(scalar.data() + skip, source.data() + skip, count, colourWords_);
      ASSERT_EQ(vector, scalar);
    });
  }
}

TEST_F(PixelRunsTest, AlphaBlendMatchesTheScalarRule) {
  EveryRow([&](int32_t count, size_t skip) {
    // Channels and alpha alike drawn from the edges: alpha 0, 1, 254 and 255 on white and black.
    const auto source = Bytes(4 * skip, 4 * static_cast<size_t>(count), {0, 1, 254, 255});
    const auto map = Words(skip, count);
    auto vector = map, scalar = map;
    AlphaRows(Row(vector.data() + skip, source.data() + 4 * skip, count));
    scalar::AlphaRun(scalar.data() + skip, source.data() + 4 * skip, count);
    ASSERT_EQ(vector, scalar);
  });
}

TEST_F(PixelRunsTest, ExpandingAndPackingMatchTheScalarRule) {
  EveryRow([&](int32_t count, size_t skip) {
    const auto pixels = Bytes(3 * skip, 3 * static_cast<size_t>(count), {0, 255});
    const auto words = Words(skip, count);
    auto vectorWords = words, scalarWords = words;
    ExpandRows(Row(vectorWords.data() + skip, pixels.data() + 3 * skip, count));
    scalar::ExpandRun(scalarWords.data() + skip, pixels.data() + 3 * skip, count);
    ASSERT_EQ(vectorWords, scalarWords);
    auto vectorPixels = pixels, scalarPixels = pixels;
    PackRows(Row(vectorPixels.data() + 3 * skip,
                 reinterpret_cast<const uint8_t*>(words.data() + skip), count));
    scalar::PackRun(scalarPixels.data() + 3 * skip, words.data() + skip, count);
    ASSERT_EQ(vectorPixels, scalarPixels);
  });
}

// Blocks as the composer passes them: cel rows bottom-up (a negative stride), map rows with a
// gap between them, more rows than the runs ask for ahead, every run against its scalar rule.
TEST_F(PixelRunsTest, BlocksWalkTheirStrides) {
  constexpr int32_t kWidth = 70, kRows = 40, kGap = 5, kStride = kWidth + kGap;
  ForEachRunTarget([&](const char* target) {
    SCOPED_TRACE(target);
    const auto cel = Bytes(0, 4 * kWidth * kRows, {0, 0, 1, 254, 255});
    const auto words = Words(0, static_cast<size_t>(kStride) * kRows);
    const auto bytes = Bytes(0, 3 * static_cast<size_t>(kStride) * kRows, {0, 255});
    // The cel's top row is its last stored one.
    const auto celRows = [&](void* map, ptrdiff_t mapStride, int pixelBytes) {
      return RowBlock{
          map,    mapStride, cel.data() + (kRows - 1) * kWidth * pixelBytes, -kWidth * pixelBytes,
          kWidth, kRows};
    };
    auto vectorWords = words, scalarWords = words;
    LevelColourRows(celRows(vectorWords.data(), 4 * kStride, 1), colourWords_, 128);
    scalar::LevelColourRows(celRows(scalarWords.data(), 4 * kStride, 1), colourWords_, 128);
    AlphaRows(celRows(vectorWords.data(), 4 * kStride, 4));
    scalar::AlphaRows(celRows(scalarWords.data(), 4 * kStride, 4));
    ASSERT_EQ(vectorWords, scalarWords);
    auto vectorBytes = bytes, scalarBytes = bytes;
    OverlayIndexRows(celRows(vectorBytes.data(), kStride, 1));
    scalar::OverlayIndexRows(celRows(scalarBytes.data(), kStride, 1));
    ASSERT_EQ(vectorBytes, scalarBytes);
    const RowBlock expand{vectorWords.data(), 4 * kStride, bytes.data(),
                          3 * kStride,        kWidth,      kRows};
    ExpandRows(expand);
    scalar::ExpandRows({scalarWords.data(), 4 * kStride, bytes.data(), 3 * kStride, kWidth, kRows});
    ASSERT_EQ(vectorWords, scalarWords);
    const auto* wordBytes = reinterpret_cast<const uint8_t*>(words.data());
    PackRows({vectorBytes.data(), 3 * kStride, wordBytes, 4 * kStride, kWidth, kRows});
    scalar::PackRows({scalarBytes.data(), 3 * kStride, wordBytes, 4 * kStride, kWidth, kRows});
    ASSERT_EQ(vectorBytes, scalarBytes);
  });
}

}  // namespace
}  // namespace tavro::compose
