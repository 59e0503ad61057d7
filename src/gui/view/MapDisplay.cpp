#include "gui/view/MapDisplay.h"

#include <QList>
#include <algorithm>

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
  if (map.Format() == PixelFormat::Rgbx32) {
    // Red, green, blue and 255: the map's words are Qt's RGBX8888 as they are.
    return QImage(rows, doc.Set().PlayfieldWidth(), height, rowBytes, QImage::Format_RGBX8888);
  }
  QImage band(rows, doc.Set().PlayfieldWidth(), height, rowBytes, QImage::Format_Indexed8);
  band.setColorTable(ColourTable(doc));
  return band;
}

void DrawCompositeMap(QPainter& painter, const CTavroDoc& doc, const ViewGeometry& geometry,
                      const WindowRect& clip) {
  const ViewSize playfield{doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()};
  if (!doc.IsSetLoaded() || !doc.Map().IsComplete(playfield.Width, playfield.Height)) return;
  const MapDrawPlan plan = geometry.PlanDraw(clip, playfield);
  if (!plan.Draws) return;

  // Only the damaged rows and columns are copied; the map itself is never copied whole during a
  // paint.
  const MapRect& src = plan.Source;
  const QImage band = MapBand(doc, src.Top, src.Height());
  const QImage piece = band.copy(src.Left, 0, src.Width(), src.Height());
  const WindowRect& target = plan.Target;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(target.Left, target.Top, target.Width(), target.Height()), piece);
}

void DrawBackgroundStrips(QPainter& painter, const CTavroDoc& doc, const ViewGeometry& geometry) {
  ViewSize playfield{0, 0};
  if (doc.IsSetLoaded()) playfield = {doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight()};
  for (const WindowRect& strip : geometry.BackgroundStrips(playfield)) {
    painter.fillRect(QRect(strip.Left, strip.Top, strip.Width(), strip.Height()), kBackgroundGrey);
  }
}

}  // namespace tavro
