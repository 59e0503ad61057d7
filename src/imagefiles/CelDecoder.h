// The cel file format: its two header forms, the pixel layouts and the in-memory form.
//
// Old form: width and height (16 bits each, little-endian), then 4-bit pixels at offset 4.
// New form: "MiVO", a mark (0x20 indexed, 0x21 32-bit), a depth byte, width, height and the
// cel's offset within its object at bytes 8..15, pixels at offset 32.
// Decoded cels keep one byte a pixel (palette base already added) or four bytes a pixel (blue,
// green, red, alpha), rows bottom-up, each row exactly `Width` pixels.
//
// Decoding a cel file held in memory. The decoder owns every rule the file alone decides: the
// header checks, the size bound, the pixel layouts and what a short file means. It knows nothing
// of the document: the caller passes the playfield and palette base in force and attaches the
// result (see CelFileLoader in SetImageFiles.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "set/SetRecords.h"

namespace tavro {

inline constexpr size_t kCelOldHeaderSize = 4;
inline constexpr size_t kCelNewHeaderSize = 32;
inline constexpr uint8_t kCelMarkIndexed = 0x20;
inline constexpr uint8_t kCelMarkTrueColour = 0x21;

// Which field refused a cel header.
enum class CelHeaderFault : uint8_t { None, Mark, Depth, Width, Height };

struct CelHeader {
  bool NewForm = false;
  bool TrueColourMark = false;  // mark 0x21: the document switches to true-colour composition
  uint8_t BitsPerPixel = 0;     // 4, 8 or 24 (24 = four bytes a pixel in file and memory)
  uint16_t Width = 0;
  uint16_t Height = 0;
  // Signed: a cel may reach left of or above its object's origin.
  int16_t OffsetX = 0;
  int16_t OffsetY = 0;
  size_t HeaderSize = 0;
  uint8_t Mark = 0;  // new form only
  CelHeaderFault Fault = CelHeaderFault::None;
};

// Reads the header from the first `count` bytes of a cel file (the caller passes at least the
// first 32 bytes when the file has them; missing header bytes read as 0). Returns 0, or the
// "bad cell" bit for a wrong mark, a depth other than 4, 8 or 24, or a zero width or height.
// `header` is filled as far as it was read, so the caller can see a 0x21 mark even on failure.
int32_t ReadCelHeader(const uint8_t* bytes, size_t count, CelHeader& header);

// Bytes of pixel data the decoder consumes for a cel of this size and depth.
size_t CelSourceBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
// Bytes of the decoded `Pixels` block.
size_t CelDecodedBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel);

// Turns raw pixel data into the decoded form. `source` holds CelSourceBytes(...) bytes exactly
// as read from the file (top row first); `destination` holds CelDecodedBytes(...) bytes.
// Indexed pixels other than 0 get `paletteBase` added modulo 256; 0 stays transparent.
void UnpackCelPixels(const uint8_t* source, uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                     uint8_t paletteBase, uint8_t* destination);

// The most pixels one cel may hold: 4096 x 4096, 64 MiB decoded at 32 bits. A cel that starts
// left of or above its object's origin may be wider or taller than any playfield, so its far edge
// does not bound its size; this does, so that a hostile header never asks for gigabytes.
inline constexpr uint64_t kMaxCelPixels = uint64_t{1} << 24;

struct CelDecodeOptions {
  // A cel must end within the playfield in force when it loads (its offset plus its size); its
  // size alone is further bounded by kMaxCelPixels.
  int32_t PlayfieldWidth = kMaxPlayfieldWidth;
  int32_t PlayfieldHeight = kMaxPlayfieldHeight;
  // Added modulo 256 to indexed pixels other than 0.
  uint8_t PaletteBase = 0;
};

struct DecodedCel {
  // 0, or the one load-error bit that refused the cel: kErrBadCell (header), kErrTooLargeCell
  // (does not fit the playfield) or kErrNoMemory.
  int32_t Error = 0;
  // Filled as far as it was read, even on failure: a 0x21 mark counts whether or not the cel
  // then loads, and a cel refused for memory alone has a valid size.
  CelHeader Header;
  // CelDecodedBytes(...) bytes in the layout of CelFormat.h; empty when Error is not 0.
  std::vector<uint8_t> Pixels;
};

// Decodes the cel whose file starts with `bytes`. Pixel data missing at the end of a short file
// decodes as transparent; bytes past the pixel data are ignored.
DecodedCel DecodeCel(std::span<const uint8_t> bytes, const CelDecodeOptions& options);

// How many leading bytes of a cel file DecodeCel reads, judged from its first bytes (pass at
// least kCelNewHeaderSize of them when the file has them). A refused header needs no more than
// itself, so a hostile size never makes the caller read or allocate.
size_t CelFileBytesRead(std::span<const uint8_t> head, const CelDecodeOptions& options);

}  // namespace tavro
