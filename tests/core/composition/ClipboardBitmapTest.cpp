// The bitmap Edit > Copy hands to the clipboard, byte for byte.
#include <gtest/gtest.h>

#include "composition/ClipboardBitmap.h"
#include "core/composition/ComposerFixture.h"
#include "document/SetQueries.h"

namespace tavro::test {
namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (uint32_t{b.at(at + 3)} << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

class ClipboardBitmapTest : public ComposerFixture {
 protected:
  // An 8-bit map in which pixel (x, y) holds (x + 3 * y) % modulo, with `colours` colours in
  // group 0 and group 1 (group 1 a different shade).
  void IndexedPicture(int width, int height, int colours, int modulo) {
    Playfield(width, height);
    for (int i = 0; i < colours; ++i) {
      SetColour(0, i, static_cast<uint8_t>(i), static_cast<uint8_t>(i + 1),
                static_cast<uint8_t>(i + 2));
      SetColour(1, i, 9, static_cast<uint8_t>(i), 7);
    }
    build_.ColourCount(colours);
    BuildPalette(doc_.EditSet(), doc_.EditMap(), 0);
    Paint([&](uint8_t* pixels) {
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
          pixels[At(x, y)] = static_cast<uint8_t>((x + 3 * y) % modulo);
      }
    });
  }

  ClipboardPicture Picture() const {
    return {doc_.Map(), doc_.Set().PlayfieldWidth(), doc_.Set().PlayfieldHeight(),
            doc_.Set().Palettes().ColourCount};
  }

  // Offset of pixel (x, y) (y from the top) in an 8-bit map.
  size_t At(int x, int y) const { return static_cast<size_t>(y) * doc_.Map().Stride() + x; }

  // Writes straight into the document's map, as into a hand-made picture.
  template <typename Fn>
  void Paint(Fn&& write) {
    ComposedMap map = doc_.Map();
    write(map.MutableBytes());
    doc_.EditMap() = std::move(map);
  }

  void SetIndex(int x, int y, uint8_t index) {
    Paint([&](uint8_t* pixels) { pixels[At(x, y)] = index; });
  }

  // Start of picture row y (top-down) in the file: rows are stored bottom-up.
  static size_t RowStart(const std::vector<uint8_t>& file, int y, int height, size_t rowBytes) {
    return Le32(file, 10) + static_cast<size_t>(height - 1 - y) * rowBytes;
  }
};

TEST_F(ClipboardBitmapTest, SixteenColoursPackTwoPixelsABytePaddedToFour) {
  IndexedPicture(445, 3, 16, 16);
  const std::vector<uint8_t> file = MakeClipboardBmpFile(Picture());
  const size_t rowBytes = 224;  // 223 bytes of pixels, the last half empty, and 1 zero byte
  ASSERT_EQ(file.size(), 14u + 40 + 16 * 4 + rowBytes * 3 + 1);

  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Le32(file, 2), file.size());
  EXPECT_EQ(Le32(file, 6), 0u);
  EXPECT_EQ(Le32(file, 10), 14u + 40 + 64);
  EXPECT_EQ(Le32(file, 14), 40u);
  EXPECT_EQ(Le32(file, 18), 445u);
  EXPECT_EQ(Le32(file, 22), 3u);
  EXPECT_EQ(Le16(file, 26), 1u);
  EXPECT_EQ(Le16(file, 28), 4u);
  for (size_t field = 30; field < 54; field += 4) EXPECT_EQ(Le32(file, field), 0u) << field;

  // Colour i of the table: blue, green, red, 0.
  EXPECT_EQ(file[54 + 5 * 4], 7);
  EXPECT_EQ(file[54 + 5 * 4 + 1], 6);
  EXPECT_EQ(file[54 + 5 * 4 + 2], 5);
  EXPECT_EQ(file[54 + 5 * 4 + 3], 0);

  for (int y = 0; y < 3; ++y) {
    const size_t row = RowStart(file, y, 3, rowBytes);
    EXPECT_EQ(file[row], ((3 * y) % 16) << 4 | ((1 + 3 * y) % 16)) << y;
    // Pixel 444, the last, sits alone in the high nibble of byte 222.
    EXPECT_EQ(file[row + 222], ((444 + 3 * y) % 16) << 4) << y;
    EXPECT_EQ(file[row + 223], 0) << y;
  }
  EXPECT_EQ(file.back(), 0);
}

