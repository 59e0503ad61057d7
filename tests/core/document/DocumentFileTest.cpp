#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "core/document/LoadFixture.h"
#include "document/CArchive.h"

namespace tavro {
namespace {

using DocumentFileTest = test::LoadFixture;
namespace fs = std::filesystem;

TEST_F(DocumentFileTest, UnreadablePathsFailWithAMessageAndLeaveTheSetAlone) {
  Load("#0 a.cel\n#1 b.cel\n");
  fs::create_directory(dir.path() / "folder.cnf");
  ASSERT_EQ(::mkfifo((dir.path() / "pipe.cnf").c_str(), 0600), 0);  // would block if opened
  fs::resize_file(files.Path("set.cnf"), kMaxConfigFileBytes + 1);  // sparse: costs no disk

  for (const char* name : {"missing.cnf", "folder.cnf", "pipe.cnf", "set.cnf"}) {
    SCOPED_TRACE(name);
    const std::string path = files.Path(name).string();
    std::string error;
    EXPECT_FALSE(OpenDocumentFile(doc, path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(doc.Set().CellCount(), 2);
    EXPECT_FALSE(doc.Set().CellTable().empty());
  }
}

TEST_F(DocumentFileTest, TheSetDirectoryIsTheFilesOwnWithoutLengthLimits) {
  const std::string longName(100, 'd');
  fs::create_directories(dir.path() / longName);
  test::SetFiles deep(dir.path() / longName);
  deep.WriteText("My Dolls.CNF", "#0 a.cel\n");
  std::string error;
  ASSERT_TRUE(OpenDocumentFile(doc, deep.Path("My Dolls.CNF").string(), error)) << error;
  EXPECT_EQ(doc.Set().Path().SetDirectory, deep.Dir());
  EXPECT_EQ(doc.Set().Path().SetBaseName, "My Dolls");
  EXPECT_EQ(doc.Set().Path().SetExtension, ".CNF");
}

TEST_F(DocumentFileTest, ARelativePathGivesAnAbsoluteSetDirectory) {
  SetPathFields(doc, "sets/doll.cnf");
  EXPECT_EQ(doc.Set().Path().SetDirectory, (fs::current_path() / "sets").string() + "/");
  SetPathFields(doc, "/doll.cnf");
  EXPECT_EQ(doc.Set().Path().SetDirectory, "/");
}

TEST_F(DocumentFileTest, AFileEndingBeforeItsLengthLoadsNothing) {
  std::istringstream shortFile("#0 a.cel\n");
  CArchive archive(shortFile, 100);
  doc.ResetSet();
  doc.Serialize(archive);
  EXPECT_TRUE(doc.Set().ConfigText().empty());
  EXPECT_EQ(doc.Set().CellCount(), 0);
  EXPECT_FALSE(doc.SetLoaded);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentFileTest, AnArchiveReadsBytesAsTheyStand) {
  const std::string bytes("a\0b\r\n", 5);
  std::istringstream input(bytes);
  CArchive archive(input, 5);
  EXPECT_TRUE(archive.IsLoading());
  EXPECT_FALSE(archive.IsStoring());
  char buffer[8] = {};
  EXPECT_EQ(archive.Read(buffer, 8), 5u);
  EXPECT_EQ(std::string(buffer, 5), bytes);

  std::ostringstream output;
  CArchive storing(output);
  EXPECT_TRUE(storing.IsStoring());
  EXPECT_TRUE(storing.WriteText("$0 1,1\r\n"));
  EXPECT_EQ(output.str(), "$0 1,1\r\n");
}

}  // namespace
}  // namespace tavro
