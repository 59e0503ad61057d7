// Reads recorded animations back with the formats' own decoders, as a player would show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro::test {

struct ShownFrame {
  std::vector<uint8_t> Rgb;  // the whole canvas after this frame, rows top first
  uint32_t DurationMs = 0;
  // The area the frame's own image covers, canvas pixels.
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Animation {
  bool Ok = false;
  std::string Error;
  int Width = 0;
  int Height = 0;
  bool EvenCorners = false;  // WebP frames start on even pixels
  std::vector<ShownFrame> Frames;
  uint32_t TotalMs() const;
  std::vector<uint32_t> Durations() const;
};

// A GIF through giflib; each frame drawn over the ones before it.
Animation ReadGifAnimation(const std::string& path);
// A WebP through libwebp's animation decoder.
Animation ReadWebpAnimation(const std::string& path);
// By the extension.
Animation ReadAnimation(const std::string& path);

// Every way the frames break "one frame per distinct picture, holding only what changed", a line
// each: a frame that looks like the one before it, a first frame smaller than the canvas, a later
// one that is not the smallest rectangle around the pixels that changed (its corner moved to even
// pixels in a WebP). Empty when there is none.
std::string FrameFaults(const Animation& animation);

}  // namespace tavro::test
