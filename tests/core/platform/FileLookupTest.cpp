#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/FileLookup.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

TEST(FileLookup, ExactNameFirstThenAnyLetterCase) {
  test::TempDir dir;
  std::ofstream(dir.Path() / "shirt.cel") << "x";
  std::filesystem::create_directory(dir.Path() / "Clothes");
  std::ofstream(dir.Path() / "Clothes" / "Hat.CEL") << "x";

  const std::string base = dir.Str() + "/";
  EXPECT_EQ(ResolveSetFile(base, "shirt.cel"), base + "shirt.cel");
  EXPECT_EQ(ResolveSetFile(base, "SHIRT.CEL"), base + "shirt.cel");
  EXPECT_EQ(ResolveSetFile(dir.Str(), "clothes\\hat.cel"), base + "Clothes/Hat.CEL");
  EXPECT_FALSE(ResolveSetFile(base, "shoe.cel"));
  EXPECT_FALSE(ResolveSetFile(base, ""));
}

// Shift_JIS names: 表 (0x95 0x5C) and 十 (0x8F 0x5C) end in a backslash byte, 人 (0x90 0x6C) in
// the letter 'l'.
TEST(FileLookup, ShiftJisSecondBytesAreNeitherSeparatorsNorLetters) {
  test::TempDir dir;
  const std::string base = dir.Str() + "/";
  std::ofstream(base + "\x95\x5C.cel") << "x";
  std::filesystem::create_directory(base + "\x8F\x5C");
  std::ofstream(base + "\x8F\x5C/\x90\x6C.cel") << "x";

  EXPECT_EQ(ResolveSetFile(base, "\x95\x5C.cel"), base + "\x95\x5C.cel");
  EXPECT_EQ(ResolveSetFile(base, "\x95\x5C.CEL"), base + "\x95\x5C.cel");
  EXPECT_EQ(ResolveSetFile(base, "\x8F\x5C\\\x90\x6C.cel"), base + "\x8F\x5C/\x90\x6C.cel");
  EXPECT_EQ(ResolveSetFile(base, "\x8F\x5C\\\x90\x6C.CEL"), base + "\x8F\x5C/\x90\x6C.cel");
  // 0x90 0x4C is another character than 0x90 0x6C, whatever ASCII says about L and l.
  EXPECT_FALSE(ResolveSetFile(base, "\x8F\x5C\\\x90\x4C.cel"));
}

TEST(FileLookup, ALeadingSeparatorMeansTheSetsFolderNeverTheRoot) {
  test::TempDir dir;
  test::TempDir outside;
  std::ofstream(dir.Path() / "shirt.cel") << "x";
  std::ofstream(outside.Path() / "secret.cel") << "x";
  const std::string base = dir.Str() + "/";
  EXPECT_EQ(ResolveSetFile(base, "\\shirt.cel"), base + "shirt.cel");
  EXPECT_EQ(ResolveSetFile(base, "/shirt.cel"), base + "shirt.cel");
  EXPECT_FALSE(ResolveSetFile(base, outside.Str() + "/secret.cel"));
  EXPECT_FALSE(ResolveSetFile(base, "\\"));
}

}  // namespace
}  // namespace tavro
