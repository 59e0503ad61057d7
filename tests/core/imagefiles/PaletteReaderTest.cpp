#include <filesystem>

#include "ImageFilesFixture.h"
#include "imagefiles/PaletteDecoder.h"

namespace tavro::test {
namespace {

class PaletteReader : public ImageFilesTest {
 protected:
  int32_t Read(const std::string& name, int number) {
    // As a palette line leaves the name: at most the field's width.
    const std::string field = name.substr(0, kPaletteNameField - 1);
    return LoadPaletteFile(doc_.EditSet(), field.c_str(), number, problems_);
  }
  Rgb At(int group, int index) {
    const PaletteEntry c = doc_.Set().Palettes().GroupColour(group, index);
    return {c.Red, c.Green, c.Blue};
  }
};

// n distinct colours; `salt` tells files and groups apart.
std::vector<Rgb> Ramp(int n, int salt) {
  std::vector<Rgb> out;
  for (int i = 0; i < n; ++i) {
    out.push_back(
        {static_cast<uint8_t>(i), static_cast<uint8_t>(salt), static_cast<uint8_t>(255 - i)});
  }
  return out;
}

// Old-form colours survive the 12-bit reduction only as multiples of 17.
std::vector<Rgb> Ramp12(int salt) {
  std::vector<Rgb> out;
  for (int i = 0; i < 16; ++i) {
    out.push_back({static_cast<uint8_t>(i * 17), static_cast<uint8_t>((salt % 16) * 17),
                   static_cast<uint8_t>((15 - i) * 17)});
  }
  return out;
}

Rgb Colour(const DecodedPalette& palette, int group, int index) {
  const PaletteColour& c = palette.At(group, index);
  return {c.Red, c.Green, c.Blue};
}

TEST(PaletteBytes, TwelveBitColoursWidenEachNibble) {
  Bytes old(320, 0);
  old[2] = 0xF0;  // colour 1 of group 0: red 15, blue 0
  old[3] = 0x0F;  // green 15
  old[4] = 0x1E;  // colour 2: red 1, blue 14 ...
  old[5] = 0xA7;  // ... green 7; the high nibble is ignored
  const auto palette = DecodePalette(old);
  ASSERT_TRUE(palette);
  EXPECT_EQ(palette->Header.Groups, 10);
  EXPECT_EQ(palette->Header.ColoursPerGroup, 16);
  EXPECT_EQ(Colour(*palette, 0, 1), (Rgb{255, 255, 0}));
  EXPECT_EQ(Colour(*palette, 0, 2), (Rgb{17, 119, 238}));
}

TEST_F(PaletteReader, ColoursAreStoredBlueRedGreen) {
  Bytes old(320, 0);
  old[4] = 0x1E;
  old[5] = 0xA7;
  files_.Write("p.kcf", old);
  ASSERT_EQ(Read("p.kcf", 0), 0);
  EXPECT_EQ(At(0, 2), (Rgb{17, 119, 238}));
  EXPECT_EQ(doc_.Set().Palettes().PaletteGroups[0][2][0], 238);  // blue
  EXPECT_EQ(doc_.Set().Palettes().PaletteGroups[0][2][1], 17);   // red
  EXPECT_EQ(doc_.Set().Palettes().PaletteGroups[0][2][2], 119);  // green
}

TEST_F(PaletteReader, OldFormFilesShareOneTableAndLaterFilesDropColourZero) {
  std::vector<std::vector<Rgb>> first, second;
  for (int g = 0; g < 10; ++g) {
    first.push_back(Ramp12(g));
    second.push_back(Ramp12(g + 5));
  }
  files_.Write("a.kcf", EncodeOldPalette(first));
  files_.Write("b.kcf", EncodeOldPalette(second));
  ASSERT_EQ(Read("a.kcf", 0), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 16);
  EXPECT_EQ(doc_.Set().Palettes().GroupCount, 10);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[0], 0);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 1);
  for (int g = 0; g < 10; ++g) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(At(g, i), first[g][i]) << g << "/" << i;
  }

  ASSERT_EQ(Read("b.kcf", 1), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 31);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[1], 15);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 2);
  EXPECT_EQ(At(3, 0), first[3][0]);  // index 0 stays the first file's
  for (int g = 0; g < 10; ++g) {
    for (int v = 1; v < 16; ++v)
      EXPECT_EQ(At(g, doc_.Set().Palettes().PaletteBase[1] + v), second[g][v]);
  }
  EXPECT_EQ(At(0, 31), (Rgb{}));

  // A cel of palette 1 decodes straight to those indices.
  files_.Write("c.cel", EncodeOldCel(2, 1, {1, 15}));
  CellEntry cell = Cell("c.cel", 0, 1);
  ASSERT_EQ(LoadCel(cell), 0);
  EXPECT_EQ(At(4, cell.Pixels[0]), second[4][1]);
  EXPECT_EQ(At(4, cell.Pixels[1]), second[4][15]);
}

