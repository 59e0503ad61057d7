// The cel decoder proper. File rows run top-down; the decoded block runs bottom-up like the
// composed map, so the composer copies rows without turning them. The palette base is added
// without branches (0 stays 0), which lets the compiler run the inner loops many pixels at a time.
#include <cstring>

#include "imagefiles/CelFormat.h"

namespace tavro {
namespace {

inline uint8_t Shift(uint8_t value, uint8_t base) {
  return static_cast<uint8_t>(value + (value != 0 ? base : 0));
}

void UnpackRow4(const uint8_t* __restrict source, uint32_t width, uint8_t base,
                uint8_t* __restrict out) {
  const uint32_t pairs = width / 2;
  for (uint32_t i = 0; i < pairs; ++i) {
    out[2 * i] = Shift(static_cast<uint8_t>(source[i] >> 4), base);
    out[2 * i + 1] = Shift(static_cast<uint8_t>(source[i] & 0x0F), base);
  }
  // An odd width leaves the low nibble of the row's last byte unused.
  if (width % 2 != 0) out[width - 1] = Shift(static_cast<uint8_t>(source[pairs] >> 4), base);
}

void UnpackRow8(const uint8_t* __restrict source, uint32_t width, uint8_t base,
                uint8_t* __restrict out) {
  // Most cels use the palette from its first entry: their rows are copied as they are.
  if (base == 0) {
    std::memcpy(out, source, width);
    return;
  }
  for (uint32_t i = 0; i < width; ++i) out[i] = Shift(source[i], base);
}

}  // namespace

void UnpackCelPixels(const uint8_t* source, uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                     uint8_t paletteBase, uint8_t* destination) {
  if (width == 0 || height == 0) return;
  const size_t outRow = bitsPerPixel == 24 ? 4 * static_cast<size_t>(width) : width;
  const size_t inRow = CelSourceBytes(width, 1, bitsPerPixel);
  for (uint32_t row = 0; row < height; ++row) {
    const uint8_t* in = source + row * inRow;
    uint8_t* out = destination + (height - 1 - row) * outRow;
    if (bitsPerPixel == 4) {
      UnpackRow4(in, width, paletteBase, out);
    } else if (bitsPerPixel == 8) {
      UnpackRow8(in, width, paletteBase, out);
    } else {
      std::memcpy(out, in, outRow);
    }
  }
}

}  // namespace tavro
