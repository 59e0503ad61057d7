#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"

namespace tavro {
namespace {

class TokenizerTest : public ::testing::Test {
 protected:
  test::FakeHost host;
  CTavroDoc doc{host};

  // All lines ReadConfigLine reports for `text`.
  std::vector<std::string> Lines(const std::string& text) {
    doc.ConfigText.assign(text.begin(), text.end());
    doc.ConfigText.push_back('\0');
    doc.TextCursor = doc.ConfigText.data();
    int32_t remaining = static_cast<int32_t>(text.size());
    std::vector<std::string> lines;
    char buffer[256];
    while (ReadConfigLine(doc.TextCursor, buffer, sizeof buffer, remaining))
      lines.emplace_back(buffer);
    return lines;
  }
};

TEST_F(TokenizerTest, LinesKeepTheirLineFeedAndLoseCarriageReturns) {
  EXPECT_EQ(Lines("#1 a.cel\r\n$0 1,2\r\n"), (std::vector<std::string>{"#1 a.cel\n", "$0 1,2\n"}));
}

TEST_F(TokenizerTest, LastLineWithoutLineFeedIsNotReported) {
  EXPECT_EQ(Lines("one\ntwo"), (std::vector<std::string>{"one\n"}));
  EXPECT_TRUE(Lines("").empty());
}

TEST_F(TokenizerTest, CarriageReturnOnlyFilesReadTwoPhysicalLinesAtATime) {
  EXPECT_EQ(Lines("a\rb\rc\rd\r"), (std::vector<std::string>{"ab", "cd"}));
}

TEST_F(TokenizerTest, LongLinesSplitAfter255Bytes) {
  const std::string longLine = "$0" + std::string(300, '1') + "\n";
  const auto lines = Lines(longLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 255u);
  EXPECT_EQ(lines[1], std::string(300 - 253, '1') + "\n");
}

TEST_F(TokenizerTest, ParseNumberReadsSignAndDigitsOnly) {
  const char line[] = "-12x 7 99999999999";
  doc.ParseCursor = line;
  EXPECT_EQ(ParseNumber(doc.ParseCursor), -12);
  EXPECT_EQ(*doc.ParseCursor, 'x');
  EXPECT_EQ(ParseNumber(doc.ParseCursor), -1);  // not a digit: cursor stays
  EXPECT_EQ(*doc.ParseCursor, 'x');
  ++doc.ParseCursor;
  EXPECT_EQ(ParseNumber(doc.ParseCursor), -1);  // no white space skipped before a number
  SkipSpace(doc.ParseCursor);
  EXPECT_EQ(ParseNumber(doc.ParseCursor), 7);
  SkipSpace(doc.ParseCursor);
  EXPECT_EQ(ParseNumber(doc.ParseCursor), INT32_MAX);  // too large for 32 bits: held at the top
}

TEST_F(TokenizerTest, TokensStopAtNineteenBytesSpaceOrQuote) {
  char token[kNameField];
  const char line[] = "abcdefghijklmnopqrstuvwxyz rest";
  const char* after = CopyToken(token, line);
  EXPECT_STREQ(token, "abcdefghijklmnopqrs");
  EXPECT_EQ(after, line + 19);
  after = CopyToken(token, "shirt.cel\t*1");
  EXPECT_STREQ(token, "shirt.cel");
  EXPECT_EQ(*after, '\t');

  doc.ParseCursor = line;
  CopyQuoted(token, "sound.wav\" rest");
  EXPECT_STREQ(token, "sound.wav");
  EXPECT_EQ(doc.ParseCursor, line);  // CopyQuoted leaves the cursor alone
}

TEST_F(TokenizerTest, SkipSpaceNeverPassesTheEndOfTheLine) {
  const char line[] = " \t\v\f\r\n";
  doc.ParseCursor = line;
  SkipSpace(doc.ParseCursor);
  EXPECT_EQ(*doc.ParseCursor, '\0');
  SkipSpace(doc.ParseCursor);
  EXPECT_EQ(doc.ParseCursor, line + 6);
}

}  // namespace
}  // namespace tavro