TEST_F(PaletteReader, GroupsAFileLacksShowItsFirstGroup) {
  // A 24-bit file with 256 colours and one group fills the whole table in every group.
  files_.Write("full.kcf", EncodeNewPalette(24, 256, {Ramp(256, 7)}));
  ASSERT_EQ(Read("full.kcf", 0), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 256);
  EXPECT_EQ(doc_.Set().Palettes().GroupCount, 1);
  for (int g = 0; g < 10; ++g) {
    EXPECT_EQ(At(g, 0), (Rgb{0, 7, 255}));
    EXPECT_EQ(At(g, 255), (Rgb{255, 7, 0}));
  }
}

TEST_F(PaletteReader, ACopiedGroupTouchesOnlyTheFilesOwnIndices) {
  files_.OldPalette("base.kcf");
  files_.Write("three.kcf", EncodeNewPalette(12, 4, {Ramp12(1), Ramp12(2), Ramp12(3)}));
  ASSERT_EQ(Read("base.kcf", 0), 0);
  const Rgb baseColour5 = At(6, 5);
  ASSERT_EQ(Read("three.kcf", 1), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 19);
  EXPECT_EQ(doc_.Set().Palettes().GroupCount, 10);  // the larger of 10 and 3
  EXPECT_EQ(At(1, 17), Ramp12(2)[2]);
  EXPECT_EQ(At(2, 18), Ramp12(3)[3]);
  for (int g = 3; g < 10; ++g) {
    for (int v = 1; v < 4; ++v) EXPECT_EQ(At(g, 15 + v), Ramp12(1)[v]);
  }
  EXPECT_EQ(At(6, 5), baseColour5);
}

TEST(PaletteBytes, BadHeadersAreRefused) {
  Bytes wrongMark = EncodeNewPalette(24, 4, {Ramp(4, 1)});
  wrongMark[4] = 0x11;
  Bytes wrongDepth = EncodeNewPalette(24, 4, {Ramp(4, 1)});
  wrongDepth[5] = 16;
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"11 groups", EncodeNewPalette(24, 4, std::vector<std::vector<Rgb>>(11, Ramp(4, 1)))},
      {"257 colours", EncodeNewPalette(24, 257, {Ramp(257, 1)})},
      {"mark", wrongMark},
      {"depth", wrongDepth},
      {"header cut after the mark", Bytes{'M', 'i', 'V', 'O', 0x10}},
  };
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(DecodePalette(bytes)) << what;
}

TEST_F(PaletteReader, BadHeadersAreIgnoredSilentlyAndChangeNothing) {
  files_.OldPalette("base.kcf");
  ASSERT_EQ(Read("base.kcf", 0), 0);
  const CTavroDoc& d = doc_;
  std::vector<uint8_t> before(
      &d.Set().Palettes().PaletteGroups[0][0][0],
      &d.Set().Palettes().PaletteGroups[0][0][0] + sizeof d.Set().Palettes().PaletteGroups);
  for (int number : {1, 2}) {
    files_.Write("bad.kcf", EncodeNewPalette(24, 257, {Ramp(257, 1)}));
    EXPECT_EQ(Read("bad.kcf", number), 2);
    EXPECT_EQ(doc_.Set().Palettes().PaletteBase[number], 0);
  }
  EXPECT_TRUE(host_.Messages.empty());
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 16);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 1);
  EXPECT_EQ(doc_.Set().Palettes().GroupCount, 10);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), &d.Set().Palettes().PaletteGroups[0][0][0]));
}

TEST_F(PaletteReader, MissingFileIsReportedAtOnceWithTheNameAsWritten) {
  EXPECT_EQ(Read("NoSuch.KCF", 0), 1);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 0);
  EXPECT_EQ(Read("", 1), 1);  // "% name": an empty name is never found
  std::filesystem::create_directory(dir_.Path() / "folder.kcf");  // only regular files are read
  EXPECT_EQ(Read("folder.kcf", 1), 1);

  // With the first file missing, the next one starts at index 0 and its base wraps to 255.
  files_.Write("second.kcf", EncodeNewPalette(24, 3, {Ramp(3, 9)}));
  ASSERT_EQ(Read("SECOND.kcf", 2), 0);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[2], 255);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 2);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 3);
  EXPECT_EQ(At(0, 0), Ramp(3, 9)[1]);

  // The load says so once per line, in line order, with the name as written.
  files_.WriteText("set.cnf", "%NoSuch.KCF\n% name\n%folder.kcf\n%SECOND.kcf\n");
  ASSERT_TRUE(OpenAsWindow(doc_, host_, files_.Path("set.cnf").string()).Opened);
  EXPECT_EQ(host_.Messages, (std::vector<std::string>{"palette file (NoSuch.KCF) is not found",
                                                      "palette file () is not found",
                                                      "palette file (folder.kcf) is not found"}));
}

