#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RenderToolTest : public ::testing::Test {
 protected:
  TempDir dir;
  SetFiles files{dir.path()};

  // Runs tavro-render with no display of any kind, as on a build server.
  ToolRun Render(const std::string& args) {
    const std::string out = (dir.path() / "stdout.txt").string();
    const std::string err = (dir.path() / "stderr.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVRO_RENDER_PATH) + "' " + args + " >'" + out +
                                "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
  }

  std::string Path(const std::string& name) const { return files.Path(name).string(); }

  // A 12 x 8 playfield: object 0 a 4 x 2 cel of colour 1 at (1, 1), object 1 a 2 x 2 cel of
  // colour 2 at (2, 2) beneath it, and in set 1 object 1 alone at (6, 4). Group 0 colours 0, 1
  // and 2 are 0x112233, red and blue (12-bit colours: each nibble n becomes n x 17); group 1
  // makes colour 1 green.
  void WriteSimpleSet(const std::string& extraCelRemark = "") {
    std::vector<Rgb> group0(16), group1(16);
    group0[0] = {16, 32, 48};
    group0[1] = {240, 0, 0};
    group0[2] = {0, 0, 240};
    group1 = group0;
    group1[1] = {0, 240, 0};
    std::vector<std::vector<Rgb>> groups(10, group0);
    groups[1] = group1;
    files.Write("colours.pal", EncodeOldPalette(groups));
    files.SolidCel("top.cel", 4, 2, 1);
    files.SolidCel("under.cel", 2, 2, 2);
    files.WriteText("set.cnf", "(12,8)\n%colours.pal\n#0 top.cel :0" + extraCelRemark +
                                   "\n#1 under.cel :0 1\n$0 1,1 2,2\n$0 * 6,4\n");
  }

  static uint32_t Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
};

TEST_F(RenderToolTest, WritesThePlayfieldZoomedAsAnRgbPng) {
  WriteSimpleSet();
  const ToolRun run = Render(Path("set.cnf") + " --zoom 3 -o " + Path("out.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const QImage image(QString::fromStdString(Path("out.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 36);
  EXPECT_EQ(image.height(), 24);
  EXPECT_FALSE(image.hasAlphaChannel());
  EXPECT_EQ(Pixel(image, 0, 0), 0x112233u);     // background, colour 0
  EXPECT_EQ(Pixel(image, 3, 3), 0xFF0000u);     // map (1, 1): the top cel
  EXPECT_EQ(Pixel(image, 8, 8), 0xFF0000u);     // map (2, 2): under the top cel, hidden
  EXPECT_EQ(Pixel(image, 9, 11), 0x0000FFu);    // map (3, 3): the lower cel shows
  EXPECT_EQ(Pixel(image, 14, 3), 0xFF0000u);    // map (4, 1), last zoomed column
  EXPECT_EQ(Pixel(image, 15, 3), 0x112233u);    // map (5, 1)
}

TEST_F(RenderToolTest, OptionsTakeEffectInTheOrderGiven) {
  WriteSimpleSet();
  ToolRun run = Render(Path("set.cnf") + " --set 1 --group 1 -o " + Path("a.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  QImage image(QString::fromStdString(Path("a.png")));
  EXPECT_EQ(Pixel(image, 1, 1), 0x112233u);
  EXPECT_EQ(Pixel(image, 6, 4), 0x0000FFu);
  // Half see-through, then back to 256 colours: the indices show plain again.
  run = Render(Path("set.cnf") + " --transparent50 --mode 256 -o " + Path("b.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  image.load(QString::fromStdString(Path("b.png")));
  EXPECT_EQ(Pixel(image, 1, 1), 0xFF0000u);
  run = Render(Path("set.cnf") + " --mode 256 --transparent50 -o " + Path("c.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  image.load(QString::fromStdString(Path("c.png")));
  // (255*128 + 17*128) >> 8 = 136 red; (0 + 34*128) >> 8 = 17 green; 51 gives 25 blue.
  EXPECT_EQ(Pixel(image, 1, 1), 0x881119u);
}

TEST_F(RenderToolTest, ATransparencyRemarkLoadsInTrueColour) {
  WriteSimpleSet(" ;%t128");
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("out.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage image(QString::fromStdString(Path("out.png")));
  // Over the lower blue cel: red (255*128 + 0) >> 8 = 127, blue (0 + 255*128) >> 8 = 127.
  EXPECT_EQ(Pixel(image, 2, 2), 0x7F007Fu);
}

TEST_F(RenderToolTest, EveryMessageOfTheLoadIsOneLineOnStandardError) {
  WriteSimpleSet();
  files.WriteText("set.cnf", "(12,8)\n%missing.pal\n%colours.pal\n#0 top.cel\n#1 gone.cel\n"
                             "#2 gone2.cel\n");
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("out.png"));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Lines(run.err), (std::vector<std::string>{"palette file (missing.pal) is not found",
                                                      "can't load cell file and ignored"}));
  EXPECT_EQ(run.out, "");
}

TEST_F(RenderToolTest, AFileWithoutASetOrThatCannotBeOpenedExitsWithOne) {
  files.WriteText("empty.cnf", "; nothing but a comment\n");
  ToolRun run = Render(Path("empty.cnf") + " -o " + Path("out.png"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_FALSE(std::filesystem::exists(files.Path("out.png")));
  run = Render(Path("nowhere.cnf"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.err).size(), 1u);
}

TEST_F(RenderToolTest, UsageErrorsExitWithTwoAndTheUsage) {
  WriteSimpleSet();
  for (const std::string& args :
       {std::string("--zoom 32 ") + Path("set.cnf"), "--frobnicate " + Path("set.cnf"),
        "--mode 16 " + Path("set.cnf"), std::string("--set"), std::string(""),
        Path("set.cnf") + " " + Path("set.cnf")}) {
    const ToolRun run = Render(args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_NE(run.err.find("usage: tavro-render"), std::string::npos) << args;
  }
}

TEST_F(RenderToolTest, ASetNotInUseOrAMissingGroupIsRefusedAfterLoading) {
  WriteSimpleSet();
  ToolRun run = Render(Path("set.cnf") + " --set 4 -o " + Path("out.png"));
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(Lines(run.err), (std::vector<std::string>{"set 4 is not in use"}));
  EXPECT_FALSE(std::filesystem::exists(files.Path("out.png")));
  files.Write("colours.pal", EncodeNewPalette(24, 3, {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}}));
  run = Render(Path("set.cnf") + " --group 1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(Lines(run.err).size(), 1u);
}

TEST_F(RenderToolTest, HelpPrintsTheUsageOnStandardOutput) {
  const ToolRun run = Render("--help");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--transparent50"), std::string::npos);
  EXPECT_EQ(run.err, "");
}

TEST_F(RenderToolTest, AnUnwritableOutputIsReportedAndFails) {
  WriteSimpleSet();
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("no/such/dir/out.png"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.err).size(), 1u);
}

}  // namespace
}  // namespace tavro::test
