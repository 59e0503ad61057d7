// Indexed cels into the 256-colour map. Runs are processed sixteen or eight pixels at a time: a
// wide select of "cel pixel unless it is 0" avoids a branch per pixel.
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "composition/CelDrawing.h"

namespace tavro::compose {

namespace {

constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

// 0xFF in every byte of `word` that is non-zero, 0x00 elsewhere.
uint64_t NonZeroByteMask(uint64_t word) {
  const uint64_t highBits = (((word & kLow7) + kLow7) | word) & ~kLow7;
  return (highBits >> 7) * 0xFF;
}

// Overlaying is idempotent, so a run's ragged end is done as one more full-width step that
// overlaps pixels already done, instead of pixel by pixel with a branch each.
void OverlayWord(uint8_t* destination, const uint8_t* source) {
  uint64_t src;
  std::memcpy(&src, source, 8);
  const uint64_t mask = NonZeroByteMask(src);
  uint64_t dst;
  std::memcpy(&dst, destination, 8);
  dst = (dst & ~mask) | (src & mask);
  std::memcpy(destination, &dst, 8);
}

#ifdef __SSE2__
void OverlayVector(uint8_t* destination, const uint8_t* source) {
  const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
  const __m128i empty = _mm_cmpeq_epi8(src, _mm_setzero_si128());
  auto* at = reinterpret_cast<__m128i*>(destination);
  const __m128i dst = _mm_loadu_si128(at);
  _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(empty, dst), _mm_andnot_si128(empty, src)));
}
constexpr int32_t kStep = 16;
#else
void OverlayVector(uint8_t* destination, const uint8_t* source) {
  OverlayWord(destination, source);
  OverlayWord(destination + 8, source + 8);
}
constexpr int32_t kStep = 16;
#endif

void OverlayRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  if (count >= kStep) {
    for (int32_t x = 0; x + kStep <= count; x += kStep) OverlayVector(destination + x, source + x);
    if (count % kStep != 0) OverlayVector(destination + count - kStep, source + count - kStep);
    return;
  }
  if (count >= 8) {
    OverlayWord(destination, source);
    OverlayWord(destination + count - 8, source + count - 8);
    return;
  }
  for (int32_t x = 0; x < count; ++x) {
    if (source[x] != 0) destination[x] = source[x];
  }
}

}  // namespace

void DrawIndexedInto8(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
    OverlayRun(map.At(region.mapLeft, region.mapTop + j), source, region.width);
  }
}

}  // namespace tavro::compose
