// Decoding a palette file held in memory into its colour groups. Where the colours go in the
// set's shared table (which index, which file drops colour 0) is the loader's business; see
// LoadPaletteFile in SetImageFiles.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imagefiles/PaletteFormat.h"

namespace tavro {

// The most bytes a palette file can hold that the decoder reads: a full new-form header and ten
// groups of 256 24-bit colours. Whatever follows is ignored, so a caller need read no further.
inline constexpr size_t kPaletteFileBytesRead = kPaletteNewHeaderSize + 10 * 256 * 3;

struct DecodedPalette {
  PaletteHeader Header;
  // Header.Groups groups of Header.ColoursPerGroup colours, group after group.
  std::vector<PaletteColour> Colours;

  const PaletteColour& At(int32_t group, int32_t index) const {
    return Colours[static_cast<size_t>(group) * Header.ColoursPerGroup + index];
  }
};

// Decodes the palette file whose bytes are `bytes`; nothing when its new-form header fails its
// checks. Colours a short file lacks are black.
std::optional<DecodedPalette> DecodePalette(std::span<const uint8_t> bytes);

}  // namespace tavro
