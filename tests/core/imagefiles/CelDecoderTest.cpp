#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "ImageFilesFixture.h"
#include "imagefiles/CelDecoder.h"
#include "imagefiles/SetImageFiles.h"

namespace tavro::test {
namespace {

using CelDecoder = ImageFilesTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Bytes NewHeader(uint8_t mark, uint8_t depth, int width, int height, int x = 0, int y = 0) {
  Bytes b = {'M', 'i', 'V', 'O', mark, depth, 0, 0};
  for (int v : {width, height, x, y}) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>(v >> 8));
  }
  b.resize(32, 0xEE);  // the unread tail of the header must not matter
  return b;
}

Bytes Append(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

DecodedCel Decode(const Bytes& bytes, CelDecodeOptions options = {}) {
  return DecodeCel(bytes, options);
}

CelDecodeOptions Playfield(int width, int height) { return {width, height, 0}; }

std::vector<uint8_t> TopDown(const DecodedCel& cel) {
  return TopDownRows(cel.Pixels, cel.Header.Width, cel.Header.Height);
}

TEST(CelBytes, OldFormIsFourBitsHighNibbleFirstStoredBottomUp) {
  // Width 3: two bytes a row, the second byte's low nibble unused.
  const DecodedCel cel = Decode({3, 0, 2, 0, 0x12, 0x3F, 0x45, 0x6F});
  ASSERT_EQ(cel.Error, 0);
  EXPECT_EQ(cel.Header.Width, 3);
  EXPECT_EQ(cel.Header.Height, 2);
  EXPECT_EQ(cel.Header.OffsetX, 0);
  EXPECT_EQ(cel.Header.OffsetY, 0);
  EXPECT_EQ(cel.Header.BitsPerPixel, 4);
  EXPECT_THAT(cel.Pixels, ElementsAre(4, 5, 6, 1, 2, 3));
}

TEST_F(CelDecoder, LoadCelAttachesWhatTheFileDecodesTo) {
  files_.Write("b.cel", EncodeIndexedCel(8, 3, 2, 5, 7, {1, 2, 3, 4, 5, 6}));
  CellEntry cell = Cell("b.cel", 0, 0, 0x0F0);
  ASSERT_EQ(LoadCel(cell), 0);
  EXPECT_EQ(cell.Width, 3);
  EXPECT_EQ(cell.Height, 2);
  EXPECT_EQ(cell.OffsetX, 5);
  EXPECT_EQ(cell.OffsetY, 7);
  EXPECT_EQ(cell.BitsPerPixel, 8);
  EXPECT_EQ(cell.SetMask, 0x0F0);
  EXPECT_THAT(TopDown(cell), ElementsAre(1, 2, 3, 4, 5, 6));
  EXPECT_EQ(loadedCels_, 1);
  EXPECT_FALSE(trueColourMark_);
}

TEST(CelBytes, NewFormIndexedDepthsOddWidthsAndOffsets) {
  // 8-bit, width 3: each row exactly three bytes, no padding.
  DecodedCel cel = Decode(Append(NewHeader(0x20, 8, 3, 2, 5, 7), {1, 2, 3, 4, 5, 6}));
  ASSERT_EQ(cel.Error, 0);
  EXPECT_EQ(cel.Header.BitsPerPixel, 8);
  EXPECT_EQ(cel.Header.OffsetX, 5);
  EXPECT_EQ(cel.Header.OffsetY, 7);
  EXPECT_THAT(TopDown(cel), ElementsAre(1, 2, 3, 4, 5, 6));

  // 4-bit new form, width 5: three bytes a row.
  cel = Decode(Append(NewHeader(0x20, 4, 5, 2), {0x12, 0x34, 0x5F, 0x67, 0x89, 0xAF}));
  ASSERT_EQ(cel.Error, 0);
  EXPECT_EQ(cel.Header.BitsPerPixel, 4);
  EXPECT_THAT(TopDown(cel), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10));

  // The test encoders agree with the decoder on a larger odd-width picture.
  std::vector<uint8_t> values;
  for (int i = 0; i < 7 * 5; ++i) values.push_back(static_cast<uint8_t>(i % 16));
  cel = Decode(EncodeOldCel(7, 5, values));
  ASSERT_EQ(cel.Error, 0);
  EXPECT_THAT(TopDown(cel), ElementsAreArray(values));
}

