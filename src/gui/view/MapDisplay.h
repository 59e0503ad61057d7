// Drawing the composed map into the view, zoomed with whole pixels (Qt side of composition).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "document/CTavroDoc.h"

namespace tavro {

// The map rows `top` to `top + height - 1` (counted from the top of the picture) as an image
// that shares the document's pixels. Valid until the map changes.
QImage MapBand(const CTavroDoc& doc, int top, int height);

// Paints the part of the picture, `zoom` times enlarged, that falls in `logicalClip` (zoomed
// coordinates, before scrolling) at `origin` - the window position of logical (0, 0). Paints
// nothing when no set is loaded or no map is there.
void DrawCompositeMap(QPainter& painter, const CTavroDoc& doc, int zoom, const QRect& logicalClip,
                      QPoint origin);

// Fills the grey strips around the picture, `zoom` times enlarged, of a client area of `client`
// scrolled to `scroll`.
void DrawBackgroundStrips(QPainter& painter, const CTavroDoc& doc, int zoom, QSize client,
                          QPoint scroll);

inline const QColor kBackgroundGrey{128, 128, 128};

}  // namespace tavro
