// Colour tables for true-colour frames in a format of at most 256 colours a frame.
//
// A frame area with 256 colours or fewer gets exactly its own colours. A richer one gets 256
// colours chosen by median cut (the colour box with the widest channel is split at its median
// until there are 256 boxes, each giving its mean colour), and every pixel takes its nearest
// colour without dithering: dither noise would crawl from frame to frame over pictures that
// otherwise stand still.
#pragma once

#include <cstdint>
#include <vector>

#include "recording/Picture.h"

namespace tavro {

struct IndexedArea {
  std::vector<RgbColour> Colours;  // at most 256
  std::vector<uint8_t> Indices;    // one a pixel, in the order of the colours given
  bool Exact = true;               // every pixel shows its own colour
};

// `pixels`: red, green, blue triples.
IndexedArea IndexColours(const std::vector<uint8_t>& pixels);
// Indices into `table` for `pixels`, when every colour is in it; false otherwise.
bool IndexWithTable(const std::vector<uint8_t>& pixels, const std::vector<RgbColour>& table,
                    std::vector<uint8_t>& indices);

}  // namespace tavro