TEST_F(CelDecoder, PaletteBaseIsAddedModulo256ButZeroStaysTransparent) {
  build_.PaletteBase(2, 250);
  files_.Write("e.cel", EncodeIndexedCel(8, 4, 1, 0, 0, {0, 5, 6, 10}));
  CellEntry cell = Cell("e.cel", 0, 2);
  ASSERT_EQ(LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 255, 0, 4));

  build_.PaletteBase(1, 15);
  files_.Write("f.cel", EncodeOldCel(3, 1, {0, 1, 15}));
  cell = Cell("f.cel", 0, 1);
  ASSERT_EQ(LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 16, 30));

  // A palette number without a palette file has base 0.
  cell = Cell("f.cel", 0, 200);
  ASSERT_EQ(LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 1, 15));
}

TEST_F(CelDecoder, ThirtyTwoBitCelsKeepTheirBytesAndOnlyMark21SwitchesTrueColour) {
  build_.PaletteBase(0, 9);  // must not touch 32-bit pixels
  const std::vector<Bgra> px = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 0}, {12, 13, 14, 255}};
  CellEntry cell;
  ASSERT_EQ(Load("g.cel", EncodeTrueCel(2, 2, 0, 0, px, /*mark20=*/true), cell), 0);
  EXPECT_EQ(cell.BitsPerPixel, 24);
  EXPECT_FALSE(trueColourMark_);
  EXPECT_THAT(cell.Pixels, ElementsAre(9, 10, 11, 0, 12, 13, 14, 255, 1, 2, 3, 4, 5, 6, 7, 8));

  // Mark 0x21 means four bytes a pixel whatever the depth byte says.
  Bytes bytes = Append(NewHeader(0x21, 4, 1, 1, 2, 3), {20, 30, 40, 128});
  ASSERT_EQ(Load("h.cel", bytes, cell), 0);
  EXPECT_EQ(cell.BitsPerPixel, 24);
  EXPECT_THAT(cell.Pixels, ElementsAre(20, 30, 40, 128));
  EXPECT_TRUE(trueColourMark_);
}

TEST(CelBytes, BadHeadersAreBadCells) {
  struct Case {
    const char* What;
    Bytes Contents;
  };
  const std::vector<Case> cases = {
      {"mark 0x22", NewHeader(0x22, 8, 2, 2)},
      {"depth 1", NewHeader(0x20, 1, 2, 2)},
      {"depth 2", NewHeader(0x20, 2, 2, 2)},
      {"depth 16", NewHeader(0x20, 16, 2, 2)},
      {"depth 32", NewHeader(0x20, 32, 2, 2)},
      {"zero width", NewHeader(0x20, 8, 0, 2)},
      {"zero height", NewHeader(0x20, 8, 2, 0)},
      {"old form zero width", {0, 0, 4, 0, 0x11, 0x11}},
      {"header cut after the magic", {'M', 'i', 'V', 'O', 0x20, 8}},
      {"empty file", {}},
  };
  for (const Case& c : cases) {
    const DecodedCel cel = Decode(c.Contents);
    EXPECT_EQ(cel.Error, kErrBadCell) << c.What;
    EXPECT_TRUE(cel.Pixels.empty()) << c.What;
    EXPECT_FALSE(cel.Header.TrueColourMark) << c.What;
  }
}

