// The composed playfield as a picture file.
#pragma once

#include <QImage>
#include <string>

#include "document/CTavroDoc.h"

namespace tavro::render {

// The playfield of `doc`'s map, each map pixel as a `zoom` x `zoom` square, as an 8-bit RGB
// image. In 256-colour mode index i shows colour table entry i (black from ColourCount on); in
// true-colour mode the map's own colours. A null image with `error` set when there is no map or
// no memory for the picture.
QImage PlayfieldImage(const CTavroDoc& doc, int zoom, std::string& error);

// Writes `image` to `path` as a PNG; false with `error` set when it cannot be written.
bool WritePng(const QImage& image, const std::string& path, std::string& error);

// PlayfieldImage written with WritePng.
bool WritePlayfieldPng(const CTavroDoc& doc, int zoom, const std::string& path, std::string& error);

}  // namespace tavro::render
