#include "composition/ClipboardBitmap.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "composition/PixelRuns.h"

namespace tavro {
namespace {

struct DibForm {
  int BiBitCount = 8;
  int TableEntries = 256;
  size_t RowBytes = 0;  // one padded row of the bitmap
};

size_t PaddedRow(size_t bits) { return (bits + 31) / 32 * 4; }

DibForm ChooseForm(const ClipboardPicture& picture) {
  DibForm form;
  const auto width = static_cast<size_t>(picture.Width);
  if (picture.Map.Format() == PixelFormat::Rgbx32) {
    form.BiBitCount = 24;
    form.TableEntries = 0;
  } else if (picture.ColourCount <= 16) {
    form.BiBitCount = 4;
    form.TableEntries = 16;
  }
  form.RowBytes = PaddedRow(width * static_cast<size_t>(form.BiBitCount));
  return form;
}

void Put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  Put16(at, value);
  Put16(at + 2, value >> 16);
}

void WriteInfoHeader(uint8_t* at, const ClipboardPicture& picture, const DibForm& form) {
  Put32(at, kDibHeaderBytes);
  Put32(at + 4, static_cast<uint32_t>(picture.Width));
  Put32(at + 8, static_cast<uint32_t>(picture.Height));  // positive: bottom-up rows
  Put16(at + 12, 1);
  Put16(at + 14, static_cast<uint32_t>(form.BiBitCount));
  // Compression, image size, resolutions and both colour counts stay 0: the whole table applies.
}

void WriteColourTable(uint8_t* at, const ClipboardPicture& picture, const DibForm& form) {
  const int used = std::clamp(picture.ColourCount, 0, form.TableEntries);
  for (int i = 0; i < used; ++i) {
    const RgbQuad& colour = picture.Map.Colours()[static_cast<size_t>(i)];
    at[i * 4] = colour.Blue;
    at[i * 4 + 1] = colour.Green;
    at[i * 4 + 2] = colour.Red;
  }
}

void PackNibbles(uint8_t* out, const uint8_t* indices, int width) {
  for (int x = 0; x < width; ++x) {
    const uint8_t index = indices[x] < 16 ? indices[x] : 0;
    out[x / 2] |= static_cast<uint8_t>((x % 2 == 0) ? index << 4 : index);
  }
}

// The picture's rows into the bitmap's `pixels`, which are zero already. Only the picture's own
// pixels are written: the padding stays 0 whatever the map keeps beside them.
void WriteRows(uint8_t* pixels, const ClipboardPicture& picture, const DibForm& form) {
  const ComposedMap& map = picture.Map;
  // The bitmap stores the picture's bottom row first.
  const auto bitmapRow = [&](int mapRow) {
    return pixels + static_cast<size_t>(picture.Height - 1 - mapRow) * form.RowBytes;
  };
  if (form.BiBitCount == 24) {
    compose::PackBgrRows({bitmapRow(0), -static_cast<ptrdiff_t>(form.RowBytes), map.Row(0),
                          static_cast<ptrdiff_t>(map.RowBytes()), picture.Width, picture.Height});
    return;
  }
  for (int row = 0; row < picture.Height; ++row) {
    if (form.BiBitCount == 4) {
      PackNibbles(bitmapRow(row), map.Row(row), picture.Width);
    } else {
      std::memcpy(bitmapRow(row), map.Row(row), static_cast<size_t>(picture.Width));
    }
  }
}

// The bitmap with `prefix` zero bytes in front of it, where a file header can go.
std::vector<uint8_t> BuildDib(const ClipboardPicture& picture, const DibForm& form, size_t prefix) {
  const size_t tableBytes = static_cast<size_t>(form.TableEntries) * 4;
  const size_t pixelBytes = form.RowBytes * static_cast<size_t>(picture.Height);
  std::vector<uint8_t> out;
  try {
    out.assign(prefix + kDibHeaderBytes + tableBytes + pixelBytes + 1, 0);
  } catch (const std::bad_alloc&) {
    return {};
  }
  uint8_t* dib = out.data() + prefix;
  WriteInfoHeader(dib, picture, form);
  WriteColourTable(dib + kDibHeaderBytes, picture, form);
  WriteRows(dib + kDibHeaderBytes + tableBytes, picture, form);
  return out;
}

}  // namespace

std::vector<uint8_t> MakeClipboardDib(const ClipboardPicture& picture) {
  if (!picture.Map.IsComplete(picture.Width, picture.Height)) return {};
  return BuildDib(picture, ChooseForm(picture), 0);
}

std::vector<uint8_t> MakeClipboardBmpFile(const ClipboardPicture& picture) {
  if (!picture.Map.IsComplete(picture.Width, picture.Height)) return {};
  const DibForm form = ChooseForm(picture);
  std::vector<uint8_t> file = BuildDib(picture, form, kBmpFileHeaderBytes);
  if (file.empty()) return {};
  file[0] = 'B';
  file[1] = 'M';
  Put32(&file[2], static_cast<uint32_t>(file.size()));
  const size_t pixelOffset =
      kBmpFileHeaderBytes + kDibHeaderBytes + static_cast<size_t>(form.TableEntries) * 4;
  Put32(&file[10], static_cast<uint32_t>(pixelOffset));
  return file;
}

}  // namespace tavro