TEST_F(CelDecoder, ARefusedCelBelongsToNoSetAndKeepsNoPixels) {
  CellEntry cell;
  cell.Pixels = {1, 2, 3};  // left over from an earlier load: must not survive a failure
  files_.Write("bad.cel", NewHeader(0x20, 16, 2, 2));
  const CellEntry fresh = Cell("bad.cel");
  std::memcpy(cell.FileName, fresh.FileName, sizeof cell.FileName);
  cell.SetMask = 0x3FF;
  EXPECT_EQ(LoadCel(cell), kErrBadCell);
  EXPECT_EQ(cell.SetMask, 0);
  EXPECT_TRUE(cell.Pixels.empty());
  EXPECT_EQ(loadedCels_, 0);
  EXPECT_EQ(Object(0).Flags & kHasExtent, 0);
  EXPECT_FALSE(trueColourMark_);

  // The 32-bit mark switches true colour at once, even when the cel is then refused.
  EXPECT_EQ(Load("bad21.cel", NewHeader(0x21, 0, 0, 4), cell), kErrBadCell);
  EXPECT_TRUE(trueColourMark_);
}

TEST(CelBytes, CelsMustFitThePlayfieldInForce) {
  const CelDecodeOptions field = Playfield(100, 50);
  EXPECT_EQ(Decode(EncodeIndexedCel(8, 40, 20, 60, 30, {}), field).Error, 0);  // ends at edge
  EXPECT_EQ(Decode(EncodeIndexedCel(8, 41, 20, 60, 30, {}), field).Error, kErrTooLargeCell);
  EXPECT_EQ(Decode(EncodeIndexedCel(8, 40, 21, 60, 30, {}), field).Error, kErrTooLargeCell);
  EXPECT_EQ(Decode(EncodeOldCel(101, 1, {}), field).Error, kErrTooLargeCell);
}

TEST_F(CelDecoder, LoadCelTakesThePlayfieldInForceAndOnlyACelThatLoadsWidensItsObject) {
  build_.Playfield(100, 50);
  CellEntry cell;
  EXPECT_EQ(Load("edge.cel", EncodeIndexedCel(8, 40, 20, 60, 30, {}), cell), 0);
  EXPECT_EQ(Load("wide.cel", EncodeIndexedCel(8, 41, 20, 60, 30, {}), cell), kErrTooLargeCell);
  EXPECT_EQ(cell.SetMask, 0);
  EXPECT_EQ(loadedCels_, 1);
  // Only the cel that loaded widened the object.
  EXPECT_EQ(Object(0).ExtentRight, 100);
  EXPECT_EQ(Object(0).ExtentBottom, 50);
}

TEST(CelBytes, OffsetsAreSignedAndOnlyTheFarEdgeAndThePixelCountBoundTheSize) {
  const DecodedCel neg = Decode(EncodeIndexedCel(8, 10, 6, -4, -2, {}));
  ASSERT_EQ(neg.Error, 0);
  EXPECT_EQ(neg.Header.OffsetX, -4);
  EXPECT_EQ(neg.Header.OffsetY, -2);
  // Wider or taller than the playfield is fine while the far edge stays inside it.
  const DecodedCel wide = Decode(NewHeader(0x20, 8, 1300, 2, -100, 0), Playfield(1280, 1024));
  ASSERT_EQ(wide.Error, 0);
  EXPECT_EQ(wide.Pixels.size(), 1300u * 2);
  EXPECT_EQ(Decode(NewHeader(0x20, 8, 1300, 2, -19, 0), Playfield(1280, 1024)).Error,
            kErrTooLargeCell);
  EXPECT_EQ(Decode(NewHeader(0x20, 4, 3, 1100, 0, -200)).Error, 0);
  // The pixel count bounds what the far edge cannot: 4096 x 4096 loads, one row more does not.
  EXPECT_EQ(Decode(NewHeader(0x20, 8, 4096, 4096, -3000, -3500)).Error, 0);
  EXPECT_EQ(Decode(NewHeader(0x20, 8, 4096, 4097, -3000, -3500)).Error, kErrTooLargeCell);
  const DecodedCel big = Decode(NewHeader(0x21, 0, 65535, 65535, -32768, -32768));
  EXPECT_EQ(big.Error, kErrTooLargeCell);
  EXPECT_TRUE(big.Header.TrueColourMark);
}

