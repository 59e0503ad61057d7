// A picture made smaller by area averaging, for the page's shelf of sets: each output pixel is
// the mean of the source pixels it covers, a pixel it covers in part counting for that part, so
// thin lines fade rather than vanish or flicker as they would when every n-th pixel is picked.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavro {

struct FittedSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const FittedSize&) const = default;
};

// The size a width x height picture is shown at within a box x box square: its aspect kept
// (rounded to the nearest pixel), never enlarged, at least one pixel each way. Nothing for an
// empty picture or box.
FittedSize FitWithin(int32_t width, int32_t height, int32_t box);

// Scales the sourceWidth x sourceHeight picture at `source` (four bytes a pixel, rows
// `sourceRowBytes` apart) to `size` (at most the source's size each way) into `out`, which holds
// size.Width * size.Height * 4 bytes, rows without gaps. Each of the four bytes is averaged on
// its own and rounded to the nearest.
void ScaleToFit(const uint8_t* source, int32_t sourceWidth, int32_t sourceHeight,
                size_t sourceRowBytes, FittedSize size, uint8_t* out);

}  // namespace tavro
