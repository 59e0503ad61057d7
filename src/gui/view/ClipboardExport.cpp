#include "gui/view/ClipboardExport.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "composition/ClipboardBitmap.h"

namespace tavro {

bool CopyPictureToClipboard(const CTavroDoc& doc) {
  if (doc.Map().Empty()) return false;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  const std::vector<uint8_t> bmp =
      MakeClipboardBmpFile({doc.Map(), doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight(),
                            doc.Set().Palettes().ColourCount});
  if (!bmp.empty()) {
    const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()),
                           static_cast<qsizetype>(bmp.size()));
    auto* mime = new QMimeData;
    mime->setData(kBmpMimeType, bytes);
    // The image is read back from the very bytes, so both formats show the same picture.
    const QImage image = QImage::fromData(bytes, "BMP");
    if (!image.isNull()) mime->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(mime);  // the clipboard owns it from here
  }
  QGuiApplication::restoreOverrideCursor();
  return !bmp.empty();
}

}  // namespace tavro
