#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "set/ConfigReader.h"
#include "set/ConfigTokens.h"

namespace tavro {
namespace {

class TokenizerTest : public ::testing::Test {
 protected:
  // All lines a reader reports for `text`.
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back('\0');
    ConfigReader reader(bytes, static_cast<int32_t>(text.size()));
    std::vector<std::string> lines;
    while (reader.NextLine()) lines.emplace_back(reader.Line());
    return lines;
  }

  const char* cursor_ = nullptr;
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
  cursor_ = line;
  EXPECT_EQ(ParseNumber(cursor_), -12);
  EXPECT_EQ(*cursor_, 'x');
  EXPECT_EQ(ParseNumber(cursor_), -1);  // not a digit: cursor stays
  EXPECT_EQ(*cursor_, 'x');
  ++cursor_;
  EXPECT_EQ(ParseNumber(cursor_), -1);  // no white space skipped before a number
  SkipSpace(cursor_);
  EXPECT_EQ(ParseNumber(cursor_), 7);
  SkipSpace(cursor_);
  EXPECT_EQ(ParseNumber(cursor_), INT32_MAX);  // too large for 32 bits: held at the top
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

  cursor_ = line;
  CopyQuoted(token, "sound.wav\" rest");
  EXPECT_STREQ(token, "sound.wav");
  EXPECT_EQ(cursor_, line);  // CopyQuoted leaves the cursor alone
}

TEST_F(TokenizerTest, SkipSpaceNeverPassesTheEndOfTheLine) {
  const char line[] = " \t\v\f\r\n";
  cursor_ = line;
  SkipSpace(cursor_);
  EXPECT_EQ(*cursor_, '\0');
  SkipSpace(cursor_);
  EXPECT_EQ(cursor_, line + 6);
}

}  // namespace
}  // namespace tavro
