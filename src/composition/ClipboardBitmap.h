// The composed picture as the clipboard takes it: a device-independent bitmap of the whole
// playfield, one bitmap pixel per map pixel, and the same behind a file header as a complete
// .bmp file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "composition/ComposedMap.h"

namespace tavro {

inline constexpr size_t kDibHeaderBytes = 40;
inline constexpr size_t kBmpFileHeaderBytes = 14;

// What the bitmap shows: the top left width x height pixels of the map (the playfield), with the
// first `colourCount` entries of its colour table (the set's colours).
struct ClipboardPicture {
  const ComposedMap& Map;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t ColourCount = 0;
};

// The bitmap: a 40-byte header (width and height of the picture, rows bottom-up,
// no compression, no colour counts), the colour table, the rows each padded with zeros to a
// multiple of 4 bytes, and one spare zero byte.
//   256-colour map, colourCount 16 or less: 4 bits a pixel, 16 table entries, left pixel in the
//     high nibble. An index of 16 or more cannot be named in 4 bits and is written as 0.
//   256-colour map, more colours: 8 bits a pixel, 256 entries, the map rows as they are.
//   True-colour map: 24 bits a pixel (blue, green, red), no colour table, packed from the map's
//     words in one pass.
// Table entries from colourCount on are 0. Empty when there is no map, the map does not hold
// what its size promises, or memory runs out.
std::vector<uint8_t> MakeClipboardDib(const ClipboardPicture& picture);

// The bitmap behind the 14-byte file header ("BM", file size, offset of the pixels), so it can
// be written to disk or handed over as "image/bmp" as it is. Empty when the bitmap is.
std::vector<uint8_t> MakeClipboardBmpFile(const ClipboardPicture& picture);

}  // namespace tavro
