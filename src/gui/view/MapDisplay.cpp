#include "gui/view/MapDisplay.h"

#include <QList>
#include <algorithm>

#include "gui/view/ViewGeometry.h"

namespace tavro {

namespace {

// Entries past the set's own colours still hold whatever an earlier set left there; indices
// that reach them are drawn black, as on the clipboard and in rendered pictures.
QList<QRgb> ColourTable(const CTavroDoc& doc) {
  const int used = std::clamp(doc.Set().Palettes().ColourCount, 0, kPaletteColours);
  QList<QRgb> table(kPaletteColours, qRgb(0, 0, 0));
  for (int i = 0; i < used; ++i) {
    const RgbQuad& c = doc.Map().Colours()[static_cast<size_t>(i)];
    table[i] = qRgb(c.Red, c.Green, c.Blue);
  }
  return table;
}

}  // namespace

QImage MapBand(const CTavroDoc& doc, int top, int height) {
  const ComposedMap& map = doc.Map();
  // The stride counts pixels (a multiple of 4), so every row is a multiple of 4 bytes long.
  const auto rowBytes = static_cast<qsizetype>(map.RowBytes());
  const uchar* rows = map.Row(top);
  if (map.BytesPerPixel() == 3) {
    return QImage(rows, doc.Set().PlayfieldWidth(), height, rowBytes, QImage::Format_BGR888);
  }
  QImage band(rows, doc.Set().PlayfieldWidth(), height, rowBytes, QImage::Format_Indexed8);
  band.setColorTable(ColourTable(doc));
  return band;
}

void DrawCompositeMap(QPainter& painter, const CTavroDoc& doc, int zoom, const QRect& logicalClip,
                      QPoint origin) {
  if (!doc.IsSetLoaded() ||
      !doc.Map().IsComplete(doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()))
    return;
  const MapRect clip{logicalClip.left(), logicalClip.top(), logicalClip.right() + 1,
                     logicalClip.bottom() + 1};
  const MapDrawPlan plan =
      PlanMapDraw(clip, zoom, {doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()});
  if (!plan.draws) return;

  // Only the damaged rows and columns are copied; the map itself is never copied whole during a
  // paint.
  const MapRect& src = plan.source;
  const QImage band = MapBand(doc, src.top, src.Height());
  const QImage piece = band.copy(src.left, 0, src.Width(), src.Height());
  const QRect target(plan.target.left + origin.x(), plan.target.top + origin.y(),
                     plan.target.Width(), plan.target.Height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, piece);
}

void DrawBackgroundStrips(QPainter& painter, const CTavroDoc& doc, int zoom, QSize client,
                          QPoint scroll) {
  ViewSize extent{0, 0};
  if (doc.IsSetLoaded()) {
    extent = {doc.Set().PlayfieldWidth() * zoom, doc.Set().PlayfieldHeight() * zoom};
  }
  for (const MapRect& strip :
       BackgroundStrips(extent, {scroll.x(), scroll.y()}, {client.width(), client.height()})) {
    painter.fillRect(QRect(strip.left, strip.top, strip.Width(), strip.Height()), kBackgroundGrey);
  }
}

}  // namespace tavro
