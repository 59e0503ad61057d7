// The pixel rules of composition, one pixel at a time. All blending is integer arithmetic with a
// shift by 8, on a pixel's channels widened to 16-bit lanes of one 64-bit word: a channel times a
// weight stays below 65,536, so one multiplication blends all channels.
#include <algorithm>
#include <bit>
#include <cstring>

#include "composition/PixelRuns.h"

namespace tavro::compose::scalar {

namespace {

uint64_t Widen(uint32_t pixel) {
  const uint64_t p = pixel;
  return (p & 0xFF) | (p & 0xFF00) << 8 | (p & 0xFF0000) << 16 | (p & 0xFF000000) << 24;
}

constexpr uint32_t kOpaque = 0xFF000000u;

// The three colour channels; the fourth byte comes out 255.
uint32_t Narrow(uint64_t lanes) {
  return static_cast<uint32_t>((lanes & 0xFF) | (lanes >> 8 & 0xFF00) | (lanes >> 16 & 0xFF0000)) |
         kOpaque;
}

constexpr uint64_t kLaneBytes = 0x00FF00FF00FF00FFULL;

uint32_t BlendLevel(uint32_t beneath, uint8_t index, const uint32_t* words, uint32_t level) {
  const uint64_t blended =
      ((Widen(words[index]) * (256 - level) + Widen(beneath) * level) >> 8) & kLaneBytes;
  return index != 0 ? Narrow(blended) : beneath;
}

// A cel pixel as blue, green, red, alpha turned into the map's order, red first.
uint32_t SwapRedAndBlue(uint32_t pixel) {
  return (pixel & 0xFF00FF00u) | (pixel >> 16 & 0xFF) | (pixel & 0xFF) << 16;
}

// The weights add up to 255, not 256, so a nearly opaque pixel comes out a shade darker; the
// pictures of existing sets were made to look right that way.
uint32_t BlendAlpha(uint32_t beneath, uint32_t celInFileOrder) {
  const uint32_t cel = SwapRedAndBlue(celInFileOrder);
  const uint32_t alpha = cel >> 24;
  const uint64_t blended =
      ((Widen(cel) * alpha + Widen(beneath) * (255 - alpha)) >> 8) & kLaneBytes;
  const uint32_t chosen = alpha == 255 ? cel : Narrow(blended);
  return alpha == 0 ? beneath : chosen;
}

}  // namespace

void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x) {
    if (source[x] != 0) destination[x] = source[x];
  }
}

void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words) {
  for (int32_t x = 0; x < count; ++x) {
    const uint8_t index = source[x];
    destination[x] = index != 0 ? words[index] | kOpaque : destination[x];
  }
}

void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level) {
  if (level == 0) {
    OpaqueColourRun(destination, source, count, words);
    return;
  }
  for (int32_t x = 0; x < count; ++x) {
    destination[x] = BlendLevel(destination[x], source[x], words, level);
  }
}

void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x) {
    uint32_t cel;
    std::memcpy(&cel, source + 4 * x, 4);
    destination[x] = BlendAlpha(destination[x], cel);
  }
}

void PackRgbRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x, destination += 3, source += 4) {
    destination[0] = source[0];
    destination[1] = source[1];
    destination[2] = source[2];
  }
}

void PackBgrRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x, destination += 3, source += 4) {
    destination[0] = source[2];
    destination[1] = source[1];
    destination[2] = source[0];
  }
}

void CoverIndexRun(uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x, ++bit) {
    if (source[x] != 0) coverage[bit >> 3] |= static_cast<uint8_t>(1u << (bit & 7));
  }
}

void CoverAlphaRun(uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x, ++bit) {
    if (source[4 * x + 3] == 255) coverage[bit >> 3] |= static_cast<uint8_t>(1u << (bit & 7));
  }
}

namespace {

// Each row's span (or the whole row, without spans or `HonourSpans`) through `run`; pixels of
// `DestinationBytes` and `SourceBytes` bytes.
template <typename Destination, int DestinationBytes, int SourceBytes, class Run,
          bool HonourSpans = true>
void EachRow(const RowBlock& block, const Run& run) {
  for (int32_t j = 0; j < block.Rows; ++j) {
    const RowSpan span = HonourSpans && block.Spans != nullptr
                             ? block.Spans[j]
                             : RowSpan{0, static_cast<uint16_t>(std::max(block.Count, 0))};
    if (span.End <= span.Begin) continue;
    run(reinterpret_cast<Destination*>(static_cast<uint8_t*>(block.Destination) +
                                       j * block.DestinationStride + span.Begin * DestinationBytes),
        block.Source + j * block.SourceStride + span.Begin * SourceBytes, span.End - span.Begin);
  }
}

// Each row's span through `run(coverage row, bit, source, count)`.
template <class Run>
void EachCoverageRow(const RowBlock& block, int32_t sourceBytes, int32_t firstBit, const Run& run) {
  for (int32_t j = 0; j < block.Rows; ++j) {
    const RowSpan span = block.Spans != nullptr
                             ? block.Spans[j]
                             : RowSpan{0, static_cast<uint16_t>(std::max(block.Count, 0))};
    if (span.End <= span.Begin) continue;
    run(static_cast<uint8_t*>(block.Destination) + j * block.DestinationStride,
        firstBit + span.Begin, block.Source + j * block.SourceStride + span.Begin * sourceBytes,
        span.End - span.Begin);
  }
}

}  // namespace

void OverlayIndexRows(const RowBlock& block) {
  EachRow<uint8_t, 1, 1, decltype(OverlayIndexRun), false>(block, OverlayIndexRun);
}
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level) {
  EachRow<uint32_t, 4, 1>(block, [&](uint32_t* destination, const uint8_t* source, int32_t count) {
    LevelColourRun(destination, source, count, words, level);
  });
}
void AlphaRows(const RowBlock& block) { EachRow<uint32_t, 4, 4>(block, AlphaRun); }
void PackRgbRows(const RowBlock& block) {
  EachRow<uint8_t, 3, 4, decltype(PackRgbRun), false>(block, PackRgbRun);
}
void PackBgrRows(const RowBlock& block) {
  EachRow<uint8_t, 3, 4, decltype(PackBgrRun), false>(block, PackBgrRun);
}
void CoverIndexRows(const RowBlock& block, int32_t firstBit) {
  EachCoverageRow(block, 1, firstBit, CoverIndexRun);
}
void CoverAlphaRows(const RowBlock& block, int32_t firstBit) {
  EachCoverageRow(block, 4, firstBit, CoverAlphaRun);
}

}  // namespace tavro::compose::scalar

namespace tavro::compose {

// Word by word: the scalar code is as quick as vectors for rows a few words long.
RowSpan UncoveredSpan(const uint64_t* coverage, int32_t first, int32_t count) {
  const int32_t last = first + count - 1;
  int32_t begin = -1;
  for (int32_t x = first; x <= last; x = (x | 63) + 1) {
    const uint64_t gaps = ~coverage[x >> 6] >> (x & 63);
    if (gaps != 0) {
      begin = x + std::countr_zero(gaps);
      break;
    }
  }
  if (begin < 0 || begin > last) return {};
  int32_t end = begin + 1;
  for (int32_t x = last;; x = (x & ~63) - 1) {
    const uint64_t gaps = ~coverage[x >> 6] << (63 - (x & 63));
    if (gaps != 0) {
      end = x - std::countl_zero(gaps) + 1;
      break;
    }
  }
  return {static_cast<uint16_t>(begin - first), static_cast<uint16_t>(end - first)};
}

}  // namespace tavro::compose
