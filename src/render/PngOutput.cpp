#include "render/PngOutput.h"

#include <QImageWriter>
#include <QString>
#include <algorithm>
#include <array>

namespace tavro::render {

namespace {

using Rgb = std::array<uint8_t, 3>;

// The colour of playfield pixel (x, y); the map is stored bottom-up.
Rgb MapColour(const CTavroDoc& doc, const std::array<Rgb, kPaletteColours>& table, int x, int y) {
  const ComposedMap& map = doc.Map();
  const uint8_t* row = map.StoredRow(map.Height() - 1 - y);
  if (map.BytesPerPixel() == 3) {
    const uint8_t* p = row + static_cast<size_t>(x) * 3;
    return {p[2], p[1], p[0]};
  }
  return table[row[x]];
}

std::array<Rgb, kPaletteColours> ColourTable(const CTavroDoc& doc) {
  std::array<Rgb, kPaletteColours> table{};
  const int count = std::clamp(doc.Set().Palettes().ColourCount, 0, kPaletteColours);
  for (int i = 0; i < count; ++i) {
    const RgbQuad& c = doc.Map().Info().Colours[i];
    table[i] = {c.Red, c.Green, c.Blue};
  }
  return table;
}

bool MapIsComplete(const CTavroDoc& doc) {
  return doc.Map().IsComplete(doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight());
}

}  // namespace

QImage PlayfieldImage(const CTavroDoc& doc, int zoom, std::string& error) {
  if (!MapIsComplete(doc)) {
    error = "there is no composed picture to write";
    return {};
  }
  const auto table = ColourTable(doc);
  QImage image(doc.Set().PlayfieldWidth() * zoom, doc.Set().PlayfieldHeight() * zoom,
               QImage::Format_RGB888);
  if (image.isNull()) {
    error = "not enough memory for a picture of that size";
    return {};
  }
  for (int y = 0; y < doc.Set().PlayfieldHeight(); ++y) {
    uchar* line = image.scanLine(y * zoom);
    for (int x = 0; x < doc.Set().PlayfieldWidth(); ++x) {
      const Rgb colour = MapColour(doc, table, x, y);
      for (int i = 0; i < zoom; ++i)
        std::copy(colour.begin(), colour.end(), line + (x * zoom + i) * 3);
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