TEST_F(PaletteReader, TheTableNeverGrowsPast256Colours) {
  files_.OldPalette("base.kcf");
  ASSERT_EQ(Read("base.kcf", 0), 0);
  const Rgb baseColour = At(0, 15);
  std::vector<std::vector<Rgb>> groups;
  for (int g = 0; g < 10; ++g) groups.push_back(Ramp(256, 100 + g));
  files_.Write("big.kcf", EncodeNewPalette(24, 256, groups));
  ASSERT_EQ(Read("big.kcf", 1), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 256);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[1], 15);
  EXPECT_EQ(At(0, 15), baseColour);
  EXPECT_EQ(At(9, 16), groups[9][1]);
  EXPECT_EQ(At(9, 255), groups[9][240]);

  // A file read once the table is full changes no colour, and its group copy stays in bounds.
  const Rgb last = At(5, 255);
  files_.Write("late.kcf", EncodeNewPalette(24, 8, {Ramp(8, 1)}));
  ASSERT_EQ(Read("late.kcf", 2), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 256);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[2], 255);
  EXPECT_EQ(At(5, 255), last);
  EXPECT_EQ(doc_.Set().Palettes().GroupCount, 10);
}

TEST_F(PaletteReader, AFileOfNoColoursTakesNothingFromItsNeighbours) {
  files_.OldPalette("base.kcf");
  files_.Write("none.kcf", EncodeNewPalette(24, 0, {{}, {}}));
  files_.Write("next.kcf", EncodeNewPalette(24, 3, {Ramp(3, 4)}));
  ASSERT_EQ(Read("base.kcf", 0), 0);
  const Rgb lastOfBase = At(2, 15);
  ASSERT_EQ(Read("none.kcf", 1), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 16);
  EXPECT_EQ(doc_.Set().Palettes().PaletteFileCount, 2);
  ASSERT_EQ(Read("next.kcf", 2), 0);
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[2], 15);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 18);
  EXPECT_EQ(At(2, 15), lastOfBase);
}

TEST(PaletteBytes, ShortFilesDecodeWithTheMissingColoursBlack) {
  Bytes cut = EncodeNewPalette(24, 16, {Ramp(16, 3), Ramp(16, 4)});
  cut.resize(32 + 5 * 3 + 2);  // five colours and most of a sixth
  const auto palette = DecodePalette(cut);
  ASSERT_TRUE(palette);
  ASSERT_EQ(palette->Colours.size(), 32u);
  EXPECT_EQ(Colour(*palette, 0, 4), Ramp(16, 3)[4]);
  EXPECT_EQ(Colour(*palette, 0, 5), (Rgb{Ramp(16, 3)[5].R, Ramp(16, 3)[5].G, 0}));
  EXPECT_EQ(Colour(*palette, 0, 6), (Rgb{}));
  EXPECT_EQ(Colour(*palette, 1, 0), (Rgb{}));

  // No magic: an old-form file of almost nothing still has its 160 colours.
  const auto tiny = DecodePalette(Bytes{0xF0});
  ASSERT_TRUE(tiny);
  EXPECT_EQ(tiny->Colours.size(), 160u);
  EXPECT_EQ(Colour(*tiny, 0, 0), (Rgb{255, 0, 0}));
}

TEST_F(PaletteReader, AShortFileStillTakesTheColoursItsHeaderDeclares) {
  files_.OldPalette("base.kcf");
  ASSERT_EQ(Read("base.kcf", 0), 0);
  files_.Write("tiny.kcf", {0xF0});
  ASSERT_EQ(Read("tiny.kcf", 1), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 31);
  EXPECT_EQ(At(0, 16), (Rgb{}));
}

TEST_F(PaletteReader, GroupColourAnswersBlackOutsideTheTable) {
  files_.OldPalette("base.kcf");
  ASSERT_EQ(Read("base.kcf", 0), 0);
  EXPECT_EQ(At(10, 1), (Rgb{}));
  EXPECT_EQ(At(-1, 1), (Rgb{}));
  EXPECT_EQ(At(0, 256), (Rgb{}));
  build_.Colour(12, 1, 9, 9, 9);  // ignored, not written past the groups
  build_.Colour(0, 300, 9, 9, 9);
  EXPECT_EQ(At(0, 1), (Rgb{17, 238, 0}));
}

}  // namespace
}  // namespace tavro::test
