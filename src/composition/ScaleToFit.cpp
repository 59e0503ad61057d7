#include "composition/ScaleToFit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavro {
namespace {

// How much of source pixel `Index` one output pixel covers. Lengths are counted in units of
// 1 / outputs of a source pixel, so that every overlap is a whole number: source pixel i spans
// [i * outputs, (i + 1) * outputs) and output pixel o spans [o * sources, (o + 1) * sources).
struct Share {
  int32_t Index;
  uint32_t Weight;
};

// For each output pixel along one axis, the source pixels it covers and how much of each; the
// shares of output o are shares[first[o]] .. shares[first[o + 1] - 1].
void Shares(int32_t sources, int32_t outputs, std::vector<Share>& shares,
            std::vector<size_t>& first) {
  shares.clear();
  first.assign(static_cast<size_t>(outputs) + 1, 0);
  const auto unitsPerSource = static_cast<int64_t>(outputs);
  const auto unitsPerOutput = static_cast<int64_t>(sources);
  for (int32_t o = 0; o < outputs; ++o) {
    first[static_cast<size_t>(o)] = shares.size();
    const int64_t begin = o * unitsPerOutput;
    const int64_t end = begin + unitsPerOutput;
    for (int64_t i = begin / unitsPerSource; i * unitsPerSource < end; ++i) {
      const int64_t from = std::max(begin, i * unitsPerSource);
      const int64_t to = std::min(end, (i + 1) * unitsPerSource);
      shares.push_back({static_cast<int32_t>(i), static_cast<uint32_t>(to - from)});
    }
  }
  first[static_cast<size_t>(outputs)] = shares.size();
}

}  // namespace

FittedSize FitWithin(int32_t width, int32_t height, int32_t box) {
  if (width <= 0 || height <= 0 || box <= 0) return {};
  if (width <= box && height <= box) return {width, height};
  // The longer side fills the box; the shorter is rounded to the nearest pixel.
  const bool wide = width >= height;
  const int64_t longer = wide ? width : height;
  const int64_t shorter = wide ? height : width;
  const auto scaled =
      static_cast<int32_t>(std::max<int64_t>(1, (2 * shorter * box + longer) / (2 * longer)));
  return wide ? FittedSize{box, scaled} : FittedSize{scaled, box};
}

void ScaleToFit(const uint8_t* source, int32_t sourceWidth, int32_t sourceHeight,
                size_t sourceRowBytes, FittedSize size, uint8_t* out) {
  if (size.Width <= 0 || size.Height <= 0 || size.Width > sourceWidth ||
      size.Height > sourceHeight) {
    return;
  }
  const size_t rowBytes = static_cast<size_t>(sourceWidth) * 4;
  // A picture that fits already is the picture.
  if (size.Width == sourceWidth && size.Height == sourceHeight) {
    for (int32_t y = 0; y < sourceHeight; ++y) {
      std::memcpy(out + static_cast<size_t>(y) * rowBytes,
                  source + static_cast<size_t>(y) * sourceRowBytes, rowBytes);
    }
    return;
  }
  std::vector<Share> across;
  std::vector<size_t> firstAcross;
  std::vector<Share> down;
  std::vector<size_t> firstDown;
  Shares(sourceWidth, size.Width, across, firstAcross);
  Shares(sourceHeight, size.Height, down, firstDown);
  // One output row's source rows summed with their vertical shares, per source byte. A column
  // sums at most sourceHeight units of 255: it fits 32 bits for any map a set can have.
  std::vector<uint32_t> column(static_cast<size_t>(sourceWidth) * 4);
  // Every output pixel covers sourceWidth x sourceHeight units of area in all.
  const uint64_t area = static_cast<uint64_t>(sourceWidth) * static_cast<uint64_t>(sourceHeight);
  for (int32_t y = 0; y < size.Height; ++y) {
    std::fill(column.begin(), column.end(), 0);
    for (size_t s = firstDown[static_cast<size_t>(y)]; s < firstDown[static_cast<size_t>(y) + 1];
         ++s) {
      const uint8_t* row = source + static_cast<size_t>(down[s].Index) * sourceRowBytes;
      const uint32_t weight = down[s].Weight;
      for (size_t b = 0; b < rowBytes; ++b) column[b] += weight * row[b];
    }
    for (int32_t x = 0; x < size.Width; ++x) {
      uint64_t sums[4] = {0, 0, 0, 0};
      for (size_t s = firstAcross[static_cast<size_t>(x)];
           s < firstAcross[static_cast<size_t>(x) + 1]; ++s) {
        const uint32_t* pixel = &column[static_cast<size_t>(across[s].Index) * 4];
        const uint64_t weight = across[s].Weight;
        for (int c = 0; c < 4; ++c) sums[c] += weight * pixel[c];
      }
      for (int c = 0; c < 4; ++c) *out++ = static_cast<uint8_t>((sums[c] + area / 2) / area);
    }
  }
}

}  // namespace tavro
