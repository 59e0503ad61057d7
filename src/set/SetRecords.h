// The records of a loaded set: one CellEntry per accepted cel line, one ObjectEntry per object
// slot, and the bitmap header that describes the composed map to the display.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tavro {

inline constexpr int kMaxCells = 1820;           // cel lines taken from one configuration
inline constexpr int kMaxPaletteLines = 32;      // '%' lines taken
inline constexpr int kObjectNumberLimit = 1170;  // object numbers 0..1169 are valid
inline constexpr int kMaxPlayfieldWidth = 1280;
inline constexpr int kMaxPlayfieldHeight = 1024;
inline constexpr int kSetCount = 10;
inline constexpr int kGroupCount = 10;
inline constexpr int kPaletteColours = 256;
inline constexpr int kNameField = 23;  // a cel file name: up to 19 bytes and a zero byte
inline constexpr int kPaletteNameField = 20;
inline constexpr int kTokenLength = 19;  // CopyToken and CopyQuoted copy at most this many bytes

// Bits of LoadErrors.
inline constexpr int32_t kErrTooManyCells = 0x20;
inline constexpr int32_t kErrBadCell = 0x40;
inline constexpr int32_t kErrTooLargeCell = 0x80;
inline constexpr int32_t kErrCelNotLoadable = 0x100;
inline constexpr int32_t kErrNoMemory = 0x200;

struct CellEntry {
  std::vector<uint8_t> Pixels;  // decoded pixels; empty = none (the cel did not load)
  int16_t ObjectNumber = 0;
  int16_t OffsetX = 0;
  int16_t OffsetY = 0;
  uint16_t SetMask = 0;
  uint16_t Width = 0;
  uint16_t Height = 0;
  int16_t Transparency = 0;
  uint8_t PaletteNumber = 0;
  uint8_t Unmapped = 0;
  uint8_t BitsPerPixel = 0;
  char FileName[kNameField] = {};
};

inline constexpr uint8_t kHasExtent = 0x01;
inline constexpr uint8_t kInCurrentSet = 0x02;

struct ObjectEntry {
  int16_t Number = 0;
  uint8_t Flags = 0;
  int16_t FixTotal = 0;
  int16_t FixRemaining = 0;
  int16_t ExtentRight = 0;
  int16_t ExtentBottom = 0;
  int16_t X = 0;
  int16_t Y = 0;
  int16_t ExtentLeft = 0;
  int16_t ExtentTop = 0;
  std::array<int16_t, kSetCount> SetX = {};
  std::array<int16_t, kSetCount> SetY = {};
};

struct RgbQuad {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;
};

// The colour table the display uses: ColourCount entries of red, green, blue.
struct PaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Flags = 0;
};

}  // namespace tavro
