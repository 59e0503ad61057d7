// The cel decoder on bytes: the header first, then the size bound, then the pixels. A short file
// is decoded row by row as far as it goes rather than padded in a copy, so a cut backdrop costs
// no second buffer of its size. File rows run top-down; the decoded block runs bottom-up like the
// composed map, so the composer copies rows without turning them. The palette base is added
// without branches (0 stays 0), which lets the compiler run the inner loops many pixels at a time.
#include "imagefiles/CelDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/Bytes.h"
#include "set/SetRecords.h"

namespace tavro {

namespace {

// The far edge within the playfield; the size within kMaxCelPixels (see there).
bool FitsPlayfield(const CelHeader& header, const CelDecodeOptions& options) {
  if (uint64_t{header.Width} * header.Height > kMaxCelPixels) return false;
  const int32_t right = header.OffsetX + header.Width;
  const int32_t bottom = header.OffsetY + header.Height;
  return right <= std::min(options.PlayfieldWidth, kMaxPlayfieldWidth) &&
         bottom <= std::min(options.PlayfieldHeight, kMaxPlayfieldHeight);
}

int32_t ReadAndCheckHeader(std::span<const uint8_t> bytes, const CelDecodeOptions& options,
                           CelHeader& header) {
  if (const int32_t error = ReadCelHeader(bytes.data(), bytes.size(), header)) return error;
  return FitsPlayfield(header, options) ? 0 : kErrTooLargeCell;
}

// `pixels` arrives zeroed, and a zero source byte decodes to 0 in every depth, so rows the file
// lacks are simply left alone.
void UnpackAvailableRows(std::span<const uint8_t> source, const CelHeader& header,
                         uint8_t paletteBase, std::vector<uint8_t>& pixels) {
  const uint32_t width = header.Width;
  const uint32_t height = header.Height;
  const uint32_t depth = header.BitsPerPixel;
  const size_t inRow = CelSourceBytes(width, 1, depth);
  const size_t outRow = CelDecodedBytes(width, 1, depth);
  const auto fullRows = static_cast<uint32_t>(std::min<size_t>(source.size() / inRow, height));
  // The top `fullRows` rows of the file are the last rows of the bottom-up block.
  UnpackCelPixels(source.data(), width, fullRows, depth, paletteBase,
                  pixels.data() + (height - fullRows) * outRow);
  const size_t rest = source.size() - fullRows * inRow;
  if (fullRows == height || rest == 0) return;
  std::vector<uint8_t> lastRow(inRow, 0);
  std::memcpy(lastRow.data(), source.data() + fullRows * inRow, rest);
  UnpackCelPixels(lastRow.data(), width, 1, depth, paletteBase,
                  pixels.data() + (height - fullRows - 1) * outRow);
}

}  // namespace

DecodedCel DecodeCel(std::span<const uint8_t> bytes, const CelDecodeOptions& options) {
  DecodedCel cel;
  cel.Error = ReadAndCheckHeader(bytes, options, cel.Header);
  if (cel.Error != 0) return cel;
  const CelHeader& header = cel.Header;
  const size_t need = CelSourceBytes(header.Width, header.Height, header.BitsPerPixel);
  const auto source =
      bytes.size() > header.HeaderSize
          ? bytes.subspan(header.HeaderSize).first(std::min(need, bytes.size() - header.HeaderSize))
          : std::span<const uint8_t>();
  try {
    std::vector<uint8_t> pixels(CelDecodedBytes(header.Width, header.Height, header.BitsPerPixel));
    if (source.size() == need) {
      UnpackCelPixels(source.data(), header.Width, header.Height, header.BitsPerPixel,
                      options.PaletteBase, pixels.data());
    } else {
      UnpackAvailableRows(source, header, options.PaletteBase, pixels);
    }
    cel.Pixels = std::move(pixels);
  } catch (const std::bad_alloc&) {
    cel.Error = kErrNoMemory;
  }
  return cel;
}

size_t CelFileBytesRead(std::span<const uint8_t> head, const CelDecodeOptions& options) {
  CelHeader header;
  if (ReadAndCheckHeader(head, options, header) != 0) return kCelNewHeaderSize;
  return header.HeaderSize + CelSourceBytes(header.Width, header.Height, header.BitsPerPixel);
}

namespace {

bool HasMagic(const uint8_t* bytes, size_t count) {
  return count >= 4 && std::memcmp(bytes, "MiVO", 4) == 0;
}

// The new form's depth comes from the mark: 0x21 is always four bytes a pixel, whatever the
// depth byte says; 0x20 takes the depth byte, where 24 also means four bytes a pixel.
int32_t ReadNewFormDepth(const uint8_t* header, CelHeader& out) {
  const uint8_t mark = header[4];
  out.Mark = mark;
  if (mark == kCelMarkTrueColour) {
    out.TrueColourMark = true;
    out.BitsPerPixel = 24;
    return 0;
  }
  if (mark != kCelMarkIndexed) {
    out.Fault = CelHeaderFault::Mark;
    return kErrBadCell;
  }
  out.BitsPerPixel = header[5];
  if (out.BitsPerPixel != 4 && out.BitsPerPixel != 8 && out.BitsPerPixel != 24) {
    out.Fault = CelHeaderFault::Depth;
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
  if (header.Width == 0 || header.Height == 0) {
    header.Fault = header.Width == 0 ? CelHeaderFault::Width : CelHeaderFault::Height;
    return kErrBadCell;
  }
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

namespace {

inline uint8_t Shift(uint8_t value, uint8_t base) {
  return static_cast<uint8_t>(value + (value != 0 ? base : 0));
}

void UnpackRow4(const uint8_t* __restrict source, uint32_t width, uint8_t base,
                uint8_t* __restrict out) {
  const uint32_t pairs = width / 2;
  for (uint32_t i = 0; i < pairs; ++i) {
    out[2 * i] = Shift(static_cast<uint8_t>(source[i] >> 4), base);
    out[2 * i + 1] = Shift(static_cast<uint8_t>(source[i] & 0x0F), base);
  }
  // An odd width leaves the low nibble of the row's last byte unused.
  if (width % 2 != 0) out[width - 1] = Shift(static_cast<uint8_t>(source[pairs] >> 4), base);
}

void UnpackRow8(const uint8_t* __restrict source, uint32_t width, uint8_t base,
                uint8_t* __restrict out) {
  // Most cels use the palette from its first entry: their rows are copied as they are.
  if (base == 0) {
    std::memcpy(out, source, width);
    return;
  }
  for (uint32_t i = 0; i < width; ++i) out[i] = Shift(source[i], base);
}

}  // namespace

void UnpackCelPixels(const uint8_t* source, uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                     uint8_t paletteBase, uint8_t* destination) {
  if (width == 0 || height == 0) return;
  const size_t outRow = bitsPerPixel == 24 ? 4 * static_cast<size_t>(width) : width;
  const size_t inRow = CelSourceBytes(width, 1, bitsPerPixel);
  for (uint32_t row = 0; row < height; ++row) {
    const uint8_t* in = source + row * inRow;
    uint8_t* out = destination + (height - 1 - row) * outRow;
    if (bitsPerPixel == 4) {
      UnpackRow4(in, width, paletteBase, out);
    } else if (bitsPerPixel == 8) {
      UnpackRow8(in, width, paletteBase, out);
    } else {
      std::memcpy(out, in, outRow);
    }
  }
}

}  // namespace tavro
