#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "document/CTavroDoc.h"
#include "support/ArchiveFiles.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

using test::HaveArchiver;
using test::MakeLzh;
using test::Read;
using test::Write;

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class ArchiveOpenTest : public ::testing::Test {
 protected:
  test::TempDir work_;
  test::TempDir tmp_;
  test::FakeHost host_;
  std::unique_ptr<CTavroDoc> doc_ = std::make_unique<CTavroDoc>(host_);

  void SetUp() override {
    if (!HaveArchiver()) GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
    host_.TmpDir = tmp_.Str();
    const test::SetFiles set(work_.Path() / "a");
    fs::create_directories(work_.Path() / "a");
    set.WriteText("one.cnf", "%pal.kcf\n#0 a.cel\n$0 10,10\n");
    set.OldPalette("pal.kcf");
    set.SolidCel("a.cel", 4, 4, 1);
    MakeLzh(work_.Path() / "a", "../first.lzh", "one.cnf a.cel pal.kcf");
    Write(work_.Path() / "b/b.cel", "B");
    MakeLzh(work_.Path() / "b", "../second.lzh", "b.cel");
    Write(work_.Path() / "plain/set.cnf", "#0 p.cel\n");
  }
  std::string Path(const std::string& name) { return (work_.Path() / name).string(); }
};

TEST_F(ArchiveOpenTest, ArchiveIsExtractedIntoANewDirectoryUnderTmpdir) {
  const OpenResult opened = doc_->OnOpenDocument(Path("first.lzh"));
  ASSERT_TRUE(opened.Opened);
  EXPECT_TRUE(doc_->StartLoadedSet());
  EXPECT_TRUE(opened.Messages.empty());
  const fs::path temp = doc_->Archive().Directory();
  EXPECT_EQ(temp.parent_path(), tmp_.Path());
  EXPECT_EQ(temp.filename().string().substr(0, 2), "ta");
  EXPECT_EQ(temp.filename().string().size(), 8u);
  EXPECT_EQ(doc_->Set().Path().SetDirectory, doc_->Archive().Directory() + "/");
  EXPECT_EQ(doc_->Set().Path().SetBaseName, "one");
  EXPECT_TRUE(doc_->Archive().Extracted());
  EXPECT_TRUE(fs::is_regular_file(temp / "a.cel"));
  EXPECT_EQ(doc_->Archive().DocumentTitle(), "FIRST.LZH");
  // The set is read from there, its cel and palette beside it.
  EXPECT_TRUE(doc_->IsSetLoaded());
  EXPECT_EQ(doc_->LastLoad().LoadedCels, 1);
  EXPECT_EQ(doc_->Set().Palettes().PaletteFileCount, 1);
  EXPECT_FALSE(doc_->CanSave()) << "a set from an archive cannot be saved";
  EXPECT_EQ(opened.RecentFile, Path("first.lzh"));
}

TEST_F(ArchiveOpenTest, SecondOpenReusesWhatWasExtracted) {
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  const std::string temp = doc_->Archive().Directory();
  fs::remove(fs::path(temp) / "a.cel");
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  EXPECT_EQ(doc_->Archive().Directory(), temp);
  EXPECT_FALSE(fs::exists(fs::path(temp) / "a.cel")) << "extracted again";
}

TEST_F(ArchiveOpenTest, ShiftMergesAnotherArchiveIntoTheSameDirectory) {
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  const std::string temp = doc_->Archive().Directory();
  // its cnf is the first archive's
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("second.lzh"), /*merge=*/true).Opened);
  EXPECT_EQ(doc_->Archive().Directory(), temp);
  EXPECT_TRUE(fs::is_regular_file(fs::path(temp) / "a.cel"));
  EXPECT_EQ(Read(fs::path(temp) / "b.cel"), "B");
  EXPECT_EQ(EntriesIn(tmp_.Path()), 1u);
}

