// Indexed cels into the 256-colour map. The run is processed eight pixels at a time: a cel row is
// mostly opaque or mostly empty, and a word-wide select avoids a branch per pixel.
#include <cstring>

#include "composition/CelDrawing.h"

namespace tavro::compose {

namespace {

constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

// 0xFF in every byte of `word` that is non-zero, 0x00 elsewhere.
uint64_t NonZeroByteMask(uint64_t word) {
  const uint64_t highBits = (((word & kLow7) + kLow7) | word) & ~kLow7;
  return (highBits >> 7) * 0xFF;
}

void OverlayRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  int32_t x = 0;
  for (; x + 8 <= count; x += 8) {
    uint64_t src;
    std::memcpy(&src, source + x, 8);
    if (src == 0) continue;
    const uint64_t mask = NonZeroByteMask(src);
    uint64_t dst = src;
    if (mask != ~uint64_t{0}) {
      std::memcpy(&dst, destination + x, 8);
      dst = (dst & ~mask) | (src & mask);
    }
    std::memcpy(destination + x, &dst, 8);
  }
  for (; x < count; ++x) {
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
