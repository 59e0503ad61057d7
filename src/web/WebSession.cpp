#include "web/WebSession.h"

#include <algorithm>
#include <cstring>

#include "recording/Picture.h"

namespace tavro {

WebSession::WebSession() = default;

void WebSession::Note(const SessionChange& change) {
  if (change.WholeView || change.NewSet) Whole_ = true;
  Pending_ = UnionRect(Pending_, change.Repaint);
}

MapRect WebSession::TakePicture() {
  if (Driver_.AwaitsStart()) return {};
  const CTavroDoc& doc = Driver_.Doc();
  const int32_t width = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldWidth() : 0;
  const int32_t height = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldHeight() : 0;
  MapRect area = Pending_;
  if (Whole_ || width != PictureWidth_ || height != PictureHeight_) {
    PictureWidth_ = width;
    PictureHeight_ = height;
    Pixels_.assign(static_cast<size_t>(width) * height * 4, 0);
    area = {0, 0, width, height};
  }
  Whole_ = false;
  Pending_ = {};
  area = IntersectRect(area, {0, 0, width, height});
  if (area.IsEmpty()) return {};
  const auto areaWidth = static_cast<size_t>(area.Right - area.Left);
  if (doc.Map().Format() == PixelFormat::Rgbx32) {
    // The map's true-colour words are red, green, blue, 255 already.
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
      std::memcpy(Pixels_.data() + (static_cast<size_t>(y) * width + area.Left) * 4,
                  doc.Map().Row(y) + static_cast<size_t>(area.Left) * 4, areaWidth * 4);
    }
    return area;
  }
  // A colour group change repaints the whole map, so one table serves the area.
  const ColourTable table = PlayfieldColourTable(doc);
  std::vector<uint8_t> row(areaWidth * 3);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    PlayfieldRgbRow(doc, table, y, area.Left, area.Right, row.data());
    uint8_t* out = Pixels_.data() + (static_cast<size_t>(y) * width + area.Left) * 4;
    for (size_t i = 0; i < row.size() / 3; ++i) {
      out[i * 4] = row[i * 3];
      out[i * 4 + 1] = row[i * 3 + 1];
      out[i * 4 + 2] = row[i * 3 + 2];
      out[i * 4 + 3] = 255;
    }
  }
  return area;
}

}  // namespace tavro
