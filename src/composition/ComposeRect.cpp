// Recomposing one rectangle of the map: background, then every visible cel that meets it, the
// last cel line first so that earlier lines lie on top.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

#include "composition/CelDrawing.h"
#include "composition/Composer.h"
#include "set/DollSet.h"

namespace tavro {

namespace compose {

MapRect ClipToMap(const MapView& map, const MapRect& rect) { return IntersectRect(rect, map.Area); }

MapRect RectOfSpan(int64_t left, int64_t top, int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return {};
  const auto held = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return {held(left), held(top), held(left + width), held(top + height)};
}

void FillBackground(const MapView& map, const MapRect& rect, const RgbQuad& background) {
  const uint32_t word = MapWordOf(background);
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    if (map.BytesPerPixel == 1) {
      std::memset(map.At(rect.Left, y), 0, static_cast<size_t>(rect.Width()));
    } else {
      std::fill_n(map.WordAt(rect.Left, y), rect.Width(), word);
    }
  }
}

void CopyRect(const MapView& map, const uint8_t* from, const MapRect& rect) {
  const size_t runBytes = static_cast<size_t>(rect.Width()) * map.BytesPerPixel;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    uint8_t* row = map.At(rect.Left, y);
    std::memcpy(row, from + (row - map.Pixels), runBytes);
  }
}

void CurrentColours(const DollSet& doc, RgbQuad* colours) {
  for (int32_t i = 0; i < kPaletteColours; ++i)
    colours[i] = doc.Palettes().ColourOfGroup(doc.CurrentGroup(), i);
}

}  // namespace compose

namespace {

using compose::CelRegion;
using compose::CelToDraw;
using compose::HiddenPixels;
using compose::MapView;
using compose::RowBlock;
using compose::RowSpan;

// Two spans (a, length b) and (c, length d) meet when together they are shorter than apart.
bool SpansMeet(int32_t a, int32_t b, int32_t c, int32_t d) {
  return std::max(a + b, c + d) - std::min(a, c) < b + d;
}

bool ObjectMeetsRect(const ObjectEntry& object, const MapRect& rect) {
  return SpansMeet(object.X + object.ExtentLeft, object.ExtentRight - object.ExtentLeft, rect.Left,
                   rect.Width()) &&
         SpansMeet(object.Y + object.ExtentTop, object.ExtentBottom - object.ExtentTop, rect.Top,
                   rect.Height());
}

bool ClipCel(const CellEntry& cell, const ObjectEntry& object, const MapRect& rect,
             CelRegion& region) {
  const int32_t cx = object.X + cell.OffsetX;
  const int32_t cy = object.Y + cell.OffsetY;
  region.MapLeft = std::max(cx, rect.Left);
  region.MapTop = std::max(cy, rect.Top);
  region.Width = std::min(cx + int32_t{cell.Width}, rect.Right) - region.MapLeft;
  region.Height = std::min(cy + int32_t{cell.Height}, rect.Bottom) - region.MapTop;
  region.SkipX = region.MapLeft - cx;
  region.SkipY = region.MapTop - cy;
  return region.Width > 0 && region.Height > 0;
}

// A hand-made or damaged entry must not send the drawing loops past its pixel block.
bool HasPixelsFor(const CellEntry& cell) {
  const size_t bytes = cell.BitsPerPixel == 24 ? 4 : 1;
  return !cell.Pixels.empty() &&
         cell.Pixels.size() >= bytes * cell.Width * static_cast<size_t>(cell.Height);
}

// Indexed colours cannot hold a blend; the 256-colour map leaves 32-bit cels out.
bool IsDrawnInto(const MapView& map, const CellEntry& cell) {
  return map.BytesPerPixel == 4 || cell.BitsPerPixel != 24;
}

void DrawCel(const MapView& map, const CelToDraw& cel, const RowSpan* spans,
             const RgbQuad* colours) {
  const bool alphaCel = cel.Cell->BitsPerPixel == 24;
  if (map.BytesPerPixel == 1) {
    compose::DrawIndexedInto8(map, *cel.Cell, cel.Region);
  } else if (alphaCel) {
    compose::DrawAlphaIntoTrue(map, *cel.Cell, cel.Region, spans);
  } else {
    compose::DrawIndexedIntoTrue(map, *cel.Cell, cel.Region, colours, spans);
  }
}

// The first rows of a cel, asked for before the cel drawn before it, so that they are on their
// way while it draws: a new cel is a new stream that the processor's prefetching does not yet
// know.
void AskForCelStart(const CellEntry& cell, const CelRegion& region) {
  constexpr int32_t kStartRows = 8;
  const int bytes = cell.BitsPerPixel == 24 ? 4 : 1;
  const RowBlock rows = compose::CelRows(nullptr, 0, cell, region, bytes);
  compose::AskForRows(rows.Source, rows.SourceStride, rows.Count * bytes,
                      std::min(rows.Rows, kStartRows));
}

const RowSpan* SpansOf(const HiddenPixels& work, const CelToDraw& cel, bool spans) {
  return spans ? work.Spans.data() + cel.FirstSpan : nullptr;
}

}  // namespace

