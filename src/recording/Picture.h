// The playfield as a person sees it: the composed map turned into colours, one map pixel a pixel.
//
// tavro-render's PNG and every recorded frame are made from these rows, so a frame and a PNG of
// the same state hold the same colours.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/CTavroDoc.h"
#include "platform/MapRect.h"

namespace tavro {

using RgbColour = std::array<uint8_t, 3>;  // red, green, blue
using ColourTable = std::array<RgbColour, kPaletteColours>;

// The map's colour table: entry i is colour i of the current group, black from ColourCount on.
ColourTable PlayfieldColourTable(const CTavroDoc& doc);

// The same colours as the canvas's words: red, green, blue, 255 in memory order, for looking up
// a 256-colour map's indices straight into pixels the page draws.
using CanvasWords = std::array<uint32_t, kPaletteColours>;
CanvasWords PlayfieldCanvasWords(const CTavroDoc& doc);
// Is there a composed map the size of the playfield?
bool PlayfieldIsComposed(const CTavroDoc& doc);
// Colours of playfield row y (top row 0), columns [left, right), into `out` (3 bytes a pixel).
void PlayfieldRgbRow(const CTavroDoc& doc, const ColourTable& table, int32_t y, int32_t left,
                     int32_t right, uint8_t* out);

// A copy of the playfield: colour indices with their table in 256-colour mode, colours in true
// colour. Rows top first.
struct Picture {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BytesPerPixel = 1;  // 1: indices into Table; 3: red, green, blue
  std::vector<uint8_t> Pixels;
  ColourTable Table{};

  const uint8_t* Row(int32_t y) const {
    return Pixels.data() + static_cast<size_t>(y) * Width * BytesPerPixel;
  }
  uint8_t* Row(int32_t y) { return Pixels.data() + static_cast<size_t>(y) * Width * BytesPerPixel; }
  RgbColour ColourAt(int32_t x, int32_t y) const;
  MapRect Whole() const { return {0, 0, Width, Height}; }
};

// Takes the whole playfield; false when there is no composed map.
bool CapturePicture(const CTavroDoc& doc, Picture& picture);
// Brings `area` of `picture` up to date with the map (the whole picture when the colour table
// changed); true when any pixel's colour changed.
bool RefreshPicture(const CTavroDoc& doc, const MapRect& area, Picture& picture);
// Would RefreshPicture change anything? Leaves the picture as it is.
bool PictureIsStale(const CTavroDoc& doc, const MapRect& area, const Picture& picture);
// The smallest rectangle holding every pixel whose colour differs between two pictures of one
// size; empty when they look the same. Outside `within` their pixels are known to be the same,
// though with other colour tables they may show differently.
MapRect DifferingArea(const Picture& a, const Picture& b, const MapRect& within);

}  // namespace tavro
