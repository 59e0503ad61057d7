#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "ImageFilesFixture.h"

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

TEST_F(CelDecoder, OldFormIsFourBitsHighNibbleFirstStoredBottomUp) {
  // Width 3: two bytes a row, the second byte's low nibble unused.
  CellEntry cell;
  ASSERT_EQ(Load("a.cel", {3, 0, 2, 0, 0x12, 0x3F, 0x45, 0x6F}, cell), 0);
  EXPECT_EQ(cell.Width, 3);
  EXPECT_EQ(cell.Height, 2);
  EXPECT_EQ(cell.OffsetX, 0);
  EXPECT_EQ(cell.OffsetY, 0);
  EXPECT_EQ(cell.BitsPerPixel, 4);
  EXPECT_EQ(cell.SetMask, 0xFFFF);
  EXPECT_THAT(cell.Pixels, ElementsAre(4, 5, 6, 1, 2, 3));
  EXPECT_EQ(doc.LoadedCelCount, 1);
  EXPECT_EQ(doc.TrueColourMode, 0);
}

TEST_F(CelDecoder, NewFormIndexedDepthsOddWidthsAndOffsets) {
  CellEntry cell;
  // 8-bit, width 3: each row exactly three bytes, no padding.
  ASSERT_EQ(Load("b.cel", Append(NewHeader(0x20, 8, 3, 2, 5, 7), {1, 2, 3, 4, 5, 6}), cell), 0);
  EXPECT_EQ(cell.BitsPerPixel, 8);
  EXPECT_EQ(cell.OffsetX, 5);
  EXPECT_EQ(cell.OffsetY, 7);
  EXPECT_THAT(TopDown(cell), ElementsAre(1, 2, 3, 4, 5, 6));

  // 4-bit new form, width 5: three bytes a row.
  ASSERT_EQ(
      Load("c.cel", Append(NewHeader(0x20, 4, 5, 2), {0x12, 0x34, 0x5F, 0x67, 0x89, 0xAF}), cell),
      0);
  EXPECT_EQ(cell.BitsPerPixel, 4);
  EXPECT_THAT(TopDown(cell), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10));

  // The test encoders agree with the decoder on a larger odd-width picture.
  std::vector<uint8_t> values;
  for (int i = 0; i < 7 * 5; ++i) values.push_back(static_cast<uint8_t>(i % 16));
  ASSERT_EQ(Load("d.cel", EncodeOldCel(7, 5, values), cell), 0);
  EXPECT_THAT(TopDown(cell), ElementsAreArray(values));
  EXPECT_EQ(doc.LoadedCelCount, 3);
}

TEST_F(CelDecoder, PaletteBaseIsAddedModulo256ButZeroStaysTransparent) {
  doc.PaletteBase[2] = 250;
  files.Write("e.cel", EncodeIndexedCel(8, 4, 1, 0, 0, {0, 5, 6, 10}));
  CellEntry cell = Cell("e.cel", 0, 2);
  ASSERT_EQ(doc.LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 255, 0, 4));

  doc.PaletteBase[1] = 15;
  files.Write("f.cel", EncodeOldCel(3, 1, {0, 1, 15}));
  cell = Cell("f.cel", 0, 1);
  ASSERT_EQ(doc.LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 16, 30));

  // A palette number without a palette file has base 0.
  cell = Cell("f.cel", 0, 200);
  ASSERT_EQ(doc.LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 1, 15));
}

TEST_F(CelDecoder, ThirtyTwoBitCelsKeepTheirBytesAndOnlyMark21SwitchesTrueColour) {
  doc.PaletteBase[0] = 9;  // must not touch 32-bit pixels
  const std::vector<Bgra> px = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 0}, {12, 13, 14, 255}};
  CellEntry cell;
  ASSERT_EQ(Load("g.cel", EncodeTrueCel(2, 2, 0, 0, px, /*mark20=*/true), cell), 0);
  EXPECT_EQ(cell.BitsPerPixel, 24);
  EXPECT_EQ(doc.TrueColourMode, 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(9, 10, 11, 0, 12, 13, 14, 255, 1, 2, 3, 4, 5, 6, 7, 8));

  // Mark 0x21 means four bytes a pixel whatever the depth byte says.
  Bytes bytes = Append(NewHeader(0x21, 4, 1, 1, 2, 3), {20, 30, 40, 128});
  ASSERT_EQ(Load("h.cel", bytes, cell), 0);
  EXPECT_EQ(cell.BitsPerPixel, 24);
  EXPECT_THAT(cell.Pixels, ElementsAre(20, 30, 40, 128));
  EXPECT_EQ(doc.TrueColourMode, 1);
}

