// Internal to the composer: the map as the drawing loops see it, and the part of one cel that a
// recomposition touches. The map's rows are top-down; a cel's are stored bottom-up, as its file
// has them, and CelStoredRow turns one order into the other.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "composition/ComposedMap.h"
#include "composition/PixelRuns.h"
#include "platform/MapRect.h"
#include "set/SetRecords.h"

namespace tavro {
class DollSet;
}

namespace tavro::compose {

// A true-colour map pixel read as one word: red in the low byte, 255 in the high one.
static_assert(std::endian::native == std::endian::little, "map words are stored little-endian");
inline uint32_t MapWordOf(const RgbQuad& colour) {
  return colour.Red | colour.Green << 8 | colour.Blue << 16 | 0xFF000000u;
}

// `rect` clipped to the map's area.
MapRect ClipToMap(const MapView& map, const MapRect& rect);

// The drawn part of one cel: where it lands on the map and which cel pixel is its top left.
struct CelRegion {
  int32_t MapLeft = 0;
  int32_t MapTop = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t SkipX = 0;
  int32_t SkipY = 0;
};

// Pixels of stored row `row` (0 = bottom) of the cel, starting at column `column`.
inline const uint8_t* CelRow(const CellEntry& cell, int32_t row, int32_t column, int bytes) {
  return cell.Pixels.data() + (static_cast<size_t>(row) * cell.Width + column) * bytes;
}

// The stored cel row that holds row j (0 = top) of the region.
inline int32_t CelStoredRow(const CellEntry& cell, const CelRegion& region, int32_t j) {
  return cell.Height - 1 - (region.SkipY + j);
}

// A cel that meets the rectangle being recomposed, the part of it drawn, and (in true colour)
// where the spans of its rows that no cel above hides begin in HiddenPixels::Spans.
struct CelToDraw {
  const CellEntry* Cell = nullptr;
  CelRegion Region;
  size_t FirstSpan = 0;
  bool Seen = true;  // false when cels above hide every pixel of it
};

// The work of finding what cels above hide, kept between compositions for its memory.
struct HiddenPixels {
  std::vector<CelToDraw> Found;    // every cel that meets the rectangle, the lowest first
  std::vector<CelToDraw> Cels;     // the parts of them FindSeenSpans looks at, in the same order
  std::vector<RowSpan> Spans;      // one a row of each cel
  std::vector<uint64_t> Coverage;  // one bit a pixel of the rectangle
};

// Fills in the spans and Seen of `work.Cels`, all of which lie within `rect`: a pixel is left
// out only where a cel above draws it opaque (an indexed cel at level 0, or alpha 255), which
// the composition would replace whatever lay beneath it. Rows keep one span each, so the pixels
// between a row's first and last seen one are drawn even where hidden.
void FindSeenSpans(const MapRect& rect, HiddenPixels& work);

// The region's rows, top first, drawn into rows `destinationStride` bytes apart from
// `destination` on; `bytes` a cel pixel.
inline RowBlock CelRows(void* destination, ptrdiff_t destinationStride, const CellEntry& cell,
                        const CelRegion& region, int bytes) {
  return {destination,
          destinationStride,
          CelRow(cell, CelStoredRow(cell, region, 0), region.SkipX, bytes),
          -static_cast<ptrdiff_t>(cell.Width) * bytes,
          region.Width,
          region.Height};
}

// The rectangle filled with the background: index 0, or colour 0 of the group in true colour.
void FillBackground(const MapView& map, const MapRect& rect, const RgbQuad& background);
// Draws cel lines [first, end) of the current set that meet `rect`, the last line first.
// `colours` is the current group's table (true colour only).
void DrawCelLines(const DollSet& doc, const MapView& map, const MapRect& rect,
                  const RgbQuad* colours, size_t first, size_t end);
// The current group's colours as the true-colour drawing takes them.
void CurrentColours(const DollSet& doc, RgbQuad* colours);
// Copies the rectangle of `from` (a picture in the map's layout) into the map.
void CopyRect(const MapView& map, const uint8_t* from, const MapRect& rect);

// While an object is held: recomposes `rect` from the backdrop beneath the object plus the cel
// lines from the object's lowest upward, and returns true. Returns false (the caller composes as
// usual) when nothing is held or the backdrop is not ready or no longer matches the set.
// `heldSlot` is the held object's slot, 0 when nothing is held.
bool ComposeOverHeldBackdrop(const DollSet& doc, HeldBackdrop& backdrop, int32_t heldSlot,
                             const MapView& map, const MapRect& rect);

// Indexed cel into an 8-bit map: non-zero pixels replace, 0 leaves the map alone.
void DrawIndexedInto8(const MapView& map, const CellEntry& cell, const CelRegion& region);
// Indexed cel into the true-colour map, opaque or blended by the cel's transparency level; only
// the rows' `spans` (one a row, null for whole rows).
void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours, const RowSpan* spans);
// 32-bit cel into the true-colour map, blended by its alpha channel.
void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                       const RowSpan* spans);
// The level a cel's transparency stands for: levels outside 0..255 come unchecked from the
// configuration; below 0 draws opaque, above 255 as nearly invisible.
inline uint32_t LevelOf(const CellEntry& cell) {
  return static_cast<uint32_t>(cell.Transparency < 0     ? 0
                               : cell.Transparency > 255 ? 255
                                                         : cell.Transparency);
}

}  // namespace tavro::compose
