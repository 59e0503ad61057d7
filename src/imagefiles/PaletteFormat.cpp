#include "imagefiles/PaletteFormat.h"

#include <cstring>

#include "platform/Bytes.h"

namespace tavro {
namespace {

uint8_t Widen(uint8_t nibble) { return static_cast<uint8_t>((nibble & 0x0F) * 17); }

}  // namespace

bool ReadPaletteHeader(const uint8_t* bytes, size_t count, PaletteHeader& header) {
  header = PaletteHeader{};
  if (count < 4 || std::memcmp(bytes, "MiVO", 4) != 0) return true;  // old form, from byte 0
  uint8_t raw[kPaletteNewHeaderSize] = {};
  std::memcpy(raw, bytes, count < sizeof raw ? count : sizeof raw);
  header.NewForm = true;
  header.HeaderSize = kPaletteNewHeaderSize;
  header.Depth = raw[5];
  header.ColoursPerGroup = Le16(raw + 8);
  header.Groups = Le16(raw + 10);
  return raw[4] == kPaletteMark && (header.Depth == 12 || header.Depth == 24) &&
         header.ColoursPerGroup <= 256 && header.Groups <= 10;
}

PaletteColour DecodePaletteColour(const uint8_t* bytes, uint8_t depth) {
  if (depth == 24) return {bytes[0], bytes[1], bytes[2]};
  return {Widen(bytes[0] >> 4), Widen(bytes[1]), Widen(bytes[0])};
}

}  // namespace tavro
