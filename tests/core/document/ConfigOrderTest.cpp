// Which configuration file of an archive comes first: the order the archive holds them, which is
// what its maker chose, never the directory's listing order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ConfigOrderTest : public ::testing::Test {
 protected:
  test::TempDir work_;
  test::TempDir tmp_;
  test::FakeHost host_;
  std::unique_ptr<CTavroDoc> doc_ = std::make_unique<CTavroDoc>(host_);

  void SetUp() override {
    if (std::system("command -v jlha >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "jlha (Debian package jlha-utils) is not installed";
    }
    host_.TmpDir = tmp_.Str();
  }
  // An archive of configuration files named `members`, packed in that order; jlha's "y" stores
  // the UTF-8 names of the files as Shift_JIS.
  std::string Pack(const std::string& archive, const Names& members) {
    const fs::path folder = work_.Path() / (archive + ".d");
    fs::create_directories(folder);
    std::string list;
    for (const std::string& name : members) {
      std::ofstream(folder / name, std::ios::binary) << "(40,30)\n#0 a.cel\n";
      list += " '" + name + "'";
    }
    const std::string path = (work_.Path() / archive).string();
    const std::string command =
        "cd '" + folder.string() + "' && jlha ay '" + path + "'" + list + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
  }
  // Opens `path` choosing m.CNF and returns the names the choice offered.
  Names OpenOffering(const std::string& path, bool merge = false) {
    Names offered;
    EXPECT_TRUE(OpenAsWindow(*doc_, host_, path, merge, "m.CNF", &offered).Opened);
    return offered;
  }
};

TEST_F(ConfigOrderTest, ConfigurationFilesAreOfferedInTheArchivesOrder) {
  // 表 is 0x95 0x5C in Shift_JIS.
  const Names members = {"z.cnf", "b.cnf", "\x95\x5C.cnf", "m.CNF", "a.cnf", "c.cnf"};
  const std::string first =
      Pack("first.lzh", {"z.cnf", "b.cnf", "表.cnf", "m.CNF", "a.cnf", "c.cnf"});
  EXPECT_EQ(OpenOffering(first), members);
  // Opened again from what was extracted, the order is remembered.
  EXPECT_EQ(OpenOffering(first), members);

  // Merged with Shift: the new archive's files first, then the earlier ones not among them.
  const std::string second = Pack("second.lzh", {"y.cnf", "b.cnf"});
  EXPECT_EQ(OpenOffering(second, true),
            (Names{"y.cnf", "b.cnf", "z.cnf", "\x95\x5C.cnf", "m.CNF", "a.cnf", "c.cnf"}));
  EXPECT_EQ(doc_->Set().Path().SetBaseName, "m");
}

}  // namespace
}  // namespace tavro
