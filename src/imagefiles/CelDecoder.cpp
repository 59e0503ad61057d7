// The whole cel decode on bytes: header, size bound, then the pixels. A short file is decoded row
// by row as far as it goes rather than padded in a copy, so a cut backdrop costs no second
// buffer of its size.
#include "imagefiles/CelDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tavro {
namespace {

// A cel may start left of or above its object's origin, so its far edge alone does not bound
// its size; the size gets a bound of its own, the largest playfield, which is what keeps a
// hostile header from asking for gigabytes.
bool FitsPlayfield(const CelHeader& header, const CelDecodeOptions& options) {
  if (header.Width > kMaxPlayfieldWidth || header.Height > kMaxPlayfieldHeight) return false;
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

}  // namespace tavro
