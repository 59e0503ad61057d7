#include "web/WebSession.h"

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
    area = {0, 0, width, height};
  }
  Whole_ = false;
  Pending_ = {};
  area = IntersectRect(area, {0, 0, width, height});
  if (area.IsEmpty()) return {};
  if (!TrueColour()) {
    const ColourTable table = PlayfieldColourTable(doc);
    for (size_t i = 0; i < table.size(); ++i) {
      Colours_[i * 4] = table[i][0];
      Colours_[i * 4 + 1] = table[i][1];
      Colours_[i * 4 + 2] = table[i][2];
      Colours_[i * 4 + 3] = 255;
    }
  }
  return area;
}

bool WebSession::TrueColour() const { return Doc().Map().Format() == PixelFormat::Rgbx32; }

const uint8_t* WebSession::MapBytes() const { return Doc().Map().Bytes().data(); }

size_t WebSession::MapSize() const {
  return PlayfieldIsComposed(Doc()) ? Doc().Map().Bytes().size() : 0;
}

size_t WebSession::RowBytes() const { return Doc().Map().RowBytes(); }

}  // namespace tavro
