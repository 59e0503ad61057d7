#include <gtest/gtest.h>

#include <algorithm>

#include "core/scripts/ScriptFixture.h"
#include "scripts/ScriptCodes.h"

namespace tavro::test {
namespace {

class ScriptParserTest : public ScriptFixture {};

TEST_F(ScriptParserTest, RecordsComeOutByteForByte) {
  for (int i = 0; i < 6; ++i) AddCel(3, i == 5 ? "hand.cel" : "x.cel");
  Script("alarm(1) timer(1, 500)");
  Script("press(#3) map(\"HAND.CEL\")");
  EXPECT_EQ(Records(), (std::vector<Bytes>{{0x08, 0x07, 0x01, 0x00, 0x69, 0x01, 0xF4, 0x01},
                                           {0x07, 0x09, 0x03, 0x00, 0x65, 0x05, 0x80}}));
}

TEST_F(ScriptParserTest, EveryActionKindHasItsLayout) {
  AddCel(2, "a.cel");
  Script("sound(\"ding.wav\") debug(\"hi there\") randomtimer(2, 1000, 500)");
  Script("move(#2, -5, 40000) changeset(3) changecol(4) transparent(\"a.cel\", -300)");
  EXPECT_EQ(Records(), (std::vector<Bytes>{
                           {14, 1, 0, 0, 100, 'd', 'i', 'n', 'g', '.', 'w', 'a', 'v', 0},
                           {14, 1, 0, 0, 104, 'h', 'i', ' ', 't', 'h', 'e', 'r', 'e', 0},
                           {10, 1, 0, 0, 106, 2, 0xE8, 0x03, 0xF4, 0x01},
                           {11, 1, 0, 0, 107, 2, 0, 0xFB, 0xFF, 0x40, 0x9C},  // low 16 bits kept
                           {6, 1, 0, 0, 108, 3},
                           {6, 1, 0, 0, 109, 4},
                           {9, 1, 0, 0, 110, 0x00, 0x80, 0xD4, 0xFE}}));
}

TEST_F(ScriptParserTest, CurrentEventCarriesAcrossLinesAndStartsAtInitialize) {
  Script("map(#1)");
  Script("press(#3) unmap(#3) map(#4)");
  Script("altmap(#5)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0], (Bytes{7, kEventInitialize, 0, 0, kActionMap, 1, 0}));
  EXPECT_EQ(records[1], (Bytes{7, kEventPress, 3, 0, kActionUnmap, 3, 0}));
  EXPECT_EQ(records[2], (Bytes{7, kEventPress, 3, 0, kActionMap, 4, 0}));
  EXPECT_EQ(records[3], (Bytes{7, kEventPress, 3, 0, kActionAltmap, 5, 0}));
}

TEST_F(ScriptParserTest, ANewConfigurationStartsAgainAtInitialize) {
  const std::string first = "one\ntwo\n";
  build_.Text(first);
  readerAt_ = doc_.Set().ConfigText().data() + 4;
  Script("press(#3)");
  readerAt_ = doc_.Set().ConfigText().data() + 1;  // the reader went back: another file
  Script("map(#1)");
  readerAt_ = doc_.Set().ConfigText().data() + 8;
  Script("release(#2)");
  doc_.Scripts().ResetScriptParser(Origin());
  Script("map(#6) press(#4)");
  Script("map(#7)");  // the same line read again: the same file loaded once more
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0][1], kEventInitialize);
  EXPECT_EQ(records[1][1], kEventInitialize);
  EXPECT_EQ(records[2][1], kEventInitialize);
}

TEST_F(ScriptParserTest, KeywordsBackToBackAndAnyNumberOnALine) {
  Script("press(#1)map(#2)unmap(#3)altmap(#4)release(#1)map(#5)map(#6)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[2], (Bytes{7, kEventPress, 1, 0, kActionAltmap, 4, 0}));
  EXPECT_EQ(records[4], (Bytes{7, kEventRelease, 1, 0, kActionMap, 6, 0}));
}

TEST_F(ScriptParserTest, NumbersDirectlyAfterTheParenthesisOnly) {
  Script("set( 3) map(#1) alarm( 2) map(#2) set(4) changeset( 5)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0][2], 0xFF);  // a blank makes the argument -1
  EXPECT_EQ(records[0][3], 0xFF);
  EXPECT_EQ(records[1][1], kEventAlarm);
  EXPECT_EQ(records[1][2], 0xFF);
  EXPECT_EQ(records[2], (Bytes{6, kEventSet, 4, 0, kActionChangeSet, 0xFF}));
}

TEST_F(ScriptParserTest, BlanksAroundTimerArgumentsAreSkipped) {
  Script("timer( 2, 100) timer(3 ,  7)");
  EXPECT_EQ(Records(), (std::vector<Bytes>{{8, 1, 0, 0, kActionTimer, 2, 100, 0},
                                           {8, 1, 0, 0, kActionTimer, 3, 7, 0}}));
}

TEST_F(ScriptParserTest, TargetsThatNameNothing) {
  AddCel(0, "5");
  // A bare number loses its first character as if it were the quote, and matches no cel.
  Script("map(5) map(\"nothere.cel\") map(#) map(#40000) map(#32767)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(records[i], (Bytes{7, 1, 0, 0, kActionMap, 0xFF, 0xFF}));
  EXPECT_EQ(records[4], (Bytes{7, 1, 0, 0, kActionMap, 0xFF, 0x7F}));
}

TEST_F(ScriptParserTest, CelNamesMatchIgnoringCaseFirstCellWins) {
  AddCel(1, "other.cel");
  AddCel(1, "Shirt.CEL");
  AddCel(2, "shirt.cel");
  EXPECT_EQ(side_.FindCellByName("SHIRT.cel"), 1);
  EXPECT_EQ(side_.FindCellByName("shirt"), -1);
  EXPECT_EQ(side_.FindCellByName(""), -1);
}

TEST_F(ScriptParserTest, LongCelNamesAreCutToNineteenThenCompared) {
  AddCel(0, "abcdefghijklmnopqrs");  // what a cel line keeps of a longer name
  Script("map(\"abcdefghijklmnopqrstuvwxyz.cel\") map(#1)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (Bytes{7, 1, 0, 0, kActionMap, 0x00, 0x80}));
  EXPECT_EQ(records[1], (Bytes{7, 1, 0, 0, kActionMap, 1, 0}));
}

TEST_F(ScriptParserTest, LongTextsAreCutAndTheRestOfTheLineStillParses) {
  Script("debug(\"a text that is much longer than nineteen bytes\") map(#2)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(std::string(records[0].begin() + 5, records[0].end() - 1), "a text that is much");
  EXPECT_EQ(records[0][0], 19 + 6);
  EXPECT_EQ(records[1][4], kActionMap);
}

TEST_F(ScriptParserTest, PunctuationInsideQuotesBelongsToTheQuote) {
  AddCel(4, "a,b.cel");
  Script("debug(\"wait) map(#9)\") move(\"a,b.cel\", 3, 4) map(#1)");
  EXPECT_EQ(Records(), (std::vector<Bytes>{{19, 1, 0, 0, kActionDebug, 'w', 'a', 'i', 't', ')', ' ',
                                            'm', 'a', 'p', '(', '#', '9', ')', 0},
                                           {11, 1, 0, 0, kActionMove, 0, 0x80, 3, 0, 4, 0},
                                           {7, 1, 0, 0, kActionMap, 1, 0}}));
}

TEST_F(ScriptParserTest, AQuoteLeftOpenDoesNotSwallowTheNextKeyword) {
  AddCel(4, "a.cel");
  AddCel(5, "\x83\x5C.cel");  // Shift_JIS, its second byte 0x5C
  // The next quote is followed by a name, not by the end of an argument: it opens debug's text.
  Script("unmap(\"a.cel) debug(\"after\")");
  // A closing quote may stand before blanks and then the list's own punctuation.
  Script("map(\"\x83\x5C.cel\" ) move(\"a.cel\"  , 1, 2) sound(\"s.wav\"\t;");
  const auto records = Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0], (Bytes{7, 1, 0, 0, kActionUnmap, 0xFF, 0xFF}));  // "a.cel) debug(": none
  EXPECT_EQ(records[1], (Bytes{11, 1, 0, 0, kActionDebug, 'a', 'f', 't', 'e', 'r', 0}));
  EXPECT_EQ(records[2], (Bytes{7, 1, 0, 0, kActionMap, 1, 0x80}));
  EXPECT_EQ(records[3], (Bytes{11, 1, 0, 0, kActionMove, 0, 0x80, 1, 0, 2, 0}));
  EXPECT_EQ(records[4], (Bytes{11, 1, 0, 0, kActionSound, 's', '.', 'w', 'a', 'v', 0}));
}

TEST_F(ScriptParserTest, UnknownAndCapitalisedWordsAreSkipped) {
  Script("Sound(\"a.wav\") map(#1) hello map(#2) Press(#3) map(#4)");
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2], (Bytes{7, 1, 0, 0, kActionMap, 4, 0}));  // still "initialize("
}

TEST_F(ScriptParserTest, SemicolonEndsTheScriptPart) {
  Script("map(#1) ; map(#2)");
  Script(";map(#3)");
  EXPECT_EQ(Records().size(), 1u);
}

TEST_F(ScriptParserTest, MissingPiecesStayWithinTheLine) {
  // Cut off in every place an argument reader looks: no closing quote, no comma, no number, no
  // closing parenthesis. Missing numbers read as -1 and nothing beyond the line is read.
  Script("move(#3, 5");
  Script("randomtimer(4)");
  Script("timer(6 200) map(#7)");
  Script("transparent(\"unterminated");
  Script("sound(");
  Script("debug(\"");
  Script("press(");
  Script("map(");
  const auto records = Records();
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[0], (Bytes{11, 1, 0, 0, kActionMove, 3, 0, 5, 0, 0xFF, 0xFF}));
  EXPECT_EQ(records[1], (Bytes{10, 1, 0, 0, kActionRandomTimer, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(records[2], (Bytes{8, 1, 0, 0, kActionTimer, 6, 0xFF, 0xFF}));
  EXPECT_EQ(records[3], (Bytes{7, 1, 0, 0, kActionMap, 7, 0}));
  EXPECT_EQ(records[4], (Bytes{9, 1, 0, 0, kActionTransparent, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(records[5], (Bytes{6, 1, 0, 0, kActionSound, 0}));
  EXPECT_EQ(records[6], (Bytes{7, 1, 0, 0, kActionDebug, '\n', 0}));  // the line's own end
  EXPECT_EQ(records[7], (Bytes{7, kEventPress, 0xFF, 0xFF, kActionMap, 0xFF, 0xFF}));
}

TEST_F(ScriptParserTest, AFullStoreDropsWhatDoesNotFitButLaterShortRecordsMayFit) {
  // Fill the store with "map(" records (7 bytes) until 12 bytes are left.
  const int records = (kActionStoreSize - 12) / 7;
  for (int i = 0; i < records; ++i)
    ASSERT_TRUE(doc_.Scripts().AppendAction(1, 0, kActionMap, TargetArgument{1}));
  const size_t used = static_cast<size_t>(records) * 7;
  ASSERT_EQ(doc_.Scripts().ActionStoreBytes(), used);
  ASSERT_EQ(kActionStoreSize - used, 12u + (kActionStoreSize - 12) % 7);
  const size_t left = kActionStoreSize - used;
  const auto count = static_cast<size_t>(records);

  Script("debug(\"a long text here\")");  // needs 23 bytes of space
  EXPECT_EQ(doc_.Scripts().Actions().size(), count);
  Script("map(#9)");  // needs 8
  ASSERT_EQ(doc_.Scripts().Actions().size(), count + 1);
  EXPECT_EQ(Records().back(), (Bytes{7, 1, 0, 0, kActionMap, 9, 0}));
  EXPECT_EQ(doc_.Scripts().ActionStoreBytes(), used + 7);
  // A record exactly as long as the space left would leave no zero byte after it: dropped. One
  // byte shorter fits and fills the store.
  const size_t textBytes = left - 7 - kRecordHeaderLength - 1;  // and its terminating zero
  EXPECT_FALSE(
      doc_.Scripts().AppendAction(1, 0, kActionDebug, TextArgument{std::string(textBytes, 'x')}));
  EXPECT_EQ(doc_.Scripts().Actions().size(), count + 1);
  EXPECT_TRUE(doc_.Scripts().AppendAction(1, 0, kActionDebug,
                                          TextArgument{std::string(textBytes - 1, 'x')}));
  EXPECT_EQ(doc_.Scripts().ActionStoreBytes(), static_cast<size_t>(kActionStoreSize) - 1);
  EXPECT_FALSE(doc_.Scripts().AppendAction(1, 0, kActionChangeSet, NumberArgument{1}));
}

TEST_F(ScriptParserTest, AnEmptiedStoreFillsFromTheStartAgain) {
  Script("map(#1) map(#2)");
  doc_.Scripts().ClearActions();  // as before the next file
  Script("unmap(#3)");
  EXPECT_EQ(Records(), (std::vector<Bytes>{{7, 1, 0, 0, kActionUnmap, 3, 0}}));
  // Records taken over are appended to after their own end.
  doc_.Scripts().ReplaceActions(doc_.Scripts().Actions());
  Script("map(#4)");
  EXPECT_EQ(Records(),
            (std::vector<Bytes>{{7, 1, 0, 0, kActionUnmap, 3, 0}, {7, 1, 0, 0, kActionMap, 4, 0}}));
  EXPECT_EQ(doc_.Scripts().ActionStoreBytes(), 14u);
}

TEST_F(ScriptParserTest, InitializeSeedsTheGeneratorFromTheClock) {
  host_.Seconds = 777;
  Script("initialize( )");
  CTavroDoc fresh{host_};
  fresh.Scripts().SeedScriptRandom(777);
  EXPECT_EQ(doc_.Scripts().NextScriptRandom(), fresh.Scripts().NextScriptRandom());
  EXPECT_EQ(doc_.Scripts().NextScriptRandom(), fresh.Scripts().NextScriptRandom());
}

TEST_F(ScriptParserTest, ScrambledLinesNeverReadPastTheirEnd) {
  // Lines pieced together from keywords, quotes and punctuation, each in a buffer of exactly its
  // own size so that the sanitizers see any read beyond the terminating zero. Whatever they
  // compile must then run without harm.
  AddCel(1, "a.cel");
  AddCel(2, "b");
  const char* pieces[] = {"press(",     "map(",   "move(",  "timer(",  "randomtimer(",
                          "set(",       "alarm(", "debug(", "sound(",  "transparent(",
                          "changeset(", "#",      "\"",     "\"a.cel", ",",
                          ")",          ";",      " ",      "-",       "12",
                          "40000",      "x"};
  uint32_t state = 7;
  auto next = [&state](uint32_t n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  for (int line = 0; line < 3000; ++line) {
    std::string text;
    const uint32_t count = next(12);
    for (uint32_t i = 0; i < count; ++i) text += pieces[next(std::size(pieces))];
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    const char* cursor = buffer.data();
    doc_.Scripts().ParseScriptLine(cursor);
    ASSERT_LE(cursor, buffer.data() + text.size());
  }
  build_.Playfield(448, 320);
  build_.Current(0, doc_.Set().CurrentGroup());
  for (int event = kEventInitialize; event <= kEventFixDrop; ++event) {
    for (int argument : {0, 1, 2, 12, 0xFFFF, 0x8000, 0x8001})
      doc_.Scripts().RunEvent(event, argument);
  }
  EXPECT_EQ(doc_.Scripts().DispatchDepth(), 0);
}

}  // namespace
}  // namespace tavro::test
