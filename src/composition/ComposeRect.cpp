// Recomposing one rectangle of the map: background, then every visible cel that meets it, the
// last cel line first so that earlier lines lie on top.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

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

// Hands each cel line of [first, end) of the current set that meets `rect` to `take`, the
// last line (the lowest) first.
template <class Take>
void EachCelMeeting(const DollSet& doc, const MapView& map, const MapRect& rect, size_t first,
                    size_t end, const Take& take) {
  const uint32_t setBit = 1u << doc.CurrentSet();
  for (size_t i = end; i-- > first;) {
    const CellEntry& cell = doc.CellTable()[i];
    if ((cell.SetMask & setBit) == 0 || cell.Unmapped != 0 || !IsDrawnInto(map, cell)) continue;
    const uint16_t slot = doc.SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= doc.ObjectTable().size()) continue;
    const ObjectEntry& object = doc.ObjectTable()[slot];
    if ((object.Flags & kInCurrentSet) == 0 || !ObjectMeetsRect(object, rect)) continue;
    CelRegion region;
    if (!ClipCel(cell, object, rect, region) || !HasPixelsFor(cell)) continue;
    take(CelToDraw{&cell, region});
  }
}

// Rows of the map composed together in true colour.
constexpr int32_t kBandRows = 64;

// Cuts the cel to map rows [top, bottom); false when nothing is left.
bool CutToRows(CelToDraw& cel, int32_t top, int32_t bottom) {
  const int32_t first = std::max(cel.Region.MapTop, top);
  const int32_t end = std::min(cel.Region.MapTop + cel.Region.Height, bottom);
  if (first >= end) return false;
  cel.Region.SkipY += first - cel.Region.MapTop;
  cel.Region.MapTop = first;
  cel.Region.Height = end - first;
  return true;
}

// The parts of `cels` within the rows of `band`.
void CelsInBand(const std::vector<CelToDraw>& cels, const MapRect& band,
                std::vector<CelToDraw>& inBand) {
  inBand.clear();
  for (CelToDraw cel : cels) {
    if (CutToRows(cel, band.Top, band.Bottom)) inBand.push_back(cel);
  }
}

// The same without asking for memory: `cels` cut to rows [top, bottom).
void ClipToRows(std::vector<CelToDraw>& cels, int32_t top, int32_t bottom) {
  std::erase_if(cels, [&](CelToDraw& cel) { return !CutToRows(cel, top, bottom); });
}

// Lists the cels that meet `rect` in `work.Found`; false without the memory for that. Only the
// memory is asked for within the try: in WebAssembly every call made within a try block goes
// out through the page's script and back.
bool ListCels(const DollSet& doc, const MapView& map, const MapRect& rect, size_t first, size_t end,
              HiddenPixels& work) {
  work.Found.clear();
  try {
    work.Found.reserve(end - first);
  } catch (const std::bad_alloc&) {
    return false;
  }
  EachCelMeeting(doc, map, rect, first, end,
                 [&](const CelToDraw& cel) { work.Found.push_back(cel); });
  return true;
}

// The listed cels' parts within `band` and what of them is seen; false without the memory.
bool FindSeenInBand(const MapRect& band, HiddenPixels& work) {
  try {
    work.Cels.reserve(work.Found.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  CelsInBand(work.Found, band, work.Cels);
  try {
    compose::FindSeenSpans(band, work);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Draws `cels`, the lowest first, only their seen spans when `hidden` has them. Each cel is
// drawn once the next one is found and its first rows asked for.
void DrawFound(const MapView& map, const std::vector<CelToDraw>& cels, const HiddenPixels* hidden,
               const RgbQuad* colours) {
  const CelToDraw* pending = nullptr;
  const auto draw = [&](const CelToDraw& cel) {
    DrawCel(map, cel, hidden != nullptr ? hidden->Spans.data() + cel.FirstSpan : nullptr, colours);
  };
  for (const CelToDraw& cel : cels) {
    if (hidden != nullptr && !cel.Seen) continue;
    AskForCelStart(*cel.Cell, cel.Region);
    if (pending != nullptr) draw(*pending);
    pending = &cel;
  }
  if (pending != nullptr) draw(*pending);
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
  // Kept for its memory: a drag step would otherwise allocate anew each time.
  static thread_local HiddenPixels work;
  if (!ListCels(doc, map, rect, first, end, work)) {
    // Without the memory for the list, each cel is drawn as it is found.
    work = {};
    std::optional<CelToDraw> pending;
    EachCelMeeting(doc, map, rect, first, end, [&](const CelToDraw& cel) {
      AskForCelStart(*cel.Cell, cel.Region);
      if (pending) DrawCel(map, *pending, nullptr, colours);
      pending = cel;
    });
    if (pending) DrawCel(map, *pending, nullptr, colours);
    return;
  }
  // In 256 colours a cel pixel costs no more than a look at what hides it would.
  if (map.BytesPerPixel == 1) {
    DrawFound(map, work.Found, nullptr, colours);
    return;
  }
  // In true colour hidden pixels are left out, a band of rows at a time, so that the band's
  // coverage, map rows and the cel rows both passes read stay in the caches.
  for (int32_t top = rect.Top; top < rect.Bottom; top += kBandRows) {
    const MapRect band{rect.Left, top, rect.Right, std::min(rect.Bottom, top + kBandRows)};
    if (!FindSeenInBand(band, work)) {
      // Without the memory for that, every pixel of the rows not drawn yet is drawn.
      ClipToRows(work.Found, top, rect.Bottom);
      DrawFound(map, work.Found, nullptr, colours);
      return;
    }
    DrawFound(map, work.Cels, &work, colours);
  }
}

}  // namespace compose

}  // namespace tavro
