// The shown picture in small, as the page's shelf keeps one for every set it has opened: the
// same colours the page is sent for the whole map, scaled down by area averaging.
#pragma once

#include <cstdint>
#include <vector>

#include "document/CTavroDoc.h"

namespace tavro {

// The largest box a thumbnail is asked for; a larger (or smaller than one pixel) box is held to
// this range.
inline constexpr int32_t kMaxThumbnailBox = 1024;

struct PlayfieldThumbnail {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Pixels;  // Width * Height pixels of red, green, blue, 255, no row gaps
};

// The composed playfield fitted within `box` x `box` (FitWithin); nothing (0 x 0) while no set
// shows, a loaded one not started yet included.
PlayfieldThumbnail ThumbnailOfPlayfield(const CTavroDoc& doc, int32_t box);

}  // namespace tavro
