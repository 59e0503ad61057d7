#include <cstring>

#include "imagefiles/CelFormat.h"
#include "platform/Bytes.h"
#include "set/SetRecords.h"

namespace tavro {
namespace {

bool HasMagic(const uint8_t* bytes, size_t count) {
  return count >= 4 && std::memcmp(bytes, "MiVO", 4) == 0;
}

// The new form's depth comes from the mark: 0x21 is always four bytes a pixel, whatever the
// depth byte says; 0x20 takes the depth byte, where 24 also means four bytes a pixel.
int32_t ReadNewFormDepth(const uint8_t* header, CelHeader& out) {
  const uint8_t mark = header[4];
  if (mark == kCelMarkTrueColour) {
    out.TrueColourMark = true;
    out.BitsPerPixel = 24;
    return 0;
  }
  if (mark != kCelMarkIndexed) return kErrBadCell;
  out.BitsPerPixel = header[5];
  if (out.BitsPerPixel != 4 && out.BitsPerPixel != 8 && out.BitsPerPixel != 24) {
    return kErrBadCell;
  }
  return 0;
}

}  // namespace

int32_t ReadCelHeader(const uint8_t* bytes, size_t count, CelHeader& header) {
  header = CelHeader{};
  uint8_t raw[kCelNewHeaderSize] = {};
  if (count != 0) std::memcpy(raw, bytes, count < sizeof raw ? count : sizeof raw);
  if (HasMagic(bytes, count)) {
    header.NewForm = true;
    header.HeaderSize = kCelNewHeaderSize;
    if (const int32_t error = ReadNewFormDepth(raw, header)) return error;
    header.Width = Le16(raw + 8);
    header.Height = Le16(raw + 10);
    header.OffsetX = static_cast<int16_t>(Le16(raw + 12));
    header.OffsetY = static_cast<int16_t>(Le16(raw + 14));
  } else {
    header.HeaderSize = kCelOldHeaderSize;
    header.BitsPerPixel = 4;
    header.Width = Le16(raw);
    header.Height = Le16(raw + 2);
  }
  if (header.Width == 0 || header.Height == 0) return kErrBadCell;
  return 0;
}

size_t CelSourceBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  const size_t w = width;
  const size_t h = height;
  switch (bitsPerPixel) {
    case 4:
      return (w + 1) / 2 * h;
    case 8:
      return w * h;
    default:
      return 4 * w * h;
  }
}

size_t CelDecodedBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  const size_t pixels = static_cast<size_t>(width) * height;
  return bitsPerPixel == 24 ? 4 * pixels : pixels;
}

}  // namespace tavro
