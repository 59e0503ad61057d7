// The load report: each problem a set maker can make, at a known line, reported line for line,
// without the load itself doing or showing anything else.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

using Texts = std::vector<std::string>;

class LoadReportTest : public test::LoadFixture {
 protected:
  Texts Report() const {
    Texts lines;
    for (const LoadProblem& problem : doc_.LastLoad().Problems.All()) {
      lines.push_back(FormatLoadProblem(problem));
    }
    return lines;
  }
  std::string Prefix() const { return files_.Path("set.cnf").string() + ":"; }

  void WriteFiles() {
    files_.OldPalette("pal.kcf");
    files_.Write("badpal.kcf", {'M', 'i', 'V', 'O', 0x11, 12, 0, 0, 16, 0, 1, 0});
    files_.SolidCel("a.cel", 10, 10, 1);
    files_.Write("flat.cel", {'M', 'i', 'V', 'O', 0x20, 8, 0, 0, 4, 0, 0, 0});
    files_.SolidCel("big.cel", 200, 10, 1);
  }
};

TEST_F(LoadReportTest, OneOfEachProblemIsReportedAtItsLine) {
  WriteFiles();
  std::string text =
      "(100,80)\n"                                                            // 1
      "%pal.kcf\n"                                                            // 2
      "%missing.kcf\r\n"                                                      // 3
      "%badpal.kcf\r\n"                                                       // 4
      "#0 a.cel :0\n"                                                         // 5
      "#1 NotHere\\x.cel :0\n"                                                // 6
      "#2 flat.cel :0\n"                                                      // 7
      "#3 big.cel :0\n"                                                       // 8
      "#1200 a.cel :0\n"                                                      // 9
      "#x a.cel\n"                                                            // 10
      "#6 a.cel :20\n"                                                        // 11
      "$0 10,10 20, 20\n"                                                     // 12
      "$1 5,-5\n"                                                             // 13
      "$2\n$3\n$4\n$5\n$6\n$7\n$8\n$9\n"                                      // 14-21
      "$10 1,1\n"                                                             // 22
      "hello\n"                                                               // 23
      ";@press(#0) Map(#0) unmap(\"gone.cel\") map(#77) sound (\"x.wav\")\n"  // 24
      ";" +
      std::string(300, 'x') + "\n" +                  // 25
      "#4 a.cel :0\r#5 a.cel :0\n"                    // 26-27
      "  \t\n"                                        // 28: blank, fine
      ";@map(#9)\n"                                   // 29: object 9 appears below
      "#9 a.cel :0\n";                                // 30
  for (int i = 0; i < 29; ++i) text += "%pal.kcf\n";  // 31-59
  text += "%pal.kcf\n";                               // 60: the 33rd
  text += "#7 a.cel :0";                              // 61, no line feed
  Load(text);

  // The load itself says what it always said.
  EXPECT_EQ(LoadMessages(),
            (Texts{"palette file (missing.kcf) is not found", "bad cell and ignored",
                   "can't load cell file and ignored", "too large cell and ignored"}));
  const std::string p = Prefix();
  EXPECT_EQ(Report(),
            (Texts{
                p + "3: palette not found: \"missing.kcf\" not found; tried \"missing.kcf\" in "
                    "the set's folder, in any letter case",
                p + "4: bad palette: \"badpal.kcf\": mark 0x11 is not 0x10",
                p + "6: cel not found: \"NotHere\\x.cel\" not found; tried \"NotHere\\x.cel\" "
                    "and \"NotHere/x.cel\" in the set's folder, in any letter case",
                p + "7: bad cel: \"flat.cel\": height 0",
                p + "8: cel too large: \"big.cel\": 200x10 at offset 0,0 reaches 200,10, past "
                    "the playfield of 100x80",
                p + "9: bad cel: \"a.cel\": object number 1200 is past the largest one, 1169",
                p + "10: cel line ignored: no object number right after \"#\", found \"x\"",
                p + "11: cel line ignored: the set list names no set from 0 to 9, so the cel is "
                    "never shown",
                p + "12: set line stopped: set 0 stops at object 1, column 13: a blank after the "
                    "separator \",\"; y must follow it directly",
                p + "13: set line stopped: set 1 stops at object 0, column 6: negative y",
                p + "22: set line ignored: set line 11 is ignored with its continuations: only "
                    "sets 0 to 9 exist",
                p + "23: no line kind: \"h\" starts no kind of line, so it is ignored (comments "
                    "start with \";\")",
                p + "24: unknown word: \"Map(#0)\" is no keyword and is skipped; keywords are "
                    "written in small letters: \"map(\"",
                p + "24: no such target: no cel \"gone.cel\" above this line",
                p + "24: unknown word: \"sound\" is no keyword and is skipped; no blank may "
                    "stand between a keyword and its \"(\": \"sound(\"",
                p + "24: no such target: #77: no cel line names object 77",
                p + "25: long line: longer than 255 bytes: from column 256 on it is read as a "
                    "line of its own",
                p + "25: no line kind: \"x\" starts no kind of line, so it is ignored (comments "
                    "start with \";\")",
                p + "26: joined lines: it ends with a carriage return but no line feed, so the "
                    "next line is read as part of it",
                p + "60: palette line ignored: only 32 palette files are read; this one is "
                    "ignored",
                p + "61: unended line: the last line has no line feed, so it is never read",
            }));
}

