// The vector runs against the scalar rules they must match bit for bit, on every instruction set
// this processor has: rows of every length up to 70 (every way a row can end short of a whole
// vector), starting at every alignment, over random pixels mixed with the edge values. Buffers
// are sized to the row exactly, so a run that reads or writes past it shows under the sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
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
  // Map words, fourth byte included: a drawn pixel must set it to 255, one left alone keep it.
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

TEST_F(PixelRunsTest, PackingMatchesTheScalarRule) {
  EveryRow([&](int32_t count, size_t skip) {
    const auto words = Bytes(4 * skip, 4 * static_cast<size_t>(count), {0, 255});
    const auto pixels = Bytes(3 * skip, 3 * static_cast<size_t>(count), {0, 255});
    auto vector = pixels, scalar = pixels;
    PackRgbRows(Row(vector.data() + 3 * skip, words.data() + 4 * skip, count));
    scalar::PackRgbRun(scalar.data() + 3 * skip, words.data() + 4 * skip, count);
    ASSERT_EQ(vector, scalar);
    PackBgrRows(Row(vector.data() + 3 * skip, words.data() + 4 * skip, count));
    scalar::PackBgrRun(scalar.data() + 3 * skip, words.data() + 4 * skip, count);
    ASSERT_EQ(vector, scalar);
  });
}

// Coverage bits from every bit within a byte on, so that the vectors' bits land shifted.
TEST_F(PixelRunsTest, CoveringMatchesTheScalarRules) {
  EveryRow([&](int32_t count, size_t skip) {
    const auto indices = Bytes(skip, count, {0, 0, 1, 255});
    const auto bgra = Bytes(4 * skip, 4 * static_cast<size_t>(count), {0, 254, 255, 255});
    const auto bit = static_cast<int32_t>(skip);
    const auto coverage = Bytes(0, (skip + count) / 8 + 16, {0, 255});
    auto vector = coverage, scalar = coverage;
    CoverIndexRows(Row(vector.data(), indices.data() + skip, count), bit);
    scalar::CoverIndexRun(scalar.data(), bit, indices.data() + skip, count);
    ASSERT_EQ(vector, scalar);
    CoverAlphaRows(Row(vector.data(), bgra.data() + 4 * skip, count), bit);
    scalar::CoverAlphaRun(scalar.data(), bit, bgra.data() + 4 * skip, count);
    ASSERT_EQ(vector, scalar);
  });
}

// The span search against a bit at a time, over rows across word edges: gaps at the ends only,
// inside only, scattered, none at all.
TEST_F(PixelRunsTest, UncoveredSpanRunsFromTheFirstGapToTheLast) {
  constexpr int32_t kBits = 200;
  for (int pattern = 0; pattern < 400; ++pattern) {
    uint64_t row[kBits / 64 + 2] = {};
    for (uint64_t& word : row) word = ~uint64_t{0};
    const auto gap = [&](int32_t x) { row[x / 64] &= ~(uint64_t{1} << (x % 64)); };
    const auto gaps = static_cast<int32_t>(random_() % 4);
    for (int32_t g = 0; g < gaps; ++g) gap(static_cast<int32_t>(random_() % kBits));
    if (pattern % 7 == 0) gap(0), gap(kBits - 1);
    const auto first = static_cast<int32_t>(random_() % kBits);
    const auto count = 1 + static_cast<int32_t>(random_() % (kBits - first));
    int32_t begin = -1, end = -1;
    for (int32_t x = 0; x < count; ++x) {
      if ((row[(first + x) / 64] >> ((first + x) % 64) & 1) != 0) continue;
      if (begin < 0) begin = x;
      end = x + 1;
    }
    const RowSpan span = UncoveredSpan(row, first, count);
    SCOPED_TRACE(std::to_string(first) + " + " + std::to_string(count));
    if (begin < 0) {
      ASSERT_GE(span.Begin, span.End);
    } else {
      ASSERT_EQ(span.Begin, begin);
      ASSERT_EQ(span.End, end);
    }
  }
}

