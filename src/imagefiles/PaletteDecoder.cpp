#include "imagefiles/PaletteDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Bytes.h"

namespace tavro {

std::optional<DecodedPalette> DecodePalette(std::span<const uint8_t> bytes) {
  DecodedPalette palette;
  if (!ReadPaletteHeader(bytes.data(), bytes.size(), palette.Header)) return std::nullopt;
  const PaletteHeader& header = palette.Header;
  const size_t colourBytes = PaletteColourBytes(header.Depth);
  const size_t count = static_cast<size_t>(header.Groups) * header.ColoursPerGroup;
  palette.Colours.resize(count);
  const size_t start = std::min(header.HeaderSize, bytes.size());
  const size_t whole = std::min(count, (bytes.size() - start) / colourBytes);
  for (size_t i = 0; i < whole; ++i) {
    palette.Colours[i] = DecodePaletteColour(bytes.data() + start + i * colourBytes, header.Depth);
  }
  // A colour cut in the middle decodes from what is there and zeros, like the rest of the file.
  if (whole < count && start + whole * colourBytes < bytes.size()) {
    std::array<uint8_t, 3> cut{};
    std::copy(bytes.begin() + static_cast<ptrdiff_t>(start + whole * colourBytes), bytes.end(),
              cut.begin());
    palette.Colours[whole] = DecodePaletteColour(cut.data(), header.Depth);
  }
  return palette;
}

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
  header.Mark = raw[4];
  header.Depth = raw[5];
  header.ColoursPerGroup = Le16(raw + 8);
  header.Groups = Le16(raw + 10);
  if (header.Mark != kPaletteMark) {
    header.Fault = PaletteHeaderFault::Mark;
  } else if (header.Depth != 12 && header.Depth != 24) {
    header.Fault = PaletteHeaderFault::Depth;
  } else if (header.ColoursPerGroup > 256) {
    header.Fault = PaletteHeaderFault::Colours;
  } else if (header.Groups > 10) {
    header.Fault = PaletteHeaderFault::Groups;
  }
  return header.Fault == PaletteHeaderFault::None;
}

PaletteColour DecodePaletteColour(const uint8_t* bytes, uint8_t depth) {
  if (depth == 24) return {bytes[0], bytes[1], bytes[2]};
  return {Widen(bytes[0] >> 4), Widen(bytes[1]), Widen(bytes[0])};
}

}  // namespace tavro
