#include "recording/Picture.h"

#include <algorithm>
#include <cstring>

namespace tavro {

ColourTable PlayfieldColourTable(const CTavroDoc& doc) {
  ColourTable table{};
  const int count = std::clamp(doc.Set().Palettes().ColourCount, 0, kPaletteColours);
  for (int i = 0; i < count; ++i) {
    const RgbQuad& c = doc.Map().Colours()[i];
    table[i] = {c.Red, c.Green, c.Blue};
  }
  return table;
}

bool PlayfieldIsComposed(const CTavroDoc& doc) {
  return doc.Map().IsComplete(doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight());
}

namespace {

const uint8_t* MapRow(const CTavroDoc& doc, int32_t y) { return doc.Map().Row(y); }

// Indices stay indices; true colour is kept as red, green, blue, the map's fourth byte dropped.
int32_t PictureBytesPerPixel(const CTavroDoc& doc) {
  return doc.Map().Format() == PixelFormat::Rgbx32 ? 3 : 1;
}

}  // namespace

void PlayfieldRgbRow(const CTavroDoc& doc, const ColourTable& table, int32_t y, int32_t left,
                     int32_t right, uint8_t* out) {
  if (doc.Map().Format() == PixelFormat::Rgbx32) {
    doc.Map().CopyRgbPixels(y, left, right, out);
    return;
  }
  const uint8_t* row = MapRow(doc, y);
  for (int32_t x = left; x < right; ++x, out += 3) std::memcpy(out, table[row[x]].data(), 3);
}

RgbColour Picture::ColourAt(int32_t x, int32_t y) const {
  const uint8_t* p = Row(y) + static_cast<size_t>(x) * BytesPerPixel;
  return BytesPerPixel == 3 ? RgbColour{p[0], p[1], p[2]} : Table[p[0]];
}

bool CapturePicture(const CTavroDoc& doc, Picture& picture) {
  if (!PlayfieldIsComposed(doc)) return false;
  picture.Width = doc.Set().PlayfieldWidth();
  picture.Height = doc.Set().PlayfieldHeight();
  picture.BytesPerPixel = PictureBytesPerPixel(doc);
  picture.Pixels.assign(static_cast<size_t>(picture.Width) * picture.Height * picture.BytesPerPixel,
                        0);
  picture.Table = PlayfieldColourTable(doc);
  RefreshPicture(doc, picture.Whole(), picture);
  return true;
}

namespace {

// Compares one row span of `picture` with the map and, given `copy` (the same row span of the
// picture), takes the map's; true when it differed.
bool RefreshSpan(const CTavroDoc& doc, const ColourTable& table, int32_t y, int32_t left,
                 int32_t right, const Picture& picture, uint8_t* copy) {
  const uint8_t* out = picture.Row(y) + static_cast<size_t>(left) * picture.BytesPerPixel;
  const size_t bytes = static_cast<size_t>(right - left) * picture.BytesPerPixel;
  if (picture.BytesPerPixel == 1) {
    const uint8_t* in = MapRow(doc, y) + left;
    if (std::memcmp(out, in, bytes) == 0) return false;
    if (copy != nullptr) std::memcpy(copy, in, bytes);
    return true;
  }
  uint8_t fresh[3 * 256];
  bool changed = false;
  // In pieces, so that no buffer grows with the playfield.
  for (int32_t x = left; x < right; x += 256) {
    const int32_t end = std::min(right, x + 256);
    PlayfieldRgbRow(doc, table, y, x, end, fresh);
    const size_t n = static_cast<size_t>(end - x) * 3;
    const size_t at = static_cast<size_t>(x - left) * 3;
    if (std::memcmp(out + at, fresh, n) != 0) {
      if (copy == nullptr) return true;
      std::memcpy(copy + at, fresh, n);
      changed = true;
    }
  }
  return changed;
}

// Only a picture of the map's size and form can be compared with it or refreshed from it.
bool Matches(const CTavroDoc& doc, const Picture& picture) {
  return PlayfieldIsComposed(doc) && doc.Set().PlayfieldWidth() == picture.Width &&
         doc.Set().PlayfieldHeight() == picture.Height &&
         PictureBytesPerPixel(doc) == picture.BytesPerPixel;
}

}  // namespace

bool PictureIsStale(const CTavroDoc& doc, const MapRect& area, const Picture& picture) {
  if (!Matches(doc, picture)) return false;
  if (picture.BytesPerPixel == 1 && PlayfieldColourTable(doc) != picture.Table) return true;
  const MapRect rect = IntersectRect(area, picture.Whole());
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    if (RefreshSpan(doc, picture.Table, y, rect.Left, rect.Right, picture, nullptr)) return true;
  }
  return false;
}

bool RefreshPicture(const CTavroDoc& doc, const MapRect& area, Picture& picture) {
  if (!Matches(doc, picture)) return false;
  bool changed = false;
  MapRect rect = IntersectRect(area, picture.Whole());
  if (picture.BytesPerPixel == 1) {
    const ColourTable table = PlayfieldColourTable(doc);
    if (table != picture.Table) {
      // New colours change what every index shows, whether or not an index changed.
      picture.Table = table;
      rect = picture.Whole();
      changed = true;
    }
  }
  const ColourTable& table = picture.Table;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    uint8_t* copy = picture.Row(y) + static_cast<size_t>(rect.Left) * picture.BytesPerPixel;
    changed = RefreshSpan(doc, table, y, rect.Left, rect.Right, picture, copy) || changed;
  }
  return changed;
}

MapRect DifferingArea(const Picture& a, const Picture& b, const MapRect& within) {
  if (a.Width != b.Width || a.Height != b.Height || a.BytesPerPixel != b.BytesPerPixel)
    return a.Whole();
  // Alike pixels look alike unless the tables differ; then what shows is compared everywhere.
  const bool sameTable = a.BytesPerPixel == 3 || a.Table == b.Table;
  const MapRect rect = sameTable ? IntersectRect(within, a.Whole()) : a.Whole();
  const size_t bpp = static_cast<size_t>(a.BytesPerPixel);
  const auto differs = [&a, &b](int32_t x, int32_t y) {
    return a.ColourAt(x, y) != b.ColourAt(x, y);
  };
  MapRect area;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    const size_t from = rect.Left * bpp;
    if (sameTable && std::memcmp(a.Row(y) + from, b.Row(y) + from, rect.Width() * bpp) == 0)
      continue;
    int32_t left = rect.Left;
    while (left < rect.Right && !differs(left, y)) ++left;
    if (left == rect.Right) continue;
    int32_t right = rect.Right;
    while (!differs(right - 1, y)) --right;
    area = UnionRect(area, {left, y, right, y + 1});
  }
  return area;
}

CanvasWords PlayfieldCanvasWords(const CTavroDoc& doc) {
  const ColourTable colours = PlayfieldColourTable(doc);
  CanvasWords words{};
  for (size_t i = 0; i < colours.size(); ++i) {
    const uint8_t bytes[4] = {colours[i][0], colours[i][1], colours[i][2], 255};
    std::memcpy(&words[i], bytes, 4);
  }
  return words;
}

}  // namespace tavro
