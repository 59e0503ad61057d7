#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/GrowingFile.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GrowingFileTest, TheTargetAppearsWholeOnCommitAndNeverOtherwise) {
  TempDir dir;
  const std::string target = (dir.Path() / "out.bin").string();
  {
    std::ofstream(target) << "old";
    GrowingFile file;
    ASSERT_TRUE(file.Create(target));
    ASSERT_TRUE(file.Append("abcdef", 6));
    EXPECT_FALSE(file.WriteAt(4, "xyz", 3));  // past what was written
    ASSERT_TRUE(file.WriteAt(1, "XY", 2));
    EXPECT_EQ(Read(target), "old");
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(Read(target), "aXYdef");
  {
    GrowingFile abandoned;
    ASSERT_TRUE(abandoned.Create(target));
    ASSERT_TRUE(abandoned.Append("new", 3));
  }
  EXPECT_EQ(Read(target), "aXYdef");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  // A link is written through; a read-only file is not replaced.
  const std::string link = (dir.Path() / "link.bin").string();
  std::filesystem::create_symlink(target, link);
  GrowingFile through;
  ASSERT_TRUE(through.Create(link) && through.Append("via", 3) && through.Commit());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Read(target), "via");
  // A file written over keeps its permissions, as a saved configuration does.
  namespace fs = std::filesystem;
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  GrowingFile again;
  ASSERT_TRUE(again.Create(target) && again.Append("x", 1) && again.Commit());
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  std::filesystem::permissions(target, std::filesystem::perms::owner_read);
  GrowingFile locked;
  EXPECT_FALSE(locked.Create(target));
  EXPECT_EQ(locked.Error(), EACCES);
  GrowingFile nowhere;
  EXPECT_FALSE(nowhere.Create((dir.Path() / "missing" / "out.bin").string()));
  EXPECT_EQ(nowhere.Error(), ENOENT);
}

}  // namespace
}  // namespace tavro::test
