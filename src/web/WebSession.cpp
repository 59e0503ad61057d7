#include "web/WebSession.h"

#include <algorithm>

#include "recording/Picture.h"

namespace tavro {

WebSession::WebSession() = default;

void WebSession::Note(const SessionChange& change) {
  if (change.WholeView || change.NewSet) Whole = true;
  Pending = UnionRect(Pending, change.Repaint);
}

MapRect WebSession::TakePicture() {
  if (Driver.AwaitsStart()) return {};
  const CTavroDoc& doc = Driver.Doc();
  const int32_t width = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldWidth() : 0;
  const int32_t height = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldHeight() : 0;
  MapRect area = Pending;
  if (Whole || width != PictureWidth || height != PictureHeight) {
    PictureWidth = width;
    PictureHeight = height;
    Pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    area = {0, 0, width, height};
  }
  Whole = false;
  Pending = {};
  area = IntersectRect(area, {0, 0, width, height});
  if (area.IsEmpty()) return {};
  // A colour group change repaints the whole map, so one table serves the area.
  const ColourTable table = PlayfieldColourTable(doc);
  std::vector<uint8_t> row(static_cast<size_t>(area.right - area.left) * 3);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    PlayfieldRgbRow(doc, table, y, area.left, area.right, row.data());
    uint8_t* out = Pixels.data() + (static_cast<size_t>(y) * width + area.left) * 4;
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
