#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

using DocumentFileTest = test::LoadFixture;
namespace fs = std::filesystem;

TEST_F(DocumentFileTest, UnreadablePathsFailWithAMessageAndLeaveTheSetAlone) {
  Load("#0 a.cel\n#1 b.cel\n");
  fs::create_directory(dir_.Path() / "folder.cnf");
  ASSERT_EQ(::mkfifo((dir_.Path() / "pipe.cnf").c_str(), 0600), 0);  // would block if opened
  fs::resize_file(files_.Path("set.cnf"),
                  CTavroDoc::kMaxConfigFileBytes + 1);  // sparse: costs no disk

  for (const char* name : {"missing.cnf", "folder.cnf", "pipe.cnf", "set.cnf"}) {
    SCOPED_TRACE(name);
    const std::string path = files_.Path(name).string();
    host_.Messages.clear();
    EXPECT_FALSE(OpenAsWindow(doc_, host_, path).Opened);
    ASSERT_EQ(host_.Messages.size(), 1u);
    const std::string& error = host_.Messages[0];
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(error, name == std::string("missing.cnf")
                         ? "Cannot open \"" + path + "\": No such file or directory."
                     : name == std::string("set.cnf")
                         ? "\"" + path + "\" is too large to be a configuration file."
                         : "\"" + path + "\" is not a file.");
    EXPECT_FALSE(doc_.Set().CellTable().empty());
    EXPECT_FALSE(doc_.Set().ConfigText().empty());
  }
}

TEST_F(DocumentFileTest, TheSetDirectoryIsTheFilesOwnWithoutLengthLimits) {
  const std::string longName(100, 'd');
  fs::create_directories(dir_.Path() / longName);
  test::SetFiles deep(dir_.Path() / longName);
  deep.WriteText("My Dolls.CNF", "#0 a.cel\n");
  ASSERT_TRUE(OpenAsWindow(doc_, host_, deep.Path("My Dolls.CNF").string()).Opened);
  EXPECT_EQ(doc_.Set().Path().SetDirectory, deep.Dir());
  EXPECT_EQ(doc_.Set().Path().SetBaseName, "My Dolls");
  EXPECT_EQ(doc_.Set().Path().SetExtension, ".CNF");
}

TEST_F(DocumentFileTest, ARelativePathGivesAnAbsoluteSetDirectory) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_.Path());
  files_.WriteText("doll.cnf", "#0 a.cel\n");
  const bool opened = OpenAsWindow(doc_, host_, "doll.cnf").Opened;
  fs::current_path(before);
  ASSERT_TRUE(opened);
  EXPECT_EQ(doc_.Set().Path().SetDirectory, dir_.Str() + "/");
  EXPECT_EQ(doc_.Set().Path().SetBaseName, "doll");
}

TEST_F(DocumentFileTest, AFileThatCouldNotBeReadWholeLoadsNothing) {
  Load("#0 a.cel\n");
  ASSERT_FALSE(doc_.Set().ConfigText().empty());
  host_.Messages.clear();
  doc_.LoadConfigText(std::nullopt);
  EXPECT_TRUE(doc_.Set().ConfigText().empty());
  EXPECT_EQ(doc_.Set().CellCount(), 0);
  EXPECT_FALSE(doc_.IsSetLoaded());
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(DocumentFileTest, TheTextIsKeptByteForByteWithATerminatingZero) {
  const std::string bytes("#0 a\0b\r\n", 9);
  doc_.LoadConfigText(std::vector<char>(bytes.begin(), bytes.end()));
  ASSERT_EQ(doc_.Set().ConfigTextLength(), 9);
  EXPECT_EQ(std::string(doc_.Set().ConfigText().data(), doc_.Set().ConfigText().size()),
            bytes + '\0');
}

}  // namespace
}  // namespace tavro
