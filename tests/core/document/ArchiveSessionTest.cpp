#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/ArchiveSession.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

TEST(ArchiveSessionTest, ADirectoryInUseDecidesRepeatsSavingAndRecentFiles) {
  test::TempDir base;
  ArchiveSession session;
  session.BeginOpen("/sets/a.lzh");
  EXPECT_FALSE(session.IsRepeat("/sets/a.lzh")) << "nothing extracted yet";
  EXPECT_TRUE(session.SavingAllowed());
  ASSERT_TRUE(session.MakeDirectory(base.Str()));
  session.MarkExtracted();
  EXPECT_TRUE(session.IsRepeat("/sets/a.lzh"));
  EXPECT_FALSE(session.IsRepeat("/sets/A.LZH")) << "bytes, compared exactly";
  EXPECT_FALSE(session.SavingAllowed());

  EXPECT_TRUE(session.SetDocument("/sets/a.lzh"));
  EXPECT_EQ(session.DocumentTitle(), "A.LZH");
  EXPECT_TRUE(session.OpenedFrom("/sets/a.lzh"));
  EXPECT_FALSE(session.OpenedFrom("/sets/b.lzh"));
  EXPECT_FALSE(session.SetDocument(session.Directory() + "/inner.lzh"))
      << "an archive inside the directory is gone with it: not a recent file";

  session.BeginOpen("/sets/b.cnf");
  EXPECT_EQ(session.DocumentPath(), "");
  std::ofstream(fs::path(session.Directory()) / "a.cel") << "x";
  const std::string directory = session.Directory();
  EXPECT_TRUE(session.RemoveDirectory());
  EXPECT_FALSE(fs::exists(directory));
  EXPECT_FALSE(session.RemoveDirectory()) << "nothing left to remove";
  EXPECT_TRUE(session.SavingAllowed());
  EXPECT_FALSE(session.IsRepeat("/sets/b.cnf"));
  EXPECT_FALSE(session.MakeDirectory((base.Path() / "none").string()));
}

}  // namespace
}  // namespace tavro
