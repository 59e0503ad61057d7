// The composed map: the picture of the current set that the display, the clipboard and the PNG
// writer read, with everything needed to make and repaint it (its form and colour table, the
// true-colour work area, the drag backdrop, the area waiting to be recomposed).
//
// Rows are stored top-down, Stride() pixels each (a multiple of 4), 1 byte a pixel (colour
// index) or 4 (red, green, blue, 255), plus one spare byte at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/MapRect.h"
#include "set/SetRecords.h"

namespace tavro {

// How the map holds a pixel.
enum class PixelFormat : uint8_t {
  Indexed8,  // one colour index
  // Red, green, blue and a fourth byte that is always 255: composition blends whole 32-bit words,
  // and the display and the page's canvas take these rows as they are. The 24-bit rows of the
  // clipboard, PNG files and recordings are made from them on the way out.
  Rgbx32,
};

inline int32_t BytesPerPixelOf(PixelFormat format) { return format == PixelFormat::Rgbx32 ? 4 : 1; }

namespace compose {

// The map when it is safe to draw into: pixels is null when there is no map or its size does
// not match the stride and height in the current mode.
struct MapView {
  uint8_t* Pixels = nullptr;
  int32_t BytesPerPixel = 1;
  int32_t Stride = 0;  // pixels a row
  int32_t RowBytes = 0;
  int32_t Rows = 0;
  MapRect Area;  // the part of the playfield the map can hold

  uint8_t* At(int32_t x, int32_t y) const {
    return Pixels + static_cast<size_t>(y) * RowBytes + static_cast<size_t>(x) * BytesPerPixel;
  }
  // True colour: the pixel as one word (the rows are word-aligned, see ComposedMap::Allocate).
  uint32_t* WordAt(int32_t x, int32_t y) const { return reinterpret_cast<uint32_t*>(At(x, y)); }
};

}  // namespace compose

// While an object is held, everything beneath all of its cels is composed once into this
// picture (the map's layout), so that each drag step copies its rectangle from here and draws
// only the cel lines from the held object's lowest upward. It is used only while the state it
// was composed from is unchanged, compared exactly, and dropped when nothing is held.
struct HeldBackdrop {
  int32_t HeldSlot = 0;
  size_t FirstBeneath = 0;       // cel lines from here on lie beneath every cel of the object
  std::vector<uint64_t> Source;  // the state the picture was composed from
  std::vector<uint8_t> Pixels;   // empty until the state has held still for one step
};

class ComposedMap {
 public:
  // ---- form ----
  // Rows are padded to a multiple of 4 pixels, which keeps every row of either format a
  // multiple of 4 bytes long, as the display and the clipboard take rows.
  static int32_t StrideFor(int32_t width) { return (width + 3) & ~3; }
  int32_t Stride() const { return MapStride_; }
  int32_t Height() const { return MapHeight_; }
  // The size the next Allocate makes for a playfield of width x height; the pixels held are not
  // touched.
  void SetSize(int32_t width, int32_t height) {
    MapStride_ = StrideFor(width);
    MapHeight_ = height;
  }
  // The mode the set asks for (a 32-bit cel or the colour commands); Allocate makes the form.
  bool TrueColourMode() const { return TrueColour_; }
  void SetTrueColourMode(bool trueColour) { TrueColour_ = trueColour; }
  // The form the map was last allocated in.
  PixelFormat Format() const { return Form_; }
  int32_t BytesPerPixel() const { return BytesPerPixelOf(Form_); }
  // True when the map holds every row and column of a playfield of width x height in its form.
  // A map that does not is never read: it may be left from another mode or another playfield.
  bool IsComplete(int32_t width, int32_t height) const;

  // Replaces the pixels with a map of Stride x Height pixels, Rgbx32 (black) when `trueColour`,
  // else Indexed8 (index 0), and drops the backdrop. On allocation failure (or a negative
  // size) the map is none.
  void Allocate(bool trueColour);
  // Frees the pixels and the backdrop; the form and colour table stay.
  void Free();

  // ---- pixels ----
  bool Empty() const { return Pixels_.empty(); }
  const std::vector<uint8_t>& Bytes() const { return Pixels_; }
  // For hand-made pictures; writes never change the map's size.
  uint8_t* MutableBytes() { return Pixels_.data(); }
  // Row y of the picture (0 = top). The caller checks IsComplete first.
  const uint8_t* Row(int32_t y) const {
    return Pixels_.data() + static_cast<size_t>(y) * RowBytes();
  }
  uint8_t* MutableRow(int32_t y) { return Pixels_.data() + static_cast<size_t>(y) * RowBytes(); }
  size_t RowBytes() const { return static_cast<size_t>(MapStride_) * BytesPerPixel(); }
  // True colour: pixels [left, right) of row y as red, green, blue bytes into `out`, as pictures
  // and recordings take them. The caller checks IsComplete and the bounds.
  void CopyRgbPixels(int32_t y, int32_t left, int32_t right, uint8_t* out) const;
  // The map as the drawing loops take it, clipped to a playfield of width x height.
  compose::MapView DrawingView(int32_t playfieldWidth, int32_t playfieldHeight);
  HeldBackdrop& Backdrop() { return Held_; }
  const HeldBackdrop& Backdrop() const { return Held_; }

  // ---- colour table ----
  // The colours an index stands for. Entries past the set's own keep what an earlier set left.
  const std::array<RgbQuad, kPaletteColours>& Colours() const { return ColourTable_; }
  // The first `count` entries take `colours`.
  void TakeColours(const RgbQuad* colours, int32_t count);
  // One entry of the table; an index outside it changes nothing.
  void SetColour(int32_t index, const RgbQuad& colour) {
    if (index >= 0 && index < kPaletteColours) ColourTable_[index] = colour;
  }

  // ---- the area waiting to be recomposed ----
  bool Dirty() const { return DirtyFlag_; }
  const MapRect& DirtyArea() const { return DirtyRect_; }
  // Adds `rect` (right and bottom exclusive) to the dirty area and marks the map dirty, also when
  // `rect` is empty (an action whose object has no box still asks for a timer pass).
  void MarkDirty(const MapRect& rect) {
    DirtyRect_ = UnionRect(DirtyRect_, rect);
    DirtyFlag_ = true;
  }
  // The dirty area, leaving it empty and the map clean.
  MapRect TakeDirtyArea() {
    const MapRect area = DirtyRect_;
    DirtyFlag_ = false;
    DirtyRect_ = {};
    return area;
  }

 private:
  std::vector<uint8_t> Pixels_;  // empty = none
  int32_t MapStride_ = 0;
  int32_t MapHeight_ = 0;
  bool TrueColour_ = false;
  PixelFormat Form_ = PixelFormat::Indexed8;
  std::array<RgbQuad, kPaletteColours> ColourTable_ = {};
  HeldBackdrop Held_;
  bool DirtyFlag_ = false;
  MapRect DirtyRect_;
};

}  // namespace tavro
