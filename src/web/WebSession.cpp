#include "web/WebSession.h"

#include "document/SetExport.h"
#include "recording/Picture.h"

namespace tavro {

WebSession::WebSession() = default;

void WebSession::Note(const SessionChange& change) {
  if (change.WholeView || change.NewSet) Whole_ = true;
  Pending_ = UnionRect(Pending_, change.Repaint);
}

MapRect WebSession::TakePicture() {
  Area_ = {};
  RowBytes_ = 0;
  Looked_.clear();
  if (Driver_.AwaitsStart()) return {};
  const CTavroDoc& doc = Driver_.Doc();
  const int32_t width = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldWidth() : 0;
  const int32_t height = PlayfieldIsComposed(doc) ? doc.Set().PlayfieldHeight() : 0;
  MapRect area = Pending_;
  if (Whole_ || width != PictureWidth_ || height != PictureHeight_) {
    PictureWidth_ = width;
    PictureHeight_ = height;
    area = {0, 0, width, height};
  }
  Whole_ = false;
  Pending_ = {};
  area = IntersectRect(area, {0, 0, width, height});
  if (area.IsEmpty()) return {};
  const ComposedMap& map = doc.Map();
  const auto areaWidth = static_cast<size_t>(area.Right - area.Left);
  const auto areaHeight = static_cast<size_t>(area.Bottom - area.Top);
  Area_ = area;
  if (map.Format() == PixelFormat::Rgbx32) {
    RowBytes_ = map.RowBytes();
    return area;
  }
  // A colour group change repaints the whole map, so one table serves the area.
  const CanvasWords words = PlayfieldCanvasWords(doc);
  Looked_.resize(areaWidth * areaHeight);
  uint32_t* out = Looked_.data();
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const uint8_t* row = map.Row(y) + area.Left;
    for (size_t x = 0; x < areaWidth; ++x) *out++ = words[row[x]];
  }
  RowBytes_ = areaWidth * 4;
  return area;
}

bool WebSession::AreaInMap() const {
  const ComposedMap& map = Doc().Map();
  return Looked_.empty() && !Area_.IsEmpty() && map.Format() == PixelFormat::Rgbx32 &&
         PlayfieldIsComposed(Doc()) && RowBytes_ == map.RowBytes() &&
         Area_.Right <= Doc().Set().PlayfieldWidth() &&
         Area_.Bottom <= Doc().Set().PlayfieldHeight();
}

const uint8_t* WebSession::AreaPixels() const {
  if (!Looked_.empty()) return reinterpret_cast<const uint8_t*>(Looked_.data());
  if (!AreaInMap()) return nullptr;
  return Doc().Map().Row(Area_.Top) + static_cast<size_t>(Area_.Left) * 4;
}

size_t WebSession::AreaBytes() const {
  if (!Looked_.empty()) return Looked_.size() * 4;
  if (!AreaInMap()) return 0;
  const auto rows = static_cast<size_t>(Area_.Bottom - Area_.Top);
  return (rows - 1) * RowBytes_ + static_cast<size_t>(Area_.Right - Area_.Left) * 4;
}

ZipExportResult WebSession::ExportSet(const std::string& path) const {
  return ExportOpenSet(Doc(), path);
}

}  // namespace tavro
