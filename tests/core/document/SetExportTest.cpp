// The open set handed out as a ZIP: the folder its names are read from, with a save's rewritten
// configuration, whether the set came as files or out of an archive.
#include <gtest/gtest.h>

#include <filesystem>

#include "archives/ArchiveExtract.h"
#include "document/DocumentSession.h"
#include "document/SetExport.h"
#include "support/ArchiveFiles.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

// The archive unpacked flat into a new folder of `work`, by the project's own extractor.
fs::path Unpacked(const fs::path& zip, const fs::path& work) {
  const fs::path out = work / ("unpacked " + zip.filename().string());
  fs::create_directories(out);
  EXPECT_EQ(ExtractArchiveFlat(zip.string(), out.string()).Status, ExtractStatus::Ok) << zip;
  return out;
}

constexpr char kSet[] = "(20,10)\n%p.kcf\n#0 body.cel :0\n$0 1,1\n";

class SetExportTest : public ::testing::Test {
 protected:
  test::FakeHost host_;
  DocumentSession session_{host_, host_};
  test::TempDir work_;
  test::SetFiles files_{work_.Path() / "set"};

  void SetUp() override {
    fs::create_directories(work_.Path() / "set" / "notes");
    files_.OldPalette("p.kcf");
    files_.SolidCel("body.cel", 4, 4, 1);
    files_.WriteText("set.cnf", kSet);
    files_.WriteText("notes/read me.txt", "hello");
  }
  void Open(const fs::path& path) {
    const OpenResult opened = session_.Open(path.string());
    ASSERT_TRUE(opened.Opened);
    session_.StartSet();
  }
};

TEST_F(SetExportTest, WithNothingOpenNothingIsWritten) {
  const fs::path zip = work_.Path() / "out.zip";
  ZipExportResult result = ExportOpenSet(session_.Doc(), zip.string());
  EXPECT_FALSE(result.Written);
  EXPECT_EQ(result.Error, "no set is open");
  // Nor once the set is closed again.
  Open(files_.Path("set.cnf"));
  session_.NewDocument();
  result = ExportOpenSet(session_.Doc(), zip.string());
  EXPECT_FALSE(result.Written);
  EXPECT_FALSE(fs::exists(zip));
}

TEST_F(SetExportTest, AsFilesItsFolderGoesWithTheSavedConfiguration) {
  Open(files_.Path("set.cnf"));
  session_.Press(2, 2);
  session_.Move(7, 4);
  session_.Release();
  ASSERT_TRUE(session_.Save(files_.Path("set.cnf").string(), true).Saved);
  const std::string saved = test::Read(files_.Path("set.cnf"));
  ASSERT_NE(saved, kSet);
  // Written into the set's own folder, as the page writes it beside the files.
  const fs::path zip = files_.Path("shelf.zip");
  const ZipExportResult result = ExportOpenSet(session_.Doc(), zip.string());
  ASSERT_TRUE(result.Written) << result.Error;
  EXPECT_EQ(result.Names,
            (std::vector<std::string>{"body.cel", "notes/read me.txt", "p.kcf", "set.cnf"}));
  const fs::path out = Unpacked(zip, work_.Path());
  EXPECT_EQ(test::Read(out / "set.cnf"), saved);
  EXPECT_EQ(test::Read(out / "read me.txt"), "hello");
}

TEST_F(SetExportTest, OutOfAnArchiveTheFolderItWasUnpackedIntoGoes) {
  const fs::path archive = work_.Path() / "set.zip";
  ASSERT_TRUE(ExportFolderZip(files_.Dir(), archive.string()).Written);
  Open(archive);
  ASSERT_TRUE(session_.Doc().Archive().Extracted());
  const fs::path zip = work_.Path() / "again.zip";
  const ZipExportResult result = ExportOpenSet(session_.Doc(), zip.string());
  ASSERT_TRUE(result.Written) << result.Error;
  // Unpacked flat, as every archive is.
  EXPECT_EQ(result.Names,
            (std::vector<std::string>{"body.cel", "p.kcf", "read me.txt", "set.cnf"}));
  EXPECT_EQ(test::Read(Unpacked(zip, work_.Path()) / "set.cnf"), kSet);
}

}  // namespace
}  // namespace tavro