TEST_F(CelDecoder, BadHeadersAreBadCellsThatBelongToNoSet) {
  struct Case {
    const char* what;
    Bytes bytes;
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
    CellEntry cell;
    cell.Pixels = {1, 2, 3};  // left over from an earlier load: must not survive a failure
    files.Write("bad.cel", c.bytes);
    const CellEntry fresh = Cell("bad.cel");
    std::memcpy(cell.FileName, fresh.FileName, sizeof cell.FileName);
    cell.SetMask = 0x3FF;
    EXPECT_EQ(doc.LoadCel(cell), kErrBadCell) << c.what;
    EXPECT_EQ(cell.SetMask, 0) << c.what;
    EXPECT_TRUE(cell.Pixels.empty()) << c.what;
  }
  EXPECT_EQ(doc.LoadedCelCount, 0);
  EXPECT_EQ(Object(0).Flags & kHasExtent, 0);
  EXPECT_EQ(doc.TrueColourMode, 0);

  // The 32-bit mark switches true colour at once, even when the cel is then refused.
  CellEntry cell;
  EXPECT_EQ(Load("bad21.cel", NewHeader(0x21, 0, 0, 4), cell), kErrBadCell);
  EXPECT_EQ(doc.TrueColourMode, 1);
}

TEST_F(CelDecoder, CelsMustFitThePlayfieldInForceWhenTheyLoad) {
  doc.PlayfieldWidth = 100;
  doc.PlayfieldHeight = 50;
  CellEntry cell;
  EXPECT_EQ(Load("edge.cel", EncodeIndexedCel(8, 40, 20, 60, 30, {}), cell), 0);  // ends at edge
  EXPECT_EQ(Load("wide.cel", EncodeIndexedCel(8, 41, 20, 60, 30, {}), cell), kErrTooLargeCell);
  EXPECT_EQ(Load("tall.cel", EncodeIndexedCel(8, 40, 21, 60, 30, {}), cell), kErrTooLargeCell);
  EXPECT_EQ(Load("old.cel", EncodeOldCel(101, 1, {}), cell), kErrTooLargeCell);
  EXPECT_EQ(cell.SetMask, 0);
  EXPECT_EQ(doc.LoadedCelCount, 1);
  // Only the cel that loaded widened the object.
  EXPECT_EQ(Object(0).ExtentRight, 100);
  EXPECT_EQ(Object(0).ExtentBottom, 50);
}

TEST_F(CelDecoder, OffsetsAreSignedAndTheSizeAloneIsBoundedByTheLargestPlayfield) {
  CellEntry cell;
  ASSERT_EQ(Load("neg.cel", EncodeIndexedCel(8, 10, 6, -4, -2, {}), cell), 0);
  EXPECT_EQ(cell.OffsetX, -4);
  EXPECT_EQ(cell.OffsetY, -2);
  EXPECT_EQ(Object(0).ExtentLeft, -4);
  EXPECT_EQ(Object(0).ExtentRight, 6);
  // Far left, the far edge no longer bounds the size: the largest playfield does.
  EXPECT_EQ(Load("w.cel", NewHeader(0x20, 8, 1281, 1, -2000, 0), cell), kErrTooLargeCell);
  EXPECT_EQ(Load("big.cel", NewHeader(0x21, 0, 65535, 65535, -32768, -32768), cell),
            kErrTooLargeCell);
  ASSERT_EQ(Load("max.cel", NewHeader(0x20, 8, 1280, 1024, -1280, -1024), cell), 0);
  EXPECT_EQ(Object(0).ExtentLeft, -1280);
}

TEST_F(CelDecoder, HostileSizesAreRefusedWithoutReadingOrAllocating) {
  doc.PlayfieldWidth = 1280;
  doc.PlayfieldHeight = 1024;
  // A header promising 65535 x 65535 32-bit pixels (16 GiB) and a file that stops right there.
  const auto start = std::chrono::steady_clock::now();
  CellEntry cell;
  EXPECT_EQ(Load("huge.cel", NewHeader(0x21, 32, 65535, 65535), cell), kErrTooLargeCell);
  EXPECT_EQ(Load("huge4.cel", {0xFF, 0xFF, 0xFF, 0xFF}, cell), kErrTooLargeCell);
  // Even a document whose playfield was set past the limit takes no cel larger than the limit.
  doc.PlayfieldWidth = 60000;
  doc.PlayfieldHeight = 60000;
  EXPECT_EQ(Load("huge8.cel", NewHeader(0x20, 8, 50000, 50000), cell), kErrTooLargeCell);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // The largest cel there is loads, as transparent pixels, from a header alone.
  doc.PlayfieldWidth = 1280;
  doc.PlayfieldHeight = 1024;
  ASSERT_EQ(Load("full.cel", NewHeader(0x20, 24, 1280, 1024), cell), 0);
  EXPECT_EQ(cell.Pixels.size(), 4u * 1280 * 1024);
}

