// Drawing the composed map into the view, zoomed with whole pixels (Qt side of composition).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "document/CTavroDoc.h"
#include "gui/view/ViewGeometry.h"

namespace tavro {

// The map rows `top` to `top + height - 1` (counted from the top of the picture) as an image
// that shares the document's pixels. Valid until the map changes.
QImage MapBand(const CTavroDoc& doc, int top, int height);

// Paints the part of the picture, shown as `geometry` says, that falls in the window area `clip`.
// Paints nothing when no set is loaded or no map is there.
void DrawCompositeMap(QPainter& painter, const CTavroDoc& doc, const ViewGeometry& geometry,
                      const WindowRect& clip);

// Fills the grey strips around the picture, shown as `geometry` says.
void DrawBackgroundStrips(QPainter& painter, const CTavroDoc& doc, const ViewGeometry& geometry);

inline const QColor kBackgroundGrey{128, 128, 128};

}  // namespace tavro