TEST_F(ArchiveOpenTest, OpeningAnotherFileWithoutShiftRemovesTheDirectory) {
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  const std::string temp = doc_->Archive().Directory();
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("plain/set.cnf"), /*merge=*/true).Opened);
  EXPECT_TRUE(fs::exists(temp)) << "Shift keeps it";
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("plain/set.cnf")).Opened);
  EXPECT_TRUE(fs::exists(temp)) << "the same file again is a repeat";
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  EXPECT_FALSE(fs::exists(temp));
  EXPECT_TRUE(doc_->Archive().Extracted());
  EXPECT_EQ(EntriesIn(tmp_.Path()), 1u);
  doc_.reset();
  EXPECT_EQ(EntriesIn(tmp_.Path()), 0u) << "the document takes its directory with it";
}

TEST_F(ArchiveOpenTest, SeveralConfigurationFilesAreOfferedForChoice) {
  Write(work_.Path() / "c/x.cnf", "#0 a.cel\n");
  Write(work_.Path() / "c/Y.CNF", "#0 b.cel\n");
  Write(work_.Path() / "c/readme.txt", "hi");
  MakeLzh(work_.Path() / "c", "../two.lzh", "x.cnf Y.CNF readme.txt");
  const OpenResult asked = doc_->OnOpenDocument(Path("two.lzh"));
  EXPECT_FALSE(asked.Opened);
  EXPECT_TRUE(asked.Messages.empty());
  EXPECT_EQ(std::set<std::string>(asked.ConfigChoices.begin(), asked.ConfigChoices.end()),
            (std::set<std::string>{"x.cnf", "Y.CNF"}));
  const std::string temp = doc_->Archive().Directory();
  const OpenResult chosen = doc_->OnOpenDocument(Path("two.lzh"), {false, "Y.CNF"});
  ASSERT_TRUE(chosen.Opened);
  EXPECT_TRUE(chosen.ConfigChoices.empty());
  EXPECT_EQ(chosen.RecentFile, Path("two.lzh"));
  EXPECT_EQ(doc_->Set().Path().SetBaseName, "Y");
  EXPECT_EQ(doc_->Archive().Directory(), temp) << "the second open reuses the first's files";
  EXPECT_EQ(EntriesIn(tmp_.Path()), 1u);

  const OpenResult outside = doc_->OnOpenDocument(Path("two.lzh"), {false, "../../a/one.cnf"});
  EXPECT_FALSE(outside.Opened) << "only a listed name is opened";
  EXPECT_TRUE(outside.ConfigChoices.empty());
  EXPECT_TRUE(outside.RecentFile.empty());
}

TEST_F(ArchiveOpenTest, ArchiveWithoutConfigurationOrCorruptFailsAndIsCleanedUpLater) {
  EXPECT_FALSE(OpenAsWindow(*doc_, host_, Path("second.lzh")).Opened);
  Write(work_.Path() / "broken.lzh", "-lh5- not an archive at all");
  EXPECT_FALSE(OpenAsWindow(*doc_, host_, Path("broken.lzh")).Opened);
  EXPECT_TRUE(doc_->Archive().Extracted());
  EXPECT_TRUE(doc_->OnOpenDocument(Path("broken.lzh")).RecentFile.empty());
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("plain/set.cnf")).Opened);
  EXPECT_EQ(EntriesIn(tmp_.Path()), 0u);
  EXPECT_EQ(doc_->Archive().DocumentPath(), "") << "a plain file is no archive";
}

