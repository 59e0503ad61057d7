#include "imagefiles/PaletteDecoder.h"

#include <algorithm>
#include <array>

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

}  // namespace tavro
