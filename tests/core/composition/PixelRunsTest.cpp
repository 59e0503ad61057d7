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
    OverlayIndexRun(vector.data() + skip, source.data() + skip, count);
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
      LevelColourRun(vector.data() + skip, source.data() + skip, count, colourWords_, level);
      scalar::LevelColourRun(scalar.data() + skip, source.data() + skip, count, colourWords_,
                             level);
      ASSERT_EQ(vector, scalar);
      if (level != 0) return;
      vector = map;
      OpaqueColourRun(vector.data() + skip, source.data() + skip, count, colourWords_);
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
    AlphaRun(vector.data() + skip, source.data() + 4 * skip, count);
    scalar::AlphaRun(scalar.data() + skip, source.data() + 4 * skip, count);
    ASSERT_EQ(vector, scalar);
  });
}

TEST_F(PixelRunsTest, ExpandingAndPackingMatchTheScalarRule) {
  EveryRow([&](int32_t count, size_t skip) {
    const auto pixels = Bytes(3 * skip, 3 * static_cast<size_t>(count), {0, 255});
    const auto words = Words(skip, count);
    auto vectorWords = words, scalarWords = words;
    ExpandRun(vectorWords.data() + skip, pixels.data() + 3 * skip, count);
    scalar::ExpandRun(scalarWords.data() + skip, pixels.data() + 3 * skip, count);
    ASSERT_EQ(vectorWords, scalarWords);
    auto vectorPixels = pixels, scalarPixels = pixels;
    PackRun(vectorPixels.data() + 3 * skip, words.data() + skip, count);
    scalar::PackRun(scalarPixels.data() + 3 * skip, words.data() + skip, count);
    ASSERT_EQ(vectorPixels, scalarPixels);
  });
}

}  // namespace
}  // namespace tavro::compose