TEST(CelBytes, HostileSizesAreRefusedWithoutReadingOrAllocating) {
  // A header promising 65535 x 65535 32-bit pixels (16 GiB) and a file that stops right there.
  const auto start = std::chrono::steady_clock::now();
  const Bytes huge = NewHeader(0x21, 32, 65535, 65535);
  const Bytes huge4 = {0xFF, 0xFF, 0xFF, 0xFF};
  // Even a playfield set past the limit takes no cel larger than the limit.
  const Bytes huge8 = NewHeader(0x20, 8, 50000, 50000);
  const CelDecodeOptions pastLimit = Playfield(60000, 60000);
  EXPECT_EQ(Decode(huge).Error, kErrTooLargeCell);
  EXPECT_EQ(Decode(huge4).Error, kErrTooLargeCell);
  EXPECT_EQ(Decode(huge8, pastLimit).Error, kErrTooLargeCell);
  // The loader reads no more of such a file than its header.
  EXPECT_EQ(CelFileBytesRead(huge, {}), kCelNewHeaderSize);
  EXPECT_EQ(CelFileBytesRead(huge4, {}), kCelNewHeaderSize);
  EXPECT_EQ(CelFileBytesRead(huge8, pastLimit), kCelNewHeaderSize);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // The largest cel there is loads, as transparent pixels, from a header alone.
  const DecodedCel full = Decode(NewHeader(0x20, 24, 1280, 1024));
  ASSERT_EQ(full.Error, 0);
  EXPECT_EQ(full.Pixels.size(), 4u * 1280 * 1024);
  EXPECT_EQ(CelFileBytesRead(NewHeader(0x20, 24, 1280, 1024), {}), 32u + 4u * 1280 * 1024);
}

TEST(CelBytes, TruncatedPixelDataReadsAsTransparent) {
  // 8-bit 3 x 3 with only the first four pixels present.
  EXPECT_THAT(TopDown(Decode(Append(NewHeader(0x20, 8, 3, 3), {1, 2, 3, 4}))),
              ElementsAre(1, 2, 3, 4, 0, 0, 0, 0, 0));
  // 4-bit cut in its second row, with a palette base that must not reach the missing pixels.
  EXPECT_THAT(TopDown(Decode({3, 0, 3, 0, 0x12, 0x30, 0x45}, {1280, 1024, 10})),
              ElementsAre(11, 12, 13, 14, 15, 0, 0, 0, 0));
  // Old form with the header only.
  EXPECT_THAT(Decode({2, 0, 2, 0}).Pixels, ElementsAre(0, 0, 0, 0));
  // 32-bit cel cut in the middle of a pixel.
  EXPECT_THAT(Decode(Append(NewHeader(0x21, 32, 2, 1), {1, 2, 3, 4, 5, 6})).Pixels,
              ElementsAre(1, 2, 3, 4, 5, 6, 0, 0));
  // Trailing bytes after the pixels are ignored.
  EXPECT_THAT(Decode(Append(EncodeOldCel(2, 1, {7, 8}), Bytes(1000, 0x99))).Pixels,
              ElementsAre(7, 8));
}