TEST_F(CelDecoder, TruncatedPixelDataReadsAsTransparent) {
  CellEntry cell;
  // 8-bit 3 x 3 with only the first four pixels present.
  ASSERT_EQ(Load("cut8.cel", Append(NewHeader(0x20, 8, 3, 3), {1, 2, 3, 4}), cell), 0);
  EXPECT_THAT(TopDown(cell), ElementsAre(1, 2, 3, 4, 0, 0, 0, 0, 0));
  // Old form with the header only.
  ASSERT_EQ(Load("cut4.cel", {2, 0, 2, 0}, cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(0, 0, 0, 0));
  // 32-bit cel cut in the middle of a pixel.
  ASSERT_EQ(Load("cut32.cel", Append(NewHeader(0x21, 32, 2, 1), {1, 2, 3, 4, 5, 6}), cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(1, 2, 3, 4, 5, 6, 0, 0));
  // Trailing bytes after the pixels are ignored.
  ASSERT_EQ(Load("long.cel", Append(EncodeOldCel(2, 1, {7, 8}), Bytes(1000, 0x99)), cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(7, 8));
  EXPECT_EQ(doc.LoadedCelCount, 4);
}

TEST_F(CelDecoder, ObjectExtentStartsWithTheFirstCelAndWidens) {
  files.Write("one.cel", EncodeIndexedCel(8, 10, 20, 30, 40, {}));
  files.Write("two.cel", EncodeIndexedCel(4, 50, 5, 10, 50, {}));
  CellEntry one = Cell("one.cel", 7);
  CellEntry two = Cell("two.cel", 7);
  ASSERT_EQ(doc.LoadCel(one), 0);
  const ObjectEntry& object = Object(7);
  EXPECT_EQ(object.Flags & kHasExtent, kHasExtent);
  EXPECT_EQ(object.ExtentLeft, 30);
  EXPECT_EQ(object.ExtentTop, 40);
  EXPECT_EQ(object.ExtentRight, 40);
  EXPECT_EQ(object.ExtentBottom, 60);
  ASSERT_EQ(doc.LoadCel(two), 0);
  EXPECT_EQ(object.ExtentLeft, 10);
  EXPECT_EQ(object.ExtentTop, 40);
  EXPECT_EQ(object.ExtentRight, 60);
  EXPECT_EQ(object.ExtentBottom, 60);
  EXPECT_EQ(Object(0).Flags & kHasExtent, 0);  // other objects untouched
}

TEST_F(CelDecoder, ObjectNumbersFrom1170AreBadBeforeTheFileIsOpened) {
  files.SolidCel("ok.cel", 2, 2, 1);
  CellEntry cell = Cell("ok.cel", 1169);
  EXPECT_EQ(doc.LoadCel(cell), 0);
  cell = Cell("ok.cel", 1170);
  EXPECT_EQ(doc.LoadCel(cell), kErrBadCell);
  // A missing file would be 0x100: the object check comes first.
  cell = Cell("missing.cel", 1170);
  EXPECT_EQ(doc.LoadCel(cell), kErrBadCell);
  EXPECT_EQ(cell.SetMask, 0);
  // A cel whose object never got a slot is refused, not looked up out of range.
  CellEntry orphan;
  std::strcpy(orphan.FileName, "ok.cel");
  orphan.ObjectNumber = 55;
  EXPECT_EQ(doc.LoadCel(orphan), kErrBadCell);
  EXPECT_EQ(doc.LoadedCelCount, 1);
}

TEST_F(CelDecoder, FileNamesResolveIgnoringCaseAndOnlyRegularFilesOpen) {
  std::filesystem::create_directory(dir.path() / "Parts");
  files.SolidCel("Parts/Shirt.CEL", 2, 1, 3);
  CellEntry cell = Cell("parts\\shirt.cel");
  EXPECT_EQ(doc.LoadCel(cell), 0);
  EXPECT_THAT(cell.Pixels, ElementsAre(3, 3));

  for (const char* name : {"nothere.cel", "Parts", "", "pipe.cel"}) {
    if (std::string(name) == "pipe.cel") {
      ASSERT_EQ(::mkfifo(files.Path(name).c_str(), 0600), 0);
    }
    cell = Cell(name);
    EXPECT_EQ(doc.LoadCel(cell), kErrCelNotLoadable) << name;
    EXPECT_EQ(cell.SetMask, 0) << name;
  }
}

}  // namespace
}  // namespace tavro::test
