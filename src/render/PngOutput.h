// The composed playfield as a picture file.
#pragma once

#include <string>

#include "document/CTavroDoc.h"

namespace tavro::render {

// Writes the playfield of `doc`'s map, each map pixel as a `zoom` x `zoom` square, as an 8-bit
// RGB PNG. In 256-colour mode index i shows colour table entry i (black from ColourCount on);
// in true-colour mode the map's own colours. False with `error` set when there is no map or the
// file cannot be written.
bool WritePlayfieldPng(const CTavroDoc& doc, int zoom, const std::string& path,
                       std::string& error);

}  // namespace tavro::render
