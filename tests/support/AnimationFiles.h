// Reads recorded animations back with the formats' own decoders, as a player would show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro::test {

struct ShownFrame {
  std::vector<uint8_t> rgb;  // the whole canvas after this frame, rows top first
  uint32_t durationMs = 0;
};

struct Animation {
  bool ok = false;
  std::string error;
  int width = 0;
  int height = 0;
  std::vector<ShownFrame> frames;
  uint32_t TotalMs() const;
  std::vector<uint32_t> Durations() const;
};

// A GIF through giflib; each frame drawn over the ones before it.
Animation ReadGifAnimation(const std::string& path);
// A WebP through libwebp's animation decoder.
Animation ReadWebpAnimation(const std::string& path);
// By the extension.
Animation ReadAnimation(const std::string& path);

}  // namespace tavro::test
