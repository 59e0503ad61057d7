#include "render/PngOutput.h"

#include <QImageWriter>
#include <QString>
#include <algorithm>
#include <vector>

#include "recording/Picture.h"

namespace tavro::render {

// The colours come from the rows a recording's frames are made of.
QImage PlayfieldImage(const CTavroDoc& doc, int zoom, std::string& error) {
  if (!PlayfieldIsComposed(doc)) {
    error = "there is no composed picture to write";
    return {};
  }
  const ColourTable table = PlayfieldColourTable(doc);
  std::vector<uint8_t> colours(static_cast<size_t>(doc.Set().PlayfieldWidth()) * 3);
  QImage image(doc.Set().PlayfieldWidth() * zoom, doc.Set().PlayfieldHeight() * zoom,
               QImage::Format_RGB888);
  if (image.isNull()) {
    error = "not enough memory for a picture of that size";
    return {};
  }
  for (int y = 0; y < doc.Set().PlayfieldHeight(); ++y) {
    uchar* line = image.scanLine(y * zoom);
    PlayfieldRgbRow(doc, table, y, 0, doc.Set().PlayfieldWidth(), colours.data());
    for (int x = 0; x < doc.Set().PlayfieldWidth(); ++x) {
      for (int i = 0; i < zoom; ++i) std::copy_n(&colours[x * 3], 3, line + (x * zoom + i) * 3);
    }
    for (int i = 1; i < zoom; ++i) {
      std::copy_n(line, image.bytesPerLine(), image.scanLine(y * zoom + i));
    }
  }
  return image;
}

bool WritePng(const QImage& image, const std::string& path, std::string& error) {
  QImageWriter writer(QString::fromStdString(path), "png");
  if (!writer.write(image)) {
    error = "cannot write \"" + path + "\": " + writer.errorString().toStdString();
    return false;
  }
  return true;
}

bool WritePlayfieldPng(const CTavroDoc& doc, int zoom, const std::string& path,
                       std::string& error) {
  const QImage image = PlayfieldImage(doc, zoom, error);
  return !image.isNull() && WritePng(image, path, error);
}

}  // namespace tavro::render
