// A folder written out as a ZIP archive and read back: names under their folders as the disk
// spells them, Shift_JIS ones unconverted and unflagged, the bytes whole, the output never its
// own member, and failures that leave nothing behind.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "archives/ArchiveExtract.h"
#include "archives/ZipExport.h"
#include "support/ArchiveFiles.h"
#include "support/PermissionsApply.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

using test::Read;
using test::Write;
using Members = std::map<std::string, std::string>;

// "ソ" and "表" in Shift_JIS: both end in 0x5C, the byte of a backslash.
const std::string kSo = "\x83\x5C";
const std::string kHyou = "\x95\x5C";

// Every member by its stored name, read with libarchive.
Members ReadZip(const fs::path& path) {
  Members members;
  struct archive* reader = archive_read_new();
  archive_read_support_format_zip(reader);
  EXPECT_EQ(archive_read_open_filename(reader, path.c_str(), 16384), ARCHIVE_OK) << path;
  struct archive_entry* entry = nullptr;
  while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
    std::string data(static_cast<size_t>(archive_entry_size(entry)), '\0');
    EXPECT_EQ(archive_read_data(reader, data.data(), data.size()),
              static_cast<la_ssize_t>(data.size()));
    members[archive_entry_pathname(entry)] = data;
  }
  archive_read_free(reader);
  return members;
}

// The general-purpose flags of each central directory entry, found from the end record.
std::vector<uint16_t> CentralFlags(const std::string& zip) {
  auto u16 = [&](size_t at) {
    return static_cast<uint16_t>(uint8_t(zip[at]) | uint8_t(zip[at + 1]) << 8);
  };
  auto u32 = [&](size_t at) { return uint32_t{u16(at)} | uint32_t{u16(at + 2)} << 16; };
  std::vector<uint16_t> flags;
  const size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos || end + 22 > zip.size()) return flags;
  size_t at = u32(end + 16);
  for (uint16_t n = u16(end + 10); n > 0 && at + 46 <= zip.size(); --n) {
    if (zip.compare(at, 4, std::string("PK\x01\x02", 4)) != 0) break;
    flags.push_back(u16(at + 8));
    at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
  }
  return flags;
}

std::string Noise(size_t size) {
  std::string bytes(size, '\0');
  uint32_t seed = 1;
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

class ZipExportTest : public ::testing::Test {
 protected:
  test::TempDir work_;
  fs::path set_ = work_.Path() / "set";
  fs::path zip_ = work_.Path() / "out.zip";
  // The set's files as the archive should hold them.
  Members files_ = {
      {"set.cnf", "#1 a.cel\n"},
      {"cels/a.cel", "cel a"},
      {"cels/deep/b.cel", Noise(300000)},
      {kSo + ".cel", "so"},
      {kHyou + "/" + kSo + "x.kcf", "palette"},
      {"empty.txt", ""},
  };
  // Read back as the page and the desktop read archives, in a UTF-8 locale: in the C locale of
  // the WebAssembly C library a Shift_JIS name decodes, and the reader would then take its 0x5C
  // for a folder separator.
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_ALL, kReadingLocale), nullptr);
    for (const auto& [name, data] : files_) Write(set_ / name, data);
    fs::create_directories(set_ / "no files here");
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
  static constexpr char kReadingLocale[] = "C.UTF-8";
  // Names and leftovers in `folder`, for seeing that a failure left nothing there.
  static std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ZipExportTest, EveryFileGoesInUnderItsFoldersByItsOwnBytesInAnyLocale) {
  for (const char* locale : {"C", "C.UTF-8"}) {
    // The page runs in a UTF-8 locale, where the writer would flag Shift_JIS names as UTF-8.
    ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
    const ZipExportResult result = ExportFolderZip(set_.string(), zip_.string());
    std::setlocale(LC_ALL, kReadingLocale);
    ASSERT_TRUE(result.Written) << locale << ": " << result.Error;
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(ReadZip(zip_), files_) << locale;
    std::vector<std::string> names;
    for (const auto& [name, data] : files_) names.push_back(name);
    EXPECT_EQ(result.Names, names) << "in byte order";
    const std::string zip = Read(zip_);
    EXPECT_EQ(zip.compare(0, 4, "PK\x03\x04"), 0);
    const std::vector<uint16_t> flags = CentralFlags(zip);
    ASSERT_EQ(flags.size(), files_.size()) << locale;
    for (uint16_t flag : flags) EXPECT_EQ(flag & 0x0800, 0) << locale << ": flagged as UTF-8";
    // Nothing trails the end record.
    EXPECT_EQ(zip.size() - zip.rfind(std::string("PK\x05\x06", 4)), 22u);
  }
}