TEST_F(ClipboardBitmapTest, TwoHundredColoursCopyTheMapRowsWithZeroPadding) {
  IndexedPicture(445, 2, 200, 200);
  // Whatever lies beside the picture in the map, the bitmap's padding is 0.
  for (int y = 0; y < 2; ++y) {
    for (int x = 445; x < 448; ++x) SetIndex(x, y, 0xEE);
  }
  const std::vector<uint8_t> file = MakeClipboardBmpFile(Picture());
  ASSERT_EQ(file.size(), 14u + 40 + 256 * 4 + 448 * 2 + 1);
  EXPECT_EQ(Le16(file, 28), 8u);
  EXPECT_EQ(Le32(file, 10), 14u + 40 + 1024);
  EXPECT_EQ(file[54 + 199 * 4], 201);  // blue of colour 199
  for (size_t at = 54 + 200 * 4; at < 54 + 1024; ++at) ASSERT_EQ(file[at], 0) << at;

  for (int y = 0; y < 2; ++y) {
    const size_t row = RowStart(file, y, 2, 448);
    for (int x : {0, 1, 199, 444}) EXPECT_EQ(file[row + x], (x + 3 * y) % 200) << x << "," << y;
    for (int x = 445; x < 448; ++x) EXPECT_EQ(file[row + x], 0) << x;
  }
}

TEST_F(ClipboardBitmapTest, SixteenColoursAreTheLastThatFitFourBits) {
  IndexedPicture(8, 1, 16, 16);
  EXPECT_EQ(Le16(MakeClipboardDib(Picture()), 14), 4u);
  IndexedPicture(8, 1, 17, 16);
  const std::vector<uint8_t> dib = MakeClipboardDib(Picture());
  EXPECT_EQ(Le16(dib, 14), 8u);
  EXPECT_EQ(dib.size(), 40u + 1024 + 8 + 1);
}

TEST_F(ClipboardBitmapTest, IndicesBeyondFourBitsBecomeTheBackground) {
  IndexedPicture(3, 1, 4, 4);
  SetIndex(0, 0, 2);
  SetIndex(1, 0, 17);  // a cel of a palette that has no file can still carry such an index
  SetIndex(2, 0, 3);
  const std::vector<uint8_t> dib = MakeClipboardDib(Picture());
  const size_t pixels = 40 + 64;
  EXPECT_EQ(dib[pixels], 0x20);
  EXPECT_EQ(dib[pixels + 1], 0x30);
}

TEST_F(ClipboardBitmapTest, TheTableHoldsTheColourGroupShownNow) {
  IndexedPicture(4, 1, 3, 3);
  BuildPalette(doc_.EditSet(), doc_.EditMap(), 1);
  const std::vector<uint8_t> dib = MakeClipboardDib(Picture());
  EXPECT_EQ(dib[40 + 2 * 4], 7);      // blue
  EXPECT_EQ(dib[40 + 2 * 4 + 1], 2);  // green
  EXPECT_EQ(dib[40 + 2 * 4 + 2], 9);  // red
}

TEST_F(ClipboardBitmapTest, TrueColourGivesTwentyFourBitsWithoutATable) {
  Playfield(445, 2, /*trueColour=*/true);
  build_.ColourCount(200);
  Paint([&](uint8_t* pixels) {
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 445; ++x) {
        const size_t at = At(x, y) * 4;  // red, green, blue, 255
        pixels[at] = 0x5A;
        pixels[at + 1] = static_cast<uint8_t>(y);
        pixels[at + 2] = static_cast<uint8_t>(x);
        pixels[at + 3] = 0xC3;  // never shown: it must not reach the bitmap
      }
    }
  });
  const std::vector<uint8_t> file = MakeClipboardBmpFile(Picture());
  const size_t rowBytes = 1336;  // 445 * 3 = 1335, padded to 4
  ASSERT_EQ(file.size(), 14u + 40 + rowBytes * 2 + 1);
  EXPECT_EQ(Le16(file, 28), 24u);
  EXPECT_EQ(Le32(file, 10), 54u);
  EXPECT_EQ(Le32(file, 18), 445u);
  for (int y = 0; y < 2; ++y) {
    const size_t row = RowStart(file, y, 2, rowBytes);
    for (int x = 0; x < 445; ++x) {
      ASSERT_EQ(file[row + 3 * x], x % 256) << x;  // blue, green, red
      ASSERT_EQ(file[row + 3 * x + 1], y) << x;
      ASSERT_EQ(file[row + 3 * x + 2], 0x5A) << x;
    }
    EXPECT_EQ(file[row + 1335], 0);
  }
}

TEST_F(ClipboardBitmapTest, NoPictureGivesNothing) {
  EXPECT_TRUE(MakeClipboardDib(Picture()).empty());
  EXPECT_TRUE(MakeClipboardBmpFile(Picture()).empty());
  IndexedPicture(16, 4, 16, 16);
  doc_.EditMap().SetSize(16, 5);  // one row more than the map holds
  EXPECT_TRUE(MakeClipboardBmpFile(Picture()).empty());
}

}  // namespace
}  // namespace tavro::test
