// Rectangles in map coordinates: x right, y down, origin top left.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tavro {

// Right and bottom are exclusive unless a user says otherwise (MapBounds is inclusive).
struct MapRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const MapRect&) const = default;
};

// Union as the platform's rectangle union does it: an empty rectangle adds nothing.
inline MapRect UnionRect(const MapRect& a, const MapRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? MapRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

// Intersection; empty (all zero) when the two do not meet.
inline MapRect IntersectRect(const MapRect& a, const MapRect& b) {
  MapRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? MapRect{} : r;
}

}  // namespace tavro