TEST_F(ArchiveOpenTest, LhaIsAnLzhArchiveAndALimitSetForATabNamesItself) {
  fs::copy_file(Path("first.lzh"), Path("first.LHA"));
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.LHA")).Opened) << "read as the archive it is";
  EXPECT_EQ(doc_->LastLoad().LoadedCels, 1);
  // Below the archive's unpacked size (three small files) the open fails with the limit spelt out.
  doc_->SetArchiveLimits({64, 20000});
  const OpenResult refused = doc_->OnOpenDocument(Path("first.lzh"));
  EXPECT_FALSE(refused.Opened);
  ASSERT_EQ(refused.Messages.size(), 1u);
  EXPECT_NE(refused.Messages[0].find("it is too large (more than 64 bytes unpacked)"),
            std::string::npos)
      << refused.Messages[0];
  // What the refused extraction wrote is no set: the same archive is unpacked afresh, and
  // refused again, rather than read in part.
  EXPECT_FALSE(doc_->OnOpenDocument(Path("first.lzh")).Opened);
  doc_->SetArchiveLimits({3000, 1});
  const OpenResult crowded = doc_->OnOpenDocument(Path("first.lzh"));
  ASSERT_EQ(crowded.Messages.size(), 1u);
  EXPECT_NE(crowded.Messages[0].find("(more than 1 members)"), std::string::npos)
      << crowded.Messages[0];
}

TEST_F(ArchiveOpenTest, UnreadableFilesFailTheOpen) {
  EXPECT_FALSE(OpenAsWindow(*doc_, host_, Path("plain/missing.cnf")).Opened);
  ASSERT_EQ(host_.Messages.size(), 1u) << "the open step says why";
  EXPECT_NE(host_.Messages[0].find("missing.cnf"), std::string::npos);
  host_.Messages.clear();
  // A missing archive fails like a failed extraction, leaving its directory to be removed later.
  EXPECT_FALSE(OpenAsWindow(*doc_, host_, Path("missing.lzh")).Opened);
  ASSERT_EQ(host_.Messages.size(), 1u);
  EXPECT_NE(host_.Messages[0].find("it cannot be read"), std::string::npos);
  EXPECT_FALSE(doc_->IsSetLoaded());
}

TEST_F(ArchiveOpenTest, UnusableTmpdirIsReportedAndTheSystemDirectoryUsed) {
  for (const std::string setting : {"C:\\TEMP", "relative/dir", "/no/such/directory"}) {
    host_.Messages.clear();
    host_.TmpDir = setting;
    ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened) << setting;
    ASSERT_FALSE(host_.Messages.empty());
    EXPECT_EQ(host_.Messages[0], "TMPDIR is invalidated");
    EXPECT_EQ(fs::path(doc_->Archive().Directory()).parent_path(), fs::temp_directory_path());
    EXPECT_TRUE(fs::path(doc_->Archive().Directory()).is_absolute());
    doc_->RemoveTempDirectory();
    EXPECT_FALSE(fs::exists(doc_->Archive().Directory()));
  }
}

TEST_F(ArchiveOpenTest, RemovalDeletesOnlyPlainFilesAndFollowsNoLink) {
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  const fs::path temp = doc_->Archive().Directory();
  Write(work_.Path() / "outside/keep.txt", "keep");
  fs::create_symlink(work_.Path() / "outside", temp / "dirlink");
  fs::create_symlink(work_.Path() / "outside/keep.txt", temp / "filelink");
  doc_->RemoveTempDirectory();
  EXPECT_EQ(Read(work_.Path() / "outside/keep.txt"), "keep");
  EXPECT_FALSE(fs::exists(temp / "a.cel"));
  EXPECT_FALSE(doc_->Archive().Extracted());

  // A directory swapped for a link is not entered at all.
  ASSERT_TRUE(OpenAsWindow(*doc_, host_, Path("first.lzh")).Opened);
  const fs::path swapped = doc_->Archive().Directory();
  fs::rename(swapped, work_.Path() / "moved");
  fs::create_directory_symlink(work_.Path() / "outside", swapped);
  doc_->RemoveTempDirectory();
  EXPECT_EQ(Read(work_.Path() / "outside/keep.txt"), "keep");
  EXPECT_TRUE(fs::is_regular_file(work_.Path() / "moved/a.cel"));
  fs::remove(swapped);
}

}  // namespace
}  // namespace tavro
