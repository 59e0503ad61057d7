// True colour leaves out what cels above hide. Piles of cels (opaque, blended by level, 32-bit
// with alpha, with holes, hanging off the edges) composed whole, in pieces and while a drag is
// held, against drawing every pixel of every cel from the bottom up by the scalar rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "composition/PixelRuns.h"
#include "core/composition/ComposerFixture.h"

namespace tavro::test {
namespace {

constexpr int kWidth = 90, kHeight = 70, kCels = 40;

struct PiledCel {
  int Width = 0, Height = 0;
  bool Alpha = false;
  int Level = 0;
  std::vector<uint8_t> Pixels;  // top row first
};

class HiddenPixelsTest : public ComposerFixture {
 protected:
  void SetUp() override {
    Playfield(kWidth, kHeight, true);
    for (int i = 0; i < 256; ++i) {
      SetColour(0, i, Byte(), Byte(), Byte());
    }
    for (int i = 0; i < kCels; ++i) {
      PiledCel cel;
      cel.Width = 1 + static_cast<int>(random_() % 60);
      cel.Height = 1 + static_cast<int>(random_() % 50);
      cel.Alpha = random_() % 4 == 0;
      // Mostly opaque, so that deep cels are hidden; levels out of range count as their ends.
      const int levels[] = {0, 0, 0, -5, 1, 128, 255, 300};
      cel.Level = levels[random_() % 8];
      const size_t count = static_cast<size_t>(cel.Width) * cel.Height;
      cel.Pixels.resize(count * (cel.Alpha ? 4 : 1));
      for (size_t p = 0; p < count; ++p) {
        const bool hole = random_() % 6 == 0;
        if (!cel.Alpha) {
          cel.Pixels[p] = hole ? 0 : static_cast<uint8_t>(1 + random_() % 255);
          continue;
        }
        for (int k = 0; k < 3; ++k) cel.Pixels[4 * p + k] = Byte();
        const uint8_t alphas[] = {255, 255, 255, 254, 1, 128};
        cel.Pixels[4 * p + 3] = hole ? 0 : alphas[random_() % 6];
      }
      const int index = cel.Alpha ? AddAlphaCel(i, cel.Width, cel.Height, cel.Pixels)
                                  : AddCel(i, cel.Width, cel.Height, cel.Pixels);
      build_.Transparency(index, cel.Level);
      PlaceEverywhere(i, RandomPosition(kWidth), RandomPosition(kHeight));
      cels_.push_back(std::move(cel));
    }
    ShowSet(0);
  }

  uint8_t Byte() { return static_cast<uint8_t>(random_()); }
  // Anywhere from a little off the top or left edge to a little past the other.
  int16_t RandomPosition(int size) {
    return static_cast<int16_t>(static_cast<int>(random_() % (size + 40)) - 30);
  }

  // Every cel, the last line first, every pixel by the scalar rules, over the background.
  std::vector<uint32_t> Expected() const {
    uint32_t words[256];
    for (int i = 0; i < 256; ++i) {
      const RgbQuad c = doc_.Set().Palettes().ColourOfGroup(0, i);
      words[i] = c.Red | c.Green << 8 | c.Blue << 16;
    }
    std::vector<uint32_t> picture(kWidth * kHeight, words[0] | 0xFF000000u);
    for (int i = kCels; i-- > 0;) {
      const PiledCel& cel = cels_[i];
      const ObjectEntry& object = Object(i);
      const auto level = static_cast<uint32_t>(std::clamp(cel.Level, 0, 255));
      for (int y = 0; y < cel.Height; ++y) {
        for (int x = 0; x < cel.Width; ++x) {
          const int mapX = object.X + x, mapY = object.Y + y;
          if (mapX < 0 || mapY < 0 || mapX >= kWidth || mapY >= kHeight) continue;
          uint32_t* pixel = &picture[mapY * kWidth + mapX];
          const size_t at = static_cast<size_t>(y) * cel.Width + x;
          if (cel.Alpha) {
            compose::scalar::AlphaRun(pixel, &cel.Pixels[4 * at], 1);
          } else {
            compose::scalar::LevelColourRun(pixel, &cel.Pixels[at], 1, words, level);
          }
        }
      }
    }
    return picture;
  }

  void ExpectPictureAsDrawnWhole(const std::string& when) {
    const std::vector<uint32_t> expected = Expected();
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        uint32_t word;
        std::memcpy(&word, doc_.Map().Row(y) + 4 * x, 4);
        if (word != expected[y * kWidth + x] && ++wrong <= 5) {
          ADD_FAILURE() << when << ": pixel " << x << ", " << y << " is " << std::hex << word
                        << " not " << expected[y * kWidth + x];
        }
      }
    }
    EXPECT_EQ(wrong, 0) << when;
  }

  std::mt19937 random_{37};
  std::vector<PiledCel> cels_;
};

TEST_F(HiddenPixelsTest, APileComposesAsIfEveryPixelWereDrawn) {
  ExpectPictureAsDrawnWhole("whole");
  // Objects moved and only the rectangles they swept recomposed, in pieces of every size.
  for (int step = 0; step < 12; ++step) {
    const int object = static_cast<int>(random_() % kCels);
    const ObjectEntry& moved = Object(object);
    const int16_t x = moved.X, y = moved.Y;
    build_.Move(object, RandomPosition(kWidth), RandomPosition(kHeight));
    ComposeRect(std::min(x, moved.X), std::min(y, moved.Y),
                cels_[object].Width + std::abs(x - moved.X),
                cels_[object].Height + std::abs(y - moved.Y));
    ExpectPictureAsDrawnWhole("after step " + std::to_string(step));
  }
}

TEST_F(HiddenPixelsTest, DragStepsOverTheBackdropComposeAsIfEveryPixelWereDrawn) {
  const int held = kCels / 2;  // cels above it and beneath it
  doc_.Pointer().Hold(doc_.Set().SlotOf(held));
  for (int step = 0; step < 6; ++step) {
    const ObjectEntry& moved = Object(held);
    const int16_t x = moved.X, y = moved.Y;
    build_.Move(held, static_cast<int16_t>(x + 3), static_cast<int16_t>(y + 2));
    ComposeRect(x, y, cels_[held].Width + 3, cels_[held].Height + 2);
    ExpectPictureAsDrawnWhole("drag step " + std::to_string(step));
  }
  doc_.Pointer().Hold(0);
}

}  // namespace
}  // namespace tavro::test