// Blocks with a span a row: only the spans change, every run as its scalar rule does.
TEST_F(PixelRunsTest, BlocksWithSpansTouchOnlyTheSpans) {
  constexpr int32_t kWidth = 70, kRows = 30;
  ForEachRunTarget([&](const char* target) {
    SCOPED_TRACE(target);
    const auto cel = Bytes(0, 4 * kWidth * kRows, {0, 1, 255});
    std::vector<RowSpan> spans(kRows);
    for (RowSpan& span : spans) {
      const auto a = static_cast<uint16_t>(random_() % (kWidth + 1));
      const auto b = static_cast<uint16_t>(random_() % (kWidth + 1));
      span = random_() % 5 == 0 ? RowSpan{a, a} : RowSpan{std::min(a, b), std::max(a, b)};
    }
    const auto block = [&](void* map, int bytes, int pixelBytes) {
      return RowBlock{map,    kWidth * bytes, cel.data(),  kWidth * pixelBytes,
                      kWidth, kRows,          spans.data()};
    };
    const auto words = Words(0, kWidth * kRows);
    auto vector = words, scalar = words;
    LevelColourRows(block(vector.data(), 4, 1), colourWords_, 100);
    scalar::LevelColourRows(block(scalar.data(), 4, 1), colourWords_, 100);
    AlphaRows(block(vector.data(), 4, 4));
    scalar::AlphaRows(block(scalar.data(), 4, 4));
    ASSERT_EQ(vector, scalar);
    for (int32_t j = 0; j < kRows; ++j) {
      for (int32_t x = 0; x < kWidth; ++x) {
        if (x < spans[j].Begin || x >= spans[j].End) {
          ASSERT_EQ(vector[j * kWidth + x], words[j * kWidth + x]) << j << ", " << x;
        }
      }
    }
    // Coverage rows of 16 bytes, the block's column 0 at bit 5.
    const auto coverRows = [&](uint8_t* bits, int pixelBytes) {
      return RowBlock{bits, 16, cel.data(), kWidth * pixelBytes, kWidth, kRows, spans.data()};
    };
    std::vector<uint8_t> coverage(16 * kRows + 8, 0);
    auto covered = coverage;
    CoverIndexRows(coverRows(coverage.data(), 1), 5);
    scalar::CoverIndexRows(coverRows(covered.data(), 1), 5);
    CoverAlphaRows(coverRows(coverage.data(), 4), 5);
    scalar::CoverAlphaRows(coverRows(covered.data(), 4), 5);
    ASSERT_EQ(coverage, covered);
  });
}

// The scalar rules themselves, on one pixel each: the channels a cel file and the map put in
// different orders, and the fourth byte every drawn pixel gets.
TEST_F(PixelRunsTest, ScalarRulesKeepEachChannelInItsPlace) {
  const uint8_t cel[8] = {10, 20, 30, 255, 200, 100, 0, 128};  // blue, green, red, alpha
  uint32_t map[2] = {0x00112233u, 0x00000000u};
  scalar::AlphaRun(map, cel, 2);
  EXPECT_EQ(map[0], 0xFF0A141Eu);  // opaque: the cel's red 30 first, blue 10 third
  // (0 * 128 + 0 * 127) >> 8 red, (100 * 128) >> 8 green, (200 * 128) >> 8 blue.
  EXPECT_EQ(map[1], 0xFF643200u);
  const uint8_t rgb[] = {1, 2, 3, 99, 4, 5, 6, 99};
  uint8_t out[6];
  scalar::PackRgbRun(out, rgb, 2);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  scalar::PackBgrRun(out, rgb, 2);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  const uint8_t indices[] = {0, 1};
  uint32_t drawn[2] = {0x00ABCDEFu, 0};
  scalar::LevelColourRun(drawn, indices, 2, colourWords_, 0);
  EXPECT_EQ(drawn[0], 0x00ABCDEFu);  // index 0 leaves the map alone, fourth byte too
  EXPECT_EQ(drawn[1], colourWords_[1] | 0xFF000000u);
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
    const auto* wordBytes = reinterpret_cast<const uint8_t*>(words.data());
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
    // As the clipboard packs: bitmap rows bottom-up, each padded beyond its pixels.
    const auto packed = [&](uint8_t* out) {
      return RowBlock{
          out + 3 * kStride * (kRows - 1), -3 * kStride, wordBytes, 4 * kStride, kWidth, kRows};
    };
    PackBgrRows(packed(vectorBytes.data()));
    scalar::PackBgrRows(packed(scalarBytes.data()));
    ASSERT_EQ(vectorBytes, scalarBytes);
    PackRgbRows(packed(vectorBytes.data()));
    scalar::PackRgbRows(packed(scalarBytes.data()));
    ASSERT_EQ(vectorBytes, scalarBytes);
  });
}

}  // namespace
}  // namespace tavro::compose
