#include "recording/PlayfieldThumbnail.h"

#include <algorithm>

#include "composition/ScaleToFit.h"
#include "recording/Picture.h"

namespace tavro {

PlayfieldThumbnail ThumbnailOfPlayfield(const CTavroDoc& doc, int32_t box) {
  PlayfieldThumbnail thumbnail;
  if (doc.AwaitsStart() || !doc.IsSetLoaded() || !PlayfieldIsComposed(doc)) return thumbnail;
  const int32_t width = doc.Set().PlayfieldWidth();
  const int32_t height = doc.Set().PlayfieldHeight();
  const FittedSize size = FitWithin(width, height, std::clamp(box, 1, kMaxThumbnailBox));
  if (size.Width == 0 || size.Height == 0) return thumbnail;
  thumbnail.Width = size.Width;
  thumbnail.Height = size.Height;
  thumbnail.Pixels.resize(static_cast<size_t>(size.Width) * static_cast<size_t>(size.Height) * 4);
  const ComposedMap& map = doc.Map();
  // True colour rows are the page's words already.
  if (map.Format() == PixelFormat::Rgbx32) {
    ScaleToFit(map.Row(0), width, height, map.RowBytes(), size, thumbnail.Pixels.data());
    return thumbnail;
  }
  const CanvasWords words = PlayfieldCanvasWords(doc);
  std::vector<uint32_t> looked(static_cast<size_t>(width) * static_cast<size_t>(height));
  uint32_t* out = looked.data();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = map.Row(y);
    for (int32_t x = 0; x < width; ++x) *out++ = words[row[x]];
  }
  ScaleToFit(reinterpret_cast<const uint8_t*>(looked.data()), width, height,
             static_cast<size_t>(width) * 4, size, thumbnail.Pixels.data());
  return thumbnail;
}

}  // namespace tavro
