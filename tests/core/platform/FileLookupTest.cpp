#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/FileLookup.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

TEST(FileLookup, ExactNameFirstThenAnyLetterCase) {
  test::TempDir dir;
  std::ofstream(dir.path() / "shirt.cel") << "x";
  std::filesystem::create_directory(dir.path() / "Clothes");
  std::ofstream(dir.path() / "Clothes" / "Hat.CEL") << "x";

  const std::string base = dir.str() + "/";
  EXPECT_EQ(ResolveSetFile(base, "shirt.cel"), base + "shirt.cel");
  EXPECT_EQ(ResolveSetFile(base, "SHIRT.CEL"), base + "shirt.cel");
  EXPECT_EQ(ResolveSetFile(dir.str(), "clothes\\hat.cel"), base + "Clothes/Hat.CEL");
  EXPECT_FALSE(ResolveSetFile(base, "shoe.cel"));
  EXPECT_FALSE(ResolveSetFile(base, ""));
}

}  // namespace
}  // namespace tavro
