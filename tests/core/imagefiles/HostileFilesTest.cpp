// Random and mangled bytes as cel and palette files: every decode and load must end with a result
// code and leave the document consistent, never crash or read out of bounds (run under the
// sanitizers).
#include <random>

#include "ImageFilesFixture.h"
#include "imagefiles/CelDecoder.h"

namespace tavro::test {
namespace {

using HostileFiles = ImageFilesTest;

// Random bytes, often behind a plausible header so the decoders get past their first checks:
// `depths` are the depth bytes worth trying, and small sizes keep cels within the playfield.
Bytes RandomFile(std::mt19937& rng, uint8_t mark, const std::vector<uint8_t>& depths) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 700);
  Bytes bytes(static_cast<size_t>(length(rng)));
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(byte(rng));
  if (bytes.size() >= 16 && byte(rng) < 192) {
    const char magic[] = "MiVO";
    std::copy(magic, magic + 4, bytes.begin());
    if (byte(rng) < 200) bytes[4] = mark + static_cast<uint8_t>(byte(rng) % 2);
    if (byte(rng) < 200) bytes[5] = depths[static_cast<size_t>(byte(rng)) % depths.size()];
    if (byte(rng) < 200) {
      for (size_t i : {9, 11, 13, 15}) bytes[i] = 0;
      for (size_t i : {8, 10, 12, 14}) bytes[i] %= 64;
    }
  } else if (bytes.size() >= 4 && byte(rng) < 128) {
    bytes[1] = bytes[3] = 0;  // an old-form cel of a sensible size
  }
  return bytes;
}

TEST(HostileBytes, RandomCelFilesDecodeOrFailCleanly) {
  std::mt19937 rng(20240601);
  CelDecodeOptions options{300, 200, 0};
  int decoded = 0;
  for (int i = 0; i < 2000; ++i) {
    options.PaletteBase = static_cast<uint8_t>(i);
    const DecodedCel cel = DecodeCel(RandomFile(rng, 0x20, {4, 8, 24, 16}), options);
    ASSERT_TRUE(cel.Error == 0 || cel.Error == kErrBadCell || cel.Error == kErrTooLargeCell)
        << cel.Error;
    if (cel.Error != 0) {
      EXPECT_TRUE(cel.Pixels.empty());
      continue;
    }
    ++decoded;
    const CelHeader& header = cel.Header;
    EXPECT_EQ(cel.Pixels.size(), CelDecodedBytes(header.Width, header.Height, header.BitsPerPixel));
    EXPECT_LE(header.OffsetX + header.Width, options.PlayfieldWidth);
    EXPECT_LE(header.OffsetY + header.Height, options.PlayfieldHeight);
  }
  EXPECT_GT(decoded, 100);  // the generator must reach the decoder, not only the header checks
}

TEST_F(HostileFiles, RandomPaletteFilesLoadOrFailCleanly) {
  std::mt19937 rng(7);
  int read = 0;
  for (int i = 0; i < 1500; ++i) {
    if (i % 100 == 0) {  // start a fresh colour table now and then, as a new set would
      build_.ColourCount(0);
      build_.PaletteFileCount(0);
    }
    files_.Write("x.kcf", RandomFile(rng, 0x10, {12, 24, 8}));
    const int number = i % kMaxPaletteLines;
    const int32_t result = LoadPaletteFile(doc_.EditSet(), "x.kcf", number, problems_);
    ASSERT_TRUE(result == 0 || result == 2) << result;
    read += result == 0;
    EXPECT_GE(doc_.Set().Palettes().ColourCount, 0);
    EXPECT_LE(doc_.Set().Palettes().ColourCount, kPaletteColours);
    EXPECT_LE(doc_.Set().Palettes().GroupCount, kGroupCount);
  }
  EXPECT_TRUE(host_.Messages.empty());
  EXPECT_GT(read, 200);
}

}  // namespace
}  // namespace tavro::test
