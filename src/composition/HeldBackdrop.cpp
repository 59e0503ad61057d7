// Dragging over a crowded set: each step recomposes the rectangle the held object swept, and
// below a large object that means drawing every cel it covers again and again. What lies beneath
// all of the held object's cel lines does not change while it moves, so it is composed once into
// a backdrop; a step then copies its rectangle from there and draws only the lines above.
//
// The backdrop is trusted only while everything it was drawn from is exactly as it was: each
// step lists that state (cels beneath, their objects' positions, set, colours, map form) and
// compares it with the list kept. A script animating something beneath makes the list differ,
// and such steps compose as usual; the backdrop is made only once the list has held still for a
// step, so a set that changes all the time never pays for a backdrop it cannot use.
#include <algorithm>
#include <array>
#include <cstring>

#include "composition/CelDrawing.h"
#include "set/DollSet.h"

namespace tavro::compose {

namespace {

// The first cel line beneath every line of the held object (its highest index plus one).
size_t FirstLineBeneath(const DollSet& doc, int32_t heldSlot, size_t count) {
  size_t first = 0;
  for (size_t i = 0; i < count; ++i) {
    if (doc.SlotOf(doc.CellTable()[i].ObjectNumber) == heldSlot) first = i + 1;
  }
  return first;
}

uint64_t Pack(int64_t a, int64_t b) {
  return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

// Hands everything the backdrop's pixels are made from to `take`, one value at a time.
template <class Take>
void EachSourceValue(const DollSet& doc, const MapView& map, size_t first, size_t count,
                     const RgbQuad* colours, Take&& take) {
  take(Pack(map.RowBytes, map.Rows));
  take(Pack(map.BytesPerPixel, doc.CurrentSet()));
  take(Pack(map.Area.Right, map.Area.Bottom));
  take(Pack(doc.CurrentGroup(), static_cast<int64_t>(count)));
  const RgbQuad background = doc.Palettes().ColourOfGroup(doc.CurrentGroup(), 0);
  take(Pack(background.Blue | background.Green << 8 | background.Red << 16, 0));
  if (map.BytesPerPixel == 4) {
    for (int32_t i = 0; i < kPaletteColours; ++i) {
      take(Pack(colours[i].Blue | colours[i].Green << 8 | colours[i].Red << 16, i));
    }
  }
  for (size_t i = first; i < count; ++i) {
    const CellEntry& cell = doc.CellTable()[i];
    take(reinterpret_cast<uintptr_t>(cell.Pixels.data()));
    take(Pack(static_cast<int64_t>(cell.Pixels.size()), cell.ObjectNumber));
    take(Pack(cell.Width | cell.Height << 16, 0));
    take(Pack(cell.OffsetX, cell.OffsetY));
    take(Pack(cell.SetMask | cell.Unmapped << 16 | cell.BitsPerPixel << 24, cell.Transparency));
    const uint16_t slot = doc.SlotOf(cell.ObjectNumber);
    if (slot == 0 || slot >= doc.ObjectTable().size()) {
      take(0);
      take(0);
      continue;
    }
    const ObjectEntry& object = doc.ObjectTable()[slot];
    take(Pack(object.X, object.Y));
    take(object.Flags);
  }
}

// Whether `kept` still lists the state; it is listed anew (and false returned) when it does not.
// Each drag step asks, so the values are compared as they come, without a list of their own.
bool SameSource(const DollSet& doc, const MapView& map, size_t first, size_t count,
                const RgbQuad* colours, std::vector<uint64_t>& kept) {
  size_t at = 0;
  bool same = true;
  EachSourceValue(doc, map, first, count, colours, [&](uint64_t value) {
    same = same && at < kept.size() && kept[at] == value;
    ++at;
  });
  if (same && at == kept.size()) return true;
  kept.clear();
  kept.reserve(at);
  EachSourceValue(doc, map, first, count, colours, [&](uint64_t value) { kept.push_back(value); });
  return false;
}

void ComposeBackdrop(const DollSet& doc, HeldBackdrop& backdrop, const MapView& map, size_t first,
                     size_t count, const RgbQuad* colours) {
  try {
    backdrop.Pixels.resize(static_cast<size_t>(map.RowBytes) * map.Rows);
  } catch (const std::bad_alloc&) {
    backdrop = {};
    return;
  }
  MapView into = map;
  into.Pixels = backdrop.Pixels.data();
  FillBackground(into, into.Area, doc.Palettes().ColourOfGroup(doc.CurrentGroup(), 0));
  DrawCelLines(doc, into, into.Area, colours, first, count);
}

}  // namespace

bool ComposeOverHeldBackdrop(const DollSet& doc, HeldBackdrop& backdrop, int32_t heldSlot,
                             const MapView& map, const MapRect& rect) {
  if (heldSlot <= 0) {
    if (!backdrop.Source.empty() || !backdrop.Pixels.empty()) backdrop = {};
    return false;
  }
  const auto count =
      std::min<size_t>(static_cast<size_t>(std::max(doc.CellCount(), 0)), doc.CellTable().size());
  std::array<RgbQuad, kPaletteColours> colours{};
  if (map.BytesPerPixel == 4) CurrentColours(doc, colours.data());
  const size_t first = FirstLineBeneath(doc, heldSlot, count);
  const bool sameLines = backdrop.HeldSlot == heldSlot && backdrop.FirstBeneath == first;
  if (!SameSource(doc, map, first, count, colours.data(), backdrop.Source) || !sameLines) {
    backdrop.HeldSlot = heldSlot;
    backdrop.FirstBeneath = first;
    backdrop.Pixels = {};
    return false;
  }
  if (backdrop.Pixels.empty()) ComposeBackdrop(doc, backdrop, map, first, count, colours.data());
  if (backdrop.Pixels.empty()) return false;
  CopyRect(map, backdrop.Pixels.data(), rect);
  DrawCelLines(doc, map, rect, colours.data(), 0, first);
  return true;
}

}  // namespace tavro::compose
