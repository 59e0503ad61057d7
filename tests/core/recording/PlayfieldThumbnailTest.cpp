// The shown picture in small: the page's colours for the whole map, area-averaged, in either
// colour mode, and nothing while no set shows.
#include <gtest/gtest.h>

#include <set>

#include "document/DocumentSession.h"
#include "recording/Picture.h"
#include "recording/PlayfieldThumbnail.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

// A 20 x 10 playfield with cels of three colours over the background.
constexpr char kSet[] =
    "(20,10)\n%p.kcf\n#1 eye.cel :0\n#0 body.cel :0\n#2 button.cel :0\n"
    "$0 1,1 2,2 13,5\n";

class PlayfieldThumbnailTest : public ::testing::Test {
 protected:
  test::FakeHost host_;
  DocumentSession session_{host_, host_};
  test::TempDir dir_;
  test::SetFiles files_{dir_.Path()};

  void SetUp() override {
    files_.OldPalette("p.kcf");
    files_.SolidCel("body.cel", 5, 4, 1);
    files_.SolidCel("eye.cel", 3, 3, 2);
    files_.SolidCel("button.cel", 7, 5, 3);
    files_.WriteText("set.cnf", kSet);
  }
  bool Open() { return session_.Open(files_.Path("set.cnf").string()).Opened; }
  // The whole picture as the page is sent it: red, green, blue, 255.
  std::vector<uint8_t> Shown() const {
    Picture picture;
    EXPECT_TRUE(CapturePicture(session_.Doc(), picture));
    std::vector<uint8_t> rgba;
    for (int32_t y = 0; y < picture.Height; ++y) {
      for (int32_t x = 0; x < picture.Width; ++x) {
        const RgbColour colour = picture.ColourAt(x, y);
        rgba.insert(rgba.end(), {colour[0], colour[1], colour[2], 255});
      }
    }
    return rgba;
  }
};

TEST_F(PlayfieldThumbnailTest, NothingShowsBeforeASetHasStarted) {
  PlayfieldThumbnail thumbnail = ThumbnailOfPlayfield(session_.Doc(), 128);
  EXPECT_EQ(thumbnail.Width, 0);
  EXPECT_EQ(thumbnail.Height, 0);
  EXPECT_TRUE(thumbnail.Pixels.empty());
  ASSERT_TRUE(Open());
  // Read, its messages not yet shown: the page has no picture yet either.
  EXPECT_TRUE(ThumbnailOfPlayfield(session_.Doc(), 128).Pixels.empty());
  session_.StartSet();
  thumbnail = ThumbnailOfPlayfield(session_.Doc(), 128);
  EXPECT_EQ(thumbnail.Width, 20);
  EXPECT_EQ(thumbnail.Height, 10);
  session_.NewDocument();
  EXPECT_TRUE(ThumbnailOfPlayfield(session_.Doc(), 128).Pixels.empty());
}

TEST_F(PlayfieldThumbnailTest, ABoxTheSizeOfThePictureOrLargerGivesItsOwnColoursInEitherMode) {
  ASSERT_TRUE(Open());
  session_.StartSet();
  for (bool trueColour : {false, true}) {
    if (trueColour) session_.ColourModeTrue();
    ASSERT_EQ(session_.Doc().Map().Format() == PixelFormat::Rgbx32, trueColour);
    for (int32_t box : {20, 128, 1024, 100000}) {
      const PlayfieldThumbnail thumbnail = ThumbnailOfPlayfield(session_.Doc(), box);
      EXPECT_EQ(thumbnail.Width, 20) << box;
      EXPECT_EQ(thumbnail.Height, 10) << box;
      EXPECT_EQ(thumbnail.Pixels, Shown()) << "true colour " << trueColour << ", box " << box;
    }
  }
}

TEST_F(PlayfieldThumbnailTest, HalvedEachPixelIsTheMeanOfItsBlockAndTheSmallestIsOnePixel) {
  ASSERT_TRUE(Open());
  session_.StartSet();
  const std::vector<uint8_t> shown = Shown();
  // Blocks of one colour would make any mean right.
  std::set<uint32_t> colours;
  for (size_t i = 0; i < shown.size(); i += 4) {
    colours.insert(uint32_t{shown[i]} << 16 | uint32_t{shown[i + 1]} << 8 | shown[i + 2]);
  }
  ASSERT_GE(colours.size(), 4u);
  for (bool trueColour : {false, true}) {
    if (trueColour) session_.ColourModeTrue();
    const PlayfieldThumbnail half = ThumbnailOfPlayfield(session_.Doc(), 10);
    ASSERT_EQ(half.Width, 10);
    ASSERT_EQ(half.Height, 5);
    ASSERT_EQ(half.Pixels.size(), 10u * 5 * 4);
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 10; ++x) {
        for (int32_t c = 0; c < 4; ++c) {
          int32_t sum = 0;
          for (int32_t dy = 0; dy < 2; ++dy) {
            for (int32_t dx = 0; dx < 2; ++dx)
              sum += shown[((2 * y + dy) * 20 + 2 * x + dx) * 4 + c];
          }
          EXPECT_EQ(half.Pixels[(y * 10 + x) * 4 + c], (sum + 2) / 4) << x << "," << y << " " << c;
        }
      }
    }
    // A box of nothing is held to one pixel: the mean of the whole picture.
    const PlayfieldThumbnail dot = ThumbnailOfPlayfield(session_.Doc(), 0);
    ASSERT_EQ(dot.Pixels.size(), 4u);
    for (int32_t c = 0; c < 4; ++c) {
      int32_t sum = 0;
      for (size_t i = c; i < shown.size(); i += 4) sum += shown[i];
      EXPECT_EQ(dot.Pixels[c], (sum + 100) / 200) << c;
    }
  }
}

}  // namespace
}  // namespace tavro
