// Decoding a cel file held in memory. The decoder owns every rule the file alone decides: the
// header checks, the size bound, the pixel layouts and what a short file means. It knows nothing
// of the document: the caller passes the playfield and palette base in force and attaches the
// result (see CelFileLoader in SetImageFiles.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imagefiles/CelFormat.h"
#include "set/SetRecords.h"

namespace tavro {

struct CelDecodeOptions {
  // A cel must end within the playfield in force when it loads; the size alone is further
  // bounded by the largest playfield, whatever these say.
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
