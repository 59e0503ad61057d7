// Writing a file that lies in a folder the user may not write: nothing can be made beside it, so
// saves and recordings write the file itself, and what each way does to the file's other names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FileDoor.h"
#include "platform/GrowingFile.h"
#include "support/PermissionsApply.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A folder of the test's own, holding "set.cnf" and made read-only for as long as it lives; the
// file has a second name in a writable folder beside it.
class LockedFolder : public ::testing::Test {
 protected:
  test::TempDir dir_;
  fs::path folder_ = dir_.Path() / "locked";
  fs::path file_ = folder_ / "set.cnf";
  fs::path otherName_ = dir_.Path() / "other-name.cnf";

  void SetUp() override {
    fs::create_directory(folder_);
    Write(file_, "the old text, longer than the new");
    ::chmod(file_.c_str(), 0640);
    fs::create_hard_link(file_, otherName_);
    ::chmod(folder_.c_str(), 0555);
  }
  void TearDown() override { ::chmod(folder_.c_str(), 0755); }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }
};

TEST_F(LockedFolder, ASaveWritesTheFileInPlaceKeepingItsOtherNamesAndMode) {
  test::PermissionsApply permissions;
  ASSERT_TRUE(permissions.Active());
  ReplaceStep step = ReplaceStep::None;
  int error = 0;
  ASSERT_TRUE(ReplaceFile(file_.string(), "new", step, error)) << error;
  EXPECT_EQ(Read(file_), "new");
  EXPECT_EQ(Read(otherName_), "new") << "the same file under both names";
  struct stat info {};
  ::stat(file_.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), 1u);

  // No new file can be made there, and a read-only one stays refused.
  EXPECT_FALSE(ReplaceFile((folder_ / "new.cnf").string(), "x", step, error));
  EXPECT_EQ(step, ReplaceStep::CreateBeside);
  EXPECT_EQ(error, EACCES);
  ::chmod(file_.c_str(), 0440);
  EXPECT_FALSE(ReplaceFile(file_.string(), "x", step, error));
  EXPECT_EQ(step, ReplaceStep::ReadOnly);
  EXPECT_EQ(Read(file_), "new");
}

TEST_F(LockedFolder, ARecordingIsCopiedInAtTheEndAndAnAbandonedOneLeavesTheFileWhole) {
  test::PermissionsApply permissions;
  ASSERT_TRUE(permissions.Active());
  {
    GrowingFile abandoned;
    ASSERT_TRUE(abandoned.Create(file_.string())) << abandoned.Error();
    ASSERT_TRUE(abandoned.Append("half", 4));
  }
  EXPECT_EQ(Read(file_), "the old text, longer than the new");
  GrowingFile recording;
  ASSERT_TRUE(recording.Create(file_.string()));
  ASSERT_TRUE(recording.Append("abcdef", 6));
  ASSERT_TRUE(recording.WriteAt(1, "XY", 2));
  EXPECT_EQ(Read(file_), "the old text, longer than the new") << "whole until the end";
  ASSERT_TRUE(recording.Commit()) << recording.Error();
  EXPECT_EQ(Read(file_), "aXYdef");
  EXPECT_EQ(Read(otherName_), "aXYdef");
  EXPECT_EQ(Entries(), 1u);

  GrowingFile nowhere;
  EXPECT_FALSE(nowhere.Create((folder_ / "new.gif").string()));
  EXPECT_EQ(nowhere.Error(), EACCES);
}

TEST(SafeReplace, InAWritableFolderTheFileIsReplacedAndItsOtherNamesKeepTheOldText) {
  test::TempDir dir;
  const fs::path file = dir.Path() / "set.cnf";
  const fs::path otherName = dir.Path() / "other-name.cnf";
  Write(file, "old");
  fs::create_hard_link(file, otherName);
  ReplaceStep step = ReplaceStep::None;
  int error = 0;
  ASSERT_TRUE(ReplaceFile(file.string(), "new", step, error));
  EXPECT_EQ(Read(file), "new");
  EXPECT_EQ(Read(otherName), "old");
}

}  // namespace
}  // namespace tavro