namespace compose {

void ComposeRect(const DollSet& set, ComposedMap& composed, const MapRect& wanted,
                 int32_t heldSlot) {
  const MapView map = composed.DrawingView(set.PlayfieldWidth(), set.PlayfieldHeight());
  if (map.Pixels == nullptr) return;
  const MapRect rect = ClipToMap(map, wanted);
  if (rect.IsEmpty()) return;
  if (ComposeOverHeldBackdrop(set, composed.Backdrop(), heldSlot, map, rect)) return;
  FillBackground(map, rect, set.Palettes().ColourOfGroup(set.CurrentGroup(), 0));
  DrawCellsInRect(set, composed, rect);
}

void DrawCellsInRect(const DollSet& set, ComposedMap& composed, const MapRect& wanted) {
  const MapView map = composed.DrawingView(set.PlayfieldWidth(), set.PlayfieldHeight());
  if (map.Pixels == nullptr) return;
  const MapRect rect = ClipToMap(map, wanted);
  if (rect.IsEmpty()) return;
  std::array<RgbQuad, kPaletteColours> colours{};
  if (map.BytesPerPixel == 4) CurrentColours(set, colours.data());
  const auto count =
      std::min<size_t>(static_cast<size_t>(std::max(set.CellCount(), 0)), set.CellTable().size());
  DrawCelLines(set, map, rect, colours.data(), 0, count);
}

void DrawCelLines(const DollSet& doc, const MapView& map, const MapRect& rect,
                  const RgbQuad* colours, size_t first, size_t end) {
  if (doc.CurrentSet() < 0 || doc.CurrentSet() >= kSetCount || first >= end) return;
  const uint32_t setBit = 1u << doc.CurrentSet();
  // Kept for its memory: a drag step would otherwise allocate anew each time.
  static thread_local HiddenPixels work;
  work.Cels.clear();
  for (size_t i = end; i-- > first;) {
    const CellEntry& cell = doc.CellTable()[i];
    if ((cell.SetMask & setBit) == 0 || cell.Unmapped != 0 || !IsDrawnInto(map, cell)) continue;
    const uint16_t slot = doc.SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= doc.ObjectTable().size()) continue;
    const ObjectEntry& object = doc.ObjectTable()[slot];
    if ((object.Flags & kInCurrentSet) == 0 || !ObjectMeetsRect(object, rect)) continue;
    CelRegion region;
    if (!ClipCel(cell, object, rect, region) || !HasPixelsFor(cell)) continue;
    work.Cels.push_back({&cell, region});
  }
  // In 256 colours a cel pixel costs no more than a look at what hides it would; in true colour
  // hidden pixels are left out. Without the memory for that, every pixel is drawn.
  bool spans = false;
  if (map.BytesPerPixel == 4) {
    try {
      FindSeenSpans(rect, work);
      spans = true;
    } catch (const std::bad_alloc&) {
      work.Spans = {};
      work.Coverage = {};
    }
  }
  // Each cel is drawn once the next one is found and its first rows asked for.
  const CelToDraw* pending = nullptr;
  for (const CelToDraw& cel : work.Cels) {
    if (spans && !cel.Seen) continue;
    AskForCelStart(*cel.Cell, cel.Region);
    if (pending != nullptr) DrawCel(map, *pending, SpansOf(work, *pending, spans), colours);
    pending = &cel;
  }
  if (pending != nullptr) DrawCel(map, *pending, SpansOf(work, *pending, spans), colours);
}

}  // namespace compose

}  // namespace tavro