// Everything a set maker cannot easily see in a short file: the cel and script stores running
// out, counted from a known line.
TEST_F(LoadReportTest, CelsPastTheTableAndScriptsPastTheStoreAreEachReported) {
  files_.SolidCel("a.cel", 4, 4, 1);
  std::string text;
  for (int i = 0; i < kMaxCells + 2; ++i) text += "#0 a.cel :0\n";
  // Each line holds 30 records of 7 bytes; 160 lines are more than the store's 32,767 bytes.
  const std::string actions = ";@" + [] {
    std::string many;
    for (int i = 0; i < 30; ++i) many += "map(#0) ";
    return many;
  }() + "\n";
  for (int i = 0; i < 160; ++i) text += actions;
  Load(text);

  const Texts report = Report();
  ASSERT_GE(report.size(), 3u);
  EXPECT_EQ(report[0], Prefix() +
                           "1821: too many cels: only 1820 cels are read; this one is "
                           "ignored");
  EXPECT_EQ(report[1], Prefix() +
                           "1822: too many cels: only 1820 cels are read; this one is "
                           "ignored");
  // 4,680 records of 7 bytes fit (a zero byte must stay after the last): the 4,681st is the
  // first of line 1822 + 157 that does not.
  EXPECT_EQ(report[2], Prefix() +
                           "1979: script store full: the \"map(\" action is dropped: the "
                           "script store of 32767 bytes is full");
  EXPECT_EQ(report.size(), 2u + 160 * 30 - 4680);
}

TEST_F(LoadReportTest, ScriptMistakesNameTheKeywordProbablyMeant) {
  files_.SolidCel("a.cel", 4, 4, 1);
  Load(
      "#0 a.cel :0\n"
      ";@sund(\"x.wav\") press #0 set( 2) changeset(x) map(eyes.cel\") Randomtimer(1,2,3) "
      "unmap(\"open\n");
  const std::string p = Prefix() + "2: ";
  EXPECT_EQ(Report(),
            (Texts{p + "unknown word: \"sund(\"x.wav\")\" is no keyword and is skipped; did you "
                       "mean \"sound(\"?",
                   p + "unknown word: \"press\" is no keyword and is skipped; a keyword ends with "
                       "its \"(\": \"press(\"",
                   p + "bad number: no number right after \"set(\", found a blank: the event "
                       "never happens",
                   p + "bad number: no number right after \"changeset(\", found \"x\": the "
                       "action gets no valid number",
                   p + "no such target: a target is \"#\" and an object number or a cel name in "
                       "double quotes; this one reads as the cel name \"yes.cel\"",
                   p + "unknown word: \"Randomtimer(1,2,3)\" is no keyword and is skipped; "
                       "keywords are written in small letters: \"randomtimer(\"",
                   // A name left open runs to the line's end; the report stays one line.
                   p + "no such target: no cel \"open\\n\" above this line"}));
}

TEST_F(LoadReportTest, LinesAreCountedAsAnEditorCountsThem) {
  // Line feeds, CR LF pairs and carriage returns alone each end one line; a byte order mark
  // hides the first.
  Load(
      "\xEF\xBB\xBF#0 a.cel\r\n\n#1 b.cel\r\r\n\n;\r;\r\n"
      "x\n");
  Texts lines;
  for (const LoadProblem& problem : doc_.LastLoad().Problems.All()) {
    lines.push_back(std::to_string(problem.Line) + " " + ProblemKindName(problem.Kind));
  }
  EXPECT_EQ(lines,
            (Texts{"1 no line kind", "3 cel not found", "6 joined lines", "8 no line kind"}));
  EXPECT_EQ(doc_.LastLoad().Problems.All()[0].Detail,
            "a UTF-8 byte order mark starts the line, so it is ignored");
}

TEST_F(LoadReportTest, TheDemoSetReportsNothing) {
  const std::filesystem::path demo = TAVRO_DEMO_DIR;
  ASSERT_TRUE(OpenAsWindow(doc_, host_, (demo / "demo.cnf").string()).Opened);
  EXPECT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(Report(), Texts{});
}

TEST_F(LoadReportTest, ANewLoadForgetsTheLastReport) {
  // A Shift_JIS name is kept as its bytes: its 0x5C second byte is no escape to be doubled.
  Load("#0 \x95\x5C.cel\n");
  ASSERT_EQ(Report().size(), 1u);
  EXPECT_NE(Report()[0].find("\"\x95\x5C.cel\" not found"), std::string::npos) << Report()[0];
  Load("#0 gone.cel\n");
  EXPECT_EQ(Report().size(), 1u);
  Load("; nothing wrong here\n");
  EXPECT_EQ(Report(), Texts{});
  Load("#0 gone.cel\n");
  doc_.OnNewDocument();
  EXPECT_EQ(Report(), Texts{});
}

}  // namespace
}  // namespace tavro