TEST_F(CelDecoder, LoadCelReadsOnlyWhatTheDecoderNeedsThroughItsKeptBuffer) {
  CellEntry cell;
  ASSERT_EQ(Load("long.cel", Append(EncodeOldCel(2, 1, {7, 8}), Bytes(1000, 0x99)), cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(7, 8));
  ASSERT_EQ(Load("cut8.cel", Append(NewHeader(0x20, 8, 3, 3), {1, 2, 3, 4}), cell), 0);
  EXPECT_THAT(TopDown(cell), ElementsAre(1, 2, 3, 4, 0, 0, 0, 0, 0));
  EXPECT_EQ(loadedCels_, 2);
  CelFileLoader loader;
  bool mark = false;
  CellEntry again = Cell("long.cel");
  ASSERT_EQ(loader.Load(build_.Set(), again, mark, problems_), 0);
  EXPECT_LT(loader.BufferSize(), 1000u);
}

TEST_F(CelDecoder, ObjectExtentStartsWithTheFirstCelAndWidens) {
  files_.Write("one.cel", EncodeIndexedCel(8, 10, 20, 30, 40, {}));
  files_.Write("two.cel", EncodeIndexedCel(4, 50, 5, 10, 50, {}));
  CellEntry one = Cell("one.cel", 7);
  CellEntry two = Cell("two.cel", 7);
  ASSERT_EQ(LoadCel(one), 0);
  const ObjectEntry& object = Object(7);
  EXPECT_EQ(object.Flags & kHasExtent, kHasExtent);
  EXPECT_EQ(object.ExtentLeft, 30);
  EXPECT_EQ(object.ExtentTop, 40);
  EXPECT_EQ(object.ExtentRight, 40);
  EXPECT_EQ(object.ExtentBottom, 60);
  ASSERT_EQ(LoadCel(two), 0);
  EXPECT_EQ(object.ExtentLeft, 10);
  EXPECT_EQ(object.ExtentTop, 40);
  EXPECT_EQ(object.ExtentRight, 60);
  EXPECT_EQ(object.ExtentBottom, 60);
  EXPECT_EQ(Object(0).Flags & kHasExtent, 0);  // other objects untouched
  // A cel left of and above the origin widens the extent past it.
  files_.Write("neg.cel", EncodeIndexedCel(8, 10, 6, -4, -2, {}));
  CellEntry neg = Cell("neg.cel", 7);
  ASSERT_EQ(LoadCel(neg), 0);
  EXPECT_EQ(object.ExtentLeft, -4);
  EXPECT_EQ(object.ExtentTop, -2);
  EXPECT_EQ(object.ExtentRight, 60);
}

TEST_F(CelDecoder, ObjectNumbersFrom1170AreBadBeforeTheFileIsOpened) {
  files_.SolidCel("ok.cel", 2, 2, 1);
  CellEntry cell = Cell("ok.cel", 1169);
  EXPECT_EQ(LoadCel(cell), 0);
  cell = Cell("ok.cel", 1170);
  EXPECT_EQ(LoadCel(cell), kErrBadCell);
  // A missing file would be 0x100: the object check comes first.
  cell = Cell("missing.cel", 1170);
  EXPECT_EQ(LoadCel(cell), kErrBadCell);
  EXPECT_EQ(cell.SetMask, 0);
  // A cel whose object never got a slot is refused, not looked up out of range.
  CellEntry orphan;
  std::strcpy(orphan.FileName, "ok.cel");
  orphan.ObjectNumber = 55;
  EXPECT_EQ(LoadCel(orphan), kErrBadCell);
  EXPECT_EQ(loadedCels_, 1);
}

TEST_F(CelDecoder, FileNamesResolveIgnoringCaseAndOnlyRegularFilesOpen) {
  std::filesystem::create_directory(dir_.Path() / "Parts");
  files_.SolidCel("Parts/Shirt.CEL", 2, 1, 3);
  CellEntry cell = Cell("parts\\shirt.cel");
  EXPECT_EQ(LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(3, 3));

  for (const char* name : {"nothere.cel", "Parts", "", "pipe.cel"}) {
    if (std::string(name) == "pipe.cel") {
      ASSERT_EQ(::mkfifo(files_.Path(name).c_str(), 0600), 0);
    }
    cell = Cell(name);
    EXPECT_EQ(LoadCel(cell), kErrCelNotLoadable) << name;
    EXPECT_EQ(cell.SetMask, 0) << name;
  }
}

}  // namespace
}  // namespace tavro::test
