// The palette file format.
//
// Old form: no header; ten groups of 16 colours, 2 bytes a colour (12-bit layout), 320 bytes.
// New form: "MiVO", mark 0x10, depth 12 or 24, colours per group (at most 256) and number of
// groups (at most 10) at bytes 8..11; the groups follow from byte 32.
//
// Decoding a palette file held in memory into its colour groups. Where the colours go in the
// set's shared table (which index, which file drops colour 0) is the loader's business; see
// LoadPaletteFile in SetImageFiles.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavro {

inline constexpr size_t kPaletteNewHeaderSize = 32;
inline constexpr uint8_t kPaletteMark = 0x10;

// Which field refused a new-form palette header.
enum class PaletteHeaderFault : uint8_t { None, Mark, Depth, Colours, Groups };

struct PaletteHeader {
  bool NewForm = false;
  uint8_t Depth = 12;  // 12: 2 bytes a colour; 24: 3 bytes (red, green, blue)
  uint16_t ColoursPerGroup = 16;
  uint16_t Groups = 10;
  size_t HeaderSize = 0;  // where the colours begin
  uint8_t Mark = kPaletteMark;
  PaletteHeaderFault Fault = PaletteHeaderFault::None;  // the first field that failed
};

struct PaletteColour {
  uint8_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// Reads the header from the first `count` bytes of a palette file (up to 32). Returns false for a
// new-form header that fails its checks (mark, depth, more than 256 colours or 10 groups).
bool ReadPaletteHeader(const uint8_t* bytes, size_t count, PaletteHeader& header);

// Bytes one colour takes in a file of this depth.
inline size_t PaletteColourBytes(uint8_t depth) { return depth == 24 ? 3 : 2; }

// Decodes one colour. The 12-bit layout keeps red in the first byte's high nibble, blue in its
// low nibble and green in the second byte's low nibble; each nibble v widens to v * 17.
PaletteColour DecodePaletteColour(const uint8_t* bytes, uint8_t depth);

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
