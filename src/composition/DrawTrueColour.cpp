// Cels into the true-colour map: indexed cels through the current group's colours, opaque or
// blended by their transparency level, and 32-bit cels blended by their alpha channel. All
// blending is integer arithmetic with a shift by 8.
#include <algorithm>
#include <cstring>

#include "composition/CelDrawing.h"

namespace tavro::compose {

namespace {

void OpaqueRun(uint8_t* destination, const uint8_t* source, int32_t count,
               const RgbQuad* colours) {
  for (int32_t x = 0; x < count; ++x, destination += 3) {
    const uint8_t index = source[x];
    if (index == 0) continue;
    const RgbQuad& colour = colours[index];
    destination[0] = colour.Blue;
    destination[1] = colour.Green;
    destination[2] = colour.Red;
  }
}

// products holds colour x (256 - level) for every index and channel, worked out once per cel.
void BlendedRun(uint8_t* destination, const uint8_t* source, int32_t count,
                const uint16_t (*products)[3], uint32_t level) {
  for (int32_t x = 0; x < count; ++x, destination += 3) {
    const uint8_t index = source[x];
    if (index == 0) continue;
    const uint16_t* product = products[index];
    for (int channel = 0; channel < 3; ++channel) {
      destination[channel] =
          static_cast<uint8_t>((product[channel] + destination[channel] * level) >> 8);
    }
  }
}

void AlphaRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  for (int32_t x = 0; x < count; ++x, destination += 3, source += 4) {
    const uint32_t alpha = source[3];
    if (alpha == 0) continue;
    if (alpha == 255) {
      std::memcpy(destination, source, 3);
      continue;
    }
    // The weights add up to 255, not 256, so a nearly opaque pixel comes out a shade darker;
    // pictures made for this program expect exactly that.
    for (int channel = 0; channel < 3; ++channel) {
      destination[channel] = static_cast<uint8_t>(
          (source[channel] * alpha + destination[channel] * (255 - alpha)) >> 8);
    }
  }
}

}  // namespace

void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours) {
  // Levels outside 0..255 come unchecked from the configuration; below 0 draws opaque, above
  // 255 as nearly invisible.
  const int32_t level = std::clamp<int32_t>(cell.Transparency, 0, 255);
  uint16_t products[kPaletteColours][3];
  if (level != 0) {
    for (int32_t i = 0; i < kPaletteColours; ++i) {
      products[i][0] = static_cast<uint16_t>(colours[i].Blue * (256 - level));
      products[i][1] = static_cast<uint16_t>(colours[i].Green * (256 - level));
      products[i][2] = static_cast<uint16_t>(colours[i].Red * (256 - level));
    }
  }
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
    uint8_t* destination = map.At(region.mapLeft, region.mapTop + j);
    if (level == 0) {
      OpaqueRun(destination, source, region.width, colours);
    } else {
      BlendedRun(destination, source, region.width, products, static_cast<uint32_t>(level));
    }
  }
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 4);
    AlphaRun(map.At(region.mapLeft, region.mapTop + j), source, region.width);
  }
}

}  // namespace tavro::compose
