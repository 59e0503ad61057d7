// The cel decoder proper. File rows run top-down; the decoded block runs bottom-up like the
// composed map, so the composer copies rows without turning them. The palette base is folded in
// here through a 256-entry table, once per cel, so no pixel is looked at twice.
#include <array>
#include <cstring>

#include "imagefiles/CelFormat.h"

namespace tavro {
namespace {

using ShiftTable = std::array<uint8_t, 256>;

ShiftTable MakeShiftTable(uint8_t paletteBase) {
  ShiftTable table{};
  for (int v = 1; v < 256; ++v) table[v] = static_cast<uint8_t>(v + paletteBase);
  return table;
}

void UnpackRow4(const uint8_t* source, uint32_t width, const ShiftTable& shift, uint8_t* out) {
  const uint32_t pairs = width / 2;
  for (uint32_t i = 0; i < pairs; ++i) {
    const uint8_t packed = source[i];
    out[2 * i] = shift[packed >> 4];
    out[2 * i + 1] = shift[packed & 0x0F];
  }
  // An odd width leaves the low nibble of the row's last byte unused.
  if (width % 2 != 0) out[width - 1] = shift[source[pairs] >> 4];
}

void UnpackRow8(const uint8_t* source, uint32_t width, const ShiftTable& shift, uint8_t* out) {
  for (uint32_t i = 0; i < width; ++i) out[i] = shift[source[i]];
}

}  // namespace

void UnpackCelPixels(const uint8_t* source, uint32_t width, uint32_t height,
                     uint32_t bitsPerPixel, uint8_t paletteBase, uint8_t* destination) {
  if (width == 0 || height == 0) return;
  const size_t outRow = bitsPerPixel == 24 ? 4 * static_cast<size_t>(width) : width;
  const size_t inRow = CelSourceBytes(width, 1, bitsPerPixel);
  const ShiftTable shift = MakeShiftTable(paletteBase);
  for (uint32_t row = 0; row < height; ++row) {
    const uint8_t* in = source + row * inRow;
    uint8_t* out = destination + (height - 1 - row) * outRow;
    if (bitsPerPixel == 4) {
      UnpackRow4(in, width, shift, out);
    } else if (bitsPerPixel == 8) {
      UnpackRow8(in, width, shift, out);
    } else {
      std::memcpy(out, in, outRow);
    }
  }
}

}  // namespace tavro
