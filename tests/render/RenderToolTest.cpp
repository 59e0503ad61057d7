#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

struct ToolRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
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
  TempDir dir_;
  SetFiles files_{dir_.Path()};

  // Runs tavro-render with no display of any kind, as on a build server.
  ToolRun Render(const std::string& args, const std::string& environment = "") {
    const std::string out = (dir_.Path() / "stdout.txt").string();
    const std::string err = (dir_.Path() / "stderr.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                environment + " '" + std::string(TAVRO_RENDER_PATH) + "' " + args +
                                " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    return run;
  }

  std::string Path(const std::string& name) const { return files_.Path(name).string(); }

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
    files_.Write("colours.pal", EncodeOldPalette(groups));
    files_.SolidCel("top.cel", 4, 2, 1);
    files_.SolidCel("under.cel", 2, 2, 2);
    files_.WriteText("set.cnf", "(12,8)\n%colours.pal\n#0 top.cel :0" + extraCelRemark +
                                    "\n#1 under.cel :0 1\n$0 1,1 2,2\n$0 * 6,4\n");
  }

  static uint32_t Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
};

TEST_F(RenderToolTest, WritesThePlayfieldZoomedAsAnRgbPng) {
  WriteSimpleSet();
  const ToolRun run = Render(Path("set.cnf") + " --zoom 3 -o " + Path("out.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  const QImage image(QString::fromStdString(Path("out.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 36);
  EXPECT_EQ(image.height(), 24);
  EXPECT_FALSE(image.hasAlphaChannel());
  EXPECT_EQ(Pixel(image, 0, 0), 0x112233u);   // background, colour 0
  EXPECT_EQ(Pixel(image, 3, 3), 0xFF0000u);   // map (1, 1): the top cel
  EXPECT_EQ(Pixel(image, 8, 8), 0xFF0000u);   // map (2, 2): under the top cel, hidden
  EXPECT_EQ(Pixel(image, 9, 11), 0x0000FFu);  // map (3, 3): the lower cel shows
  EXPECT_EQ(Pixel(image, 14, 3), 0xFF0000u);  // map (4, 1), last zoomed column
  EXPECT_EQ(Pixel(image, 15, 3), 0x112233u);  // map (5, 1)
}

TEST_F(RenderToolTest, OptionsTakeEffectInTheOrderGiven) {
  WriteSimpleSet();
  ToolRun run = Render(Path("set.cnf") + " --set 1 --group 1 -o " + Path("a.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  QImage image(QString::fromStdString(Path("a.png")));
  EXPECT_EQ(Pixel(image, 1, 1), 0x112233u);
  EXPECT_EQ(Pixel(image, 6, 4), 0x0000FFu);
  // Half see-through, then back to 256 colours: the indices show plain again.
  run = Render(Path("set.cnf") + " --transparent50 --mode 256 -o " + Path("b.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  image.load(QString::fromStdString(Path("b.png")));
  EXPECT_EQ(Pixel(image, 1, 1), 0xFF0000u);
  run = Render(Path("set.cnf") + " --mode 256 --transparent50 -o " + Path("c.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  image.load(QString::fromStdString(Path("c.png")));
  // (255*128 + 17*128) >> 8 = 136 red; (0 + 34*128) >> 8 = 17 green; 51 gives 25 blue.
  EXPECT_EQ(Pixel(image, 1, 1), 0x881119u);
}

TEST_F(RenderToolTest, ATransparencyRemarkLoadsInTrueColour) {
  WriteSimpleSet(" ;%t128");
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("out.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const QImage image(QString::fromStdString(Path("out.png")));
  // Over the lower blue cel: red (255*128 + 0) >> 8 = 127, blue (0 + 255*128) >> 8 = 127.
  EXPECT_EQ(Pixel(image, 2, 2), 0x7F007Fu);
}

// The load's messages as the window shows them, then what the set's first events say: the
// scripts run only once the load has said everything.
TEST_F(RenderToolTest, EveryMessageOfTheLoadIsOneLineOnStandardErrorBeforeTheScripts) {
  WriteSimpleSet();
  files_.WriteText("set.cnf",
                   "(12,8)\n%missing.pal\n%colours.pal\n#0 top.cel\n#1 gone.cel\n"
                   "#2 gone2.cel\n;@initialize() debug(\"initialize\")\n;@set(0) debug(\"set 0\")\n"
                   ";@begin() debug(\"begin\")\n");
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("out.png"));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(Lines(run.Err), (std::vector<std::string>{"palette file (missing.pal) is not found",
                                                      "can't load cell file and ignored",
                                                      "initialize", "set 0", "begin"}));
  EXPECT_EQ(run.Out, "");
}

TEST_F(RenderToolTest, AFileWithoutASetOrThatCannotBeOpenedExitsWithOne) {
  files_.WriteText("empty.cnf", "; nothing but a comment\n");
  ToolRun run = Render(Path("empty.cnf") + " -o " + Path("out.png"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, "");
  EXPECT_FALSE(std::filesystem::exists(files_.Path("out.png")));
  run = Render(Path("nowhere.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err).size(), 1u);
}

// Every "*.cnf" is ours by name; another program's settings file, from which no cel loads, gets
// no thumbnail (and keeps its own icon), while a set with one cel of several gets one.
TEST_F(RenderToolTest, AThumbnailNeedsACelThatLoads) {
  // "#1.organizationName" reads as object 1's cel "organizationName", which is not there.
  files_.WriteText("openssl.cnf",
                   "[ req ]\n# a comment\n#1.organizationName = Second Organization Name\n");
  ToolRun run = Render("--thumbnail 32 -o " + Path("t.png") + " -- " + Path("openssl.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(files_.Path("t.png")));
  EXPECT_NE(run.Err.find("no cel"), std::string::npos) << run.Err;
  files_.SolidCel("one.cel", 2, 2, 1);
  files_.WriteText("sparse.cnf", "(8,8)\n#0 one.cel\n#1 gone.cel\n$0 1,1 2,2\n");
  run = Render("--thumbnail 32 -o " + Path("t.png") + " -- " + Path("sparse.cnf"));
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_TRUE(std::filesystem::exists(files_.Path("t.png")));
}

TEST_F(RenderToolTest, UsageErrorsExitWithTwoAndTheUsage) {
  WriteSimpleSet();
  for (const std::string& args :
       {std::string("--zoom 32 ") + Path("set.cnf"), "--frobnicate " + Path("set.cnf"),
        "--mode 16 " + Path("set.cnf"), std::string("--set"), std::string(""),
        Path("set.cnf") + " " + Path("set.cnf")}) {
    const ToolRun run = Render(args);
    EXPECT_EQ(run.ExitCode, 2) << args;
    EXPECT_NE(run.Err.find("usage: tavro-render"), std::string::npos) << args;
  }
}

TEST_F(RenderToolTest, ASetNotInUseOrAMissingGroupIsRefusedAfterLoading) {
  WriteSimpleSet();
  ToolRun run = Render(Path("set.cnf") + " --set 4 -o " + Path("out.png"));
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_EQ(Lines(run.Err), (std::vector<std::string>{"set 4 is not in use"}));
  EXPECT_FALSE(std::filesystem::exists(files_.Path("out.png")));
  files_.Write("colours.pal", EncodeNewPalette(24, 3, {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}}));
  run = Render(Path("set.cnf") + " --group 1");
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_EQ(Lines(run.Err).size(), 1u);
}

TEST_F(RenderToolTest, HelpPrintsTheUsageOnStandardOutput) {
  const ToolRun run = Render("--help");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("--transparent50"), std::string::npos);
  EXPECT_EQ(run.Err, "");
}

TEST_F(RenderToolTest, AnUnwritableOutputIsReportedAndFails) {
  WriteSimpleSet();
  const ToolRun run = Render(Path("set.cnf") + " -o " + Path("no/such/dir/out.png"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err).size(), 1u);
}

TEST_F(RenderToolTest, ArchivesOpenTheConfigurationNamedAndLeaveNoFilesBehind) {
  if (std::system("command -v lha >/dev/null 2>&1") != 0) GTEST_SKIP() << "no lha to pack with";
  WriteSimpleSet();
  files_.WriteText("moved.cnf",
                   "(12,8)\n%colours.pal\n#0 top.cel :0\n#1 under.cel :0\n"
                   "$0 8,6 0,0\n");
  const std::string pack = "cd '" + dir_.Str() +
                           "' && lha a set.lzh set.cnf moved.cnf colours.pal top.cel under.cel "
                           ">/dev/null 2>&1";
  ASSERT_EQ(std::system(pack.c_str()), 0);
  std::filesystem::create_directory(dir_.Path() / "tmp");
  const std::string tmp = "TMPDIR='" + (dir_.Path() / "tmp").string() + "'";
  ToolRun run = Render(Path("set.lzh") + " --cnf MOVED.CNF -o " + Path("out.png"), tmp);
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const QImage image(QString::fromStdString(Path("out.png")));
  EXPECT_EQ(Pixel(image, 8, 6), 0xFF0000u);
  EXPECT_EQ(Pixel(image, 0, 0), 0x0000FFu);
  run = Render(Path("set.lzh") + " --cnf absent.cnf", tmp);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err),
            (std::vector<std::string>{"no configuration file \"absent.cnf\" in the archive"}));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path() / "tmp"));
}

// The bundled demo set against pictures checked by eye: set 0 in true colour (alpha-blended
// bubble) and set 2 in 256 colours. A change to the demo set needs new pictures.
TEST_F(RenderToolTest, TheDemoSetLooksAsItWasCheckedToLook) {
  const std::string demo = std::string(TAVRO_SOURCE_DIR) + "/examples/demo/demo.cnf";
  const std::string golden = std::string(TAVRO_SOURCE_DIR) + "/tests/render/golden/";
  const std::pair<std::string, std::string> cases[] = {
      {"", "demo-set0.png"}, {"--set 2 --mode 256 ", "demo-set2-256.png"}};
  for (const auto& [options, picture] : cases) {
    const ToolRun run = Render(options + "'" + demo + "' -o " + Path("demo.png"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const QImage made(QString::fromStdString(Path("demo.png")));
    const QImage expected(QString::fromStdString(golden + picture));
    ASSERT_FALSE(expected.isNull()) << picture;
    ASSERT_EQ(made.size(), expected.size()) << picture;
    int differing = 0;
    for (int y = 0; y < made.height(); ++y) {
      for (int x = 0; x < made.width(); ++x)
        differing += Pixel(made, x, y) != Pixel(expected, x, y);
    }
    EXPECT_EQ(differing, 0) << picture;
  }
}

TEST_F(RenderToolTest, SavingRoundTripsTheDemoSet) {
  // The copy keeps the saved file beside the set's cels and palettes.
  const std::filesystem::path demo = dir_.Path() / "demo";
  std::filesystem::copy(std::filesystem::path(TAVRO_SOURCE_DIR) / "examples/demo", demo);
  const std::string cnf = (demo / "demo.cnf").string();
  const std::string saved = (demo / "saved.cnf").string();
  ToolRun run = Render(cnf + " --set 1 -o " + Path("before.png") + " --save " + saved);
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  run = Render(saved + " --set 1 -o " + Path("after.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(ReadFile(files_.Path("before.png")), ReadFile(files_.Path("after.png")));
  for (const std::string set : {"0", "2"}) {
    ASSERT_EQ(Render(cnf + " --set " + set + " -o " + Path("a.png")).ExitCode, 0);
    ASSERT_EQ(Render(saved + " --set " + set + " -o " + Path("b.png")).ExitCode, 0);
    EXPECT_EQ(ReadFile(files_.Path("a.png")), ReadFile(files_.Path("b.png"))) << "set " << set;
  }
  // Saving again what was saved changes nothing.
  ASSERT_EQ(Render(saved + " --save " + (demo / "again.cnf").string()).ExitCode, 0);
  EXPECT_EQ(ReadFile(demo / "again.cnf"), ReadFile(saved));
}

TEST_F(RenderToolTest, SaveFailuresAndArchiveSetsExitWithOne) {
  WriteSimpleSet();
  ToolRun run = Render(Path("set.cnf") + " --save " + Path("no/such/dir/x.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err).size(), 1u);
  if (std::system("command -v jlha >/dev/null 2>&1") != 0) GTEST_SKIP() << "jlha is not installed";
  const std::string pack = "cd '" + dir_.Str() +
                           "' && jlha a set.lzh set.cnf colours.pal top.cel " +
                           "under.cel >/dev/null 2>&1";
  ASSERT_EQ(std::system(pack.c_str()), 0);
  run = Render(Path("set.lzh") + " --save " + Path("x.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err),
            (std::vector<std::string>{"a set read from an archive cannot be saved"}));
}

TEST_F(RenderToolTest, ArchivesOpenAndLeaveNoTemporaryDirectory) {
  if (std::system("command -v jlha >/dev/null 2>&1") != 0) GTEST_SKIP() << "jlha is not installed";
  WriteSimpleSet();
  files_.WriteText("other.cnf", "(12,8)\n%colours.pal\n#1 under.cel\n$0 * 5,5\n");
  const std::string pack = "cd '" + dir_.Str() + "' && jlha a set.lzh set.cnf other.cnf " +
                           "colours.pal top.cel under.cel >/dev/null 2>&1";
  ASSERT_EQ(std::system(pack.c_str()), 0);
  const std::filesystem::path tmp = dir_.Path() / "tmp";
  std::filesystem::create_directory(tmp);
  const std::string environment = "TMPDIR='" + tmp.string() + "'";
  ToolRun run = Render(Path("set.lzh") + " --cnf OTHER.CNF -o " + Path("out.png"), environment);
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const QImage image(QString::fromStdString(Path("out.png")));
  EXPECT_EQ(Pixel(image, 5, 5), 0x0000FFu);  // other.cnf's picture: object 1 alone at (5, 5)
  EXPECT_EQ(Pixel(image, 1, 1), 0x112233u);
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
}

}  // namespace
// A set whose every name is Shift_JIS (a folder, the configuration, a palette and a cel whose
// second bytes are 0x5C), drawn from its folder and from a level-0 LZH archive made by hand.
TEST_F(RenderToolTest, AJapaneseSetRendersFromItsFolderAndFromAnArchive) {
  const std::string folder = "\x90\x6C\x8C\x60";  // 人形
  const std::string cel = "\x95\x5C.cel";         // 表.cel
  const std::string palette = "\x83\x5C.kcf";     // ソ.kcf
  const std::string config = "\x94\x5C.cnf";      // 能.cnf
  const std::string text = "(6,4)\n%" + palette + "\n#0 " + cel + " :0\n$0 1,1\n";
  std::filesystem::create_directory(dir_.Path() / folder);
  const SetFiles set(dir_.Path() / folder);
  set.OldPalette(palette, std::vector<std::vector<Rgb>>(1, std::vector<Rgb>(16, {0, 0, 240})));
  set.SolidCel(cel, 2, 2, 1);
  set.WriteText(config, text);
  ToolRun run = Render("'" + (dir_.Path() / folder / config).string() + "' -o " + Path("a.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(Pixel(QImage(QString::fromStdString(Path("a.png"))), 1, 1), 0x0000FFu);

  const std::string archive =
      tavro::test::StoredLzhMember(folder + "\\" + config, text) +
      tavro::test::StoredLzhMember(palette, ReadFile(dir_.Path() / folder / palette)) +
      tavro::test::StoredLzhMember(cel, ReadFile(dir_.Path() / folder / cel)) +
      std::string(1, '\0');
  std::ofstream(dir_.Path() / (folder + ".lzh"), std::ios::binary) << archive;
  run = Render("'" + Path(folder + ".lzh") + "' -o " + Path("b.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(Pixel(QImage(QString::fromStdString(Path("b.png"))), 1, 1), 0x0000FFu);
}

TEST_F(RenderToolTest, AnArchiveThatCannotBeOpenedSaysWhyOnOneLine) {
  files_.WriteText("fake.lzh", "this is no archive");
  ToolRun run = Render(Path("fake.lzh") + " -o " + Path("out.png"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Err),
            std::vector<std::string>{"Cannot open the archive \"" + Path("fake.lzh") +
                                     "\": it is not an archive."});
  EXPECT_FALSE(std::filesystem::exists(Path("out.png")));
}

// --check: the load report on standard output, after the usual messages on standard error.
TEST_F(RenderToolTest, CheckPrintsEachProblemWithItsLineAndExitsWithThree) {
  WriteSimpleSet();
  files_.WriteText("bad.cnf",
                   "(12,8)\n%colours.pal\n#0 top.cel :0\n#1 lost.cel :0\n"
                   ";@Press(#0) map(#5)\n$0 1,1\n");
  const std::string p = Path("bad.cnf");
  const std::vector<std::string> report = {
      p + ":4: cel not found: \"lost.cel\" not found; tried \"lost.cel\" in the set's folder, "
          "in any letter case",
      p + ":5: unknown word: \"Press(#0)\" is no keyword and is skipped; keywords are written in "
          "small letters: \"press(\"",
      p + ":5: no such target: #5: no cel line names object 5"};

  ToolRun run = Render("--check " + p);
  EXPECT_EQ(run.ExitCode, 3);
  EXPECT_EQ(Lines(run.Out), report);
  EXPECT_EQ(Lines(run.Err), std::vector<std::string>{"can't load cell file and ignored"});

  // Without --check nothing changes; with --info both are printed, the report last.
  const ToolRun plain = Render(p);
  EXPECT_EQ(plain.ExitCode, 0);
  EXPECT_EQ(plain.Out, "");
  EXPECT_EQ(plain.Err, run.Err);
  run = Render("--info --check " + p);
  EXPECT_EQ(run.ExitCode, 3);
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 6u + report.size());
  EXPECT_EQ(lines[0], "map size : 12 x 8");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()), report);
}

TEST_F(RenderToolTest, CheckExitsWithZeroOneOrTwoWhenThereIsNothingToReport) {
  WriteSimpleSet();
  ToolRun run = Render("--check " + Path("set.cnf") + " -o " + Path("out.png"));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_TRUE(std::filesystem::exists(Path("out.png")));
  run = Render("--check " + Path("nosuch.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, "");
  // A file that gives no set still says why, and exits as any file without a set does.
  files_.WriteText("empty.cnf", "nothing here\n");
  run = Render("--check " + Path("empty.cnf"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(Lines(run.Out).size(), 1u);
  EXPECT_EQ(Render("--check").ExitCode, 2);
  EXPECT_EQ(Render("--thumbnail 16 -o " + Path("t.png") + " --check " + Path("set.cnf")).ExitCode,
            2);
  const std::string demo = std::string(TAVRO_SOURCE_DIR) + "/examples/demo/demo.cnf";
  run = Render("--check '" + demo + "'");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
}

TEST_F(RenderToolTest, CheckNamesASetInAnArchiveByArchiveAndMember) {
  WriteSimpleSet();
  const std::string archive =
      StoredLzhMember("doll.cnf", "%colours.pal\n#0 top.cel :0\n#0 gone.cel :0\n") +
      StoredLzhMember("colours.pal", ReadFile(files_.Path("colours.pal"))) +
      StoredLzhMember("top.cel", ReadFile(files_.Path("top.cel"))) + std::string(1, '\0');
  std::ofstream(files_.Path("doll.lzh"), std::ios::binary) << archive;
  const ToolRun run = Render("--check " + Path("doll.lzh"));
  EXPECT_EQ(run.ExitCode, 3);
  EXPECT_EQ(Lines(run.Out),
            std::vector<std::string>{Path("doll.lzh") +
                                     ":doll.cnf:3: cel not found: \"gone.cel\" not found; tried "
                                     "\"gone.cel\" in the set's folder, in any letter case"});
}

TEST_F(RenderToolTest, RecordingOptionsAreCheckedAsUsage) {
  WriteSimpleSet();
  const std::string set = Path("set.cnf") + " ";
  const std::string gif = " -o " + Path("a.gif");
  for (const std::string& args :
       {set + "--record 1000 -o " + Path("a.png"), set + "--record 1000", set + "--at 5 drop" + gif,
        set + "--seed 3" + gif, set + "--record 0" + gif, set + "--record 600001" + gif,
        set + "--record 100 --at 100 drop" + gif,
        set + "--record 900 --at 50 key 1 --at 10 drop" + gif,
        set + "--record 900 --at 50 press x" + gif, set + "--record 900 --at 50 key ab" + gif,
        set + "--record 900 --at 50 jump" + gif, set + "--record 900 --thumbnail 64" + gif}) {
    const ToolRun run = Render(args);
    EXPECT_EQ(run.ExitCode, 2) << args;
    EXPECT_NE(run.Err.find("usage: tavro-render"), std::string::npos) << args;
  }
  EXPECT_FALSE(std::filesystem::exists(files_.Path("a.gif")));
}

TEST_F(RenderToolTest, ARecordingIsTheSameFileTwiceAndStartsWithThePngOfTheSameOptions) {
  WriteSimpleSet();
  const std::string options = Path("set.cnf") + " --set 1 --zoom 2 ";
  const std::string record = options + "--record 400 --at 100 press 1 --at 200 drop --at 300 key 0";
  ToolRun run = Render(record + " -o " + Path("a.gif"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  ASSERT_EQ(Render(record + " -o " + Path("b.gif")).ExitCode, 0);
  EXPECT_EQ(ReadFile(files_.Path("a.gif")), ReadFile(files_.Path("b.gif")));
  ASSERT_EQ(Render(options + "-o " + Path("a.png")).ExitCode, 0);
  const QImage first =
      QImage(QString::fromStdString(Path("a.gif")), "gif").convertToFormat(QImage::Format_RGB888);
  EXPECT_EQ(first,
            QImage(QString::fromStdString(Path("a.png"))).convertToFormat(QImage::Format_RGB888));
}

}  // namespace tavro::test