TEST_F(ZipExportTest, TheProjectsExtractorFindsTheShiftJisNamesWhole) {
  ASSERT_TRUE(ExportFolderZip(set_.string(), zip_.string()).Written);
  const fs::path out = work_.Path() / "unpacked";
  fs::create_directories(out);
  const ExtractResult extracted = ExtractArchiveFlat(zip_.string(), out.string());
  ASSERT_EQ(extracted.Status, ExtractStatus::Ok) << extracted.Detail;
  EXPECT_EQ(extracted.Written, files_.size());
  // Flat, and the 0x5C inside a character is no folder separator.
  EXPECT_EQ(Read(out / (kSo + ".cel")), "so");
  EXPECT_EQ(Read(out / (kSo + "x.kcf")), "palette");
  EXPECT_EQ(Read(out / "b.cel"), files_["cels/deep/b.cel"]);
}

TEST_F(ZipExportTest, TheOutputBelowTheFolderIsNoMemberHoweverItIsSpelled) {
  Write(set_ / "export.zip", "an earlier export");
  for (const fs::path& output :
       {set_ / "export.zip", set_ / "cels" / ".." / "export.zip", set_ / "cels" / "x.zip"}) {
    const ZipExportResult result = ExportFolderZip(set_.string() + "/", output.string());
    ASSERT_TRUE(result.Written) << output << ": " << result.Error;
    Members members = ReadZip(output);
    if (output.filename() == "x.zip") members.erase("export.zip");
    EXPECT_EQ(members, files_) << output;
    fs::remove(set_ / "cels" / "x.zip");
  }
  // Nothing was left beside the output while it grew.
  EXPECT_EQ(Entries(set_),
            (std::vector<std::string>{"cels", "empty.txt", "export.zip", "no files here", "set.cnf",
                                      kSo + ".cel", kHyou}));
}

TEST_F(ZipExportTest, LinksAreNeitherMembersNorFollowed) {
  Write(work_.Path() / "outside" / "secret.cel", "not the set's");
  fs::create_directory_symlink(work_.Path() / "outside", set_ / "linked folder");
  fs::create_symlink(work_.Path() / "outside" / "secret.cel", set_ / "linked.cel");
  const ZipExportResult result = ExportFolderZip(set_.string(), zip_.string());
  ASSERT_TRUE(result.Written) << result.Error;
  EXPECT_EQ(ReadZip(zip_), files_);
  // The folder itself may be reached through a link.
  fs::create_directory_symlink(set_, work_.Path() / "set link");
  ASSERT_TRUE(ExportFolderZip((work_.Path() / "set link").string(), zip_.string()).Written);
  EXPECT_EQ(ReadZip(zip_), files_);
}

TEST_F(ZipExportTest, AFailureNamesItsFileAndLeavesTheOutputAsItWas) {
  // No folder.
  ZipExportResult result = ExportFolderZip((work_.Path() / "missing").string(), zip_.string());
  EXPECT_FALSE(result.Written);
  EXPECT_NE(result.Error.find("missing"), std::string::npos) << result.Error;
  EXPECT_FALSE(fs::exists(zip_));
  // An output that cannot be made.
  const fs::path nowhere = work_.Path() / "no such folder" / "out.zip";
  result = ExportFolderZip(set_.string(), nowhere.string());
  EXPECT_FALSE(result.Written);
  EXPECT_NE(result.Error.find(nowhere.string()), std::string::npos) << result.Error;
  EXPECT_TRUE(result.Names.empty());
  // A member that cannot be read, after others went in: the earlier output stays whole.
  Write(zip_, "an earlier export");
  ::chmod((set_ / "cels" / "deep" / "b.cel").c_str(), 0);
  {
    test::PermissionsApply permissions;
    ASSERT_TRUE(permissions.Active());
    result = ExportFolderZip(set_.string(), zip_.string());
  }
  EXPECT_FALSE(result.Written);
  EXPECT_NE(result.Error.find("cels/deep/b.cel"), std::string::npos) << result.Error;
  EXPECT_EQ(Read(zip_), "an earlier export");
  EXPECT_EQ(Entries(work_.Path()), (std::vector<std::string>{"out.zip", "set"}));
}

TEST_F(ZipExportTest, AFolderTooDeepIsRefusedAndAnEmptyOneIsAnEmptyArchive) {
  fs::path deep = set_;
  for (int32_t i = 0; i < kMaxExportDepth; ++i) deep /= "d";
  Write(deep / "x.cel", "x");
  const ZipExportResult result = ExportFolderZip(set_.string(), zip_.string());
  EXPECT_FALSE(result.Written);
  EXPECT_NE(result.Error.find("too deep"), std::string::npos) << result.Error;
  EXPECT_FALSE(fs::exists(zip_));

  const fs::path empty = work_.Path() / "empty";
  fs::create_directories(empty);
  ASSERT_TRUE(ExportFolderZip(empty.string(), zip_.string()).Written);
  EXPECT_TRUE(ReadZip(zip_).empty());
}

}  // namespace
}  // namespace tavro
