// Rectangles in map coordinates: x right, y down, origin top left.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tavro {

// Right and bottom are exclusive unless a user says otherwise (MapBounds is inclusive).
struct MapRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool IsEmpty() const { return right <= left || bottom <= top; }
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const MapRect&) const = default;
};

// Union as the platform's rectangle union does it: an empty rectangle adds nothing.
inline MapRect UnionRect(const MapRect& a, const MapRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? MapRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Intersection; empty (all zero) when the two do not meet.
inline MapRect IntersectRect(const MapRect& a, const MapRect& b) {
  MapRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? MapRect{} : r;
}

}  // namespace tavro
