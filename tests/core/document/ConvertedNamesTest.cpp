// A Shift_JIS set whose files an unpacker has renamed into UTF-8, and a UTF-8 configuration whose
// files kept their Shift_JIS names: both load as the original does, and the report says which
// files were found by the converted name.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

// 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a backslash byte; 体 is 0x91 0xCC; 十 (0x8F 0x5C)
// names a folder.
struct Name {
  std::string ShiftJis, Utf8;
};
const Name kFolder = {"\x8F\x5C", "\xE5\x8D\x81"};           // 十
const Name kBody = {"\x91\xCC.cel", "\xE4\xBD\x93.cel"};     // 体.cel
const Name kTable = {"\x95\x5C.CEL", "\xE8\xA1\xA8.cel"};    // 表.cel, written in capitals
const Name kPalette = {"\x83\x5C.kcf", "\xE3\x82\xBD.kcf"};  // ソ.kcf
const Name kHat = {"\x90\x6C.cel", "\xE4\xBA\xBA.cel"};      // 人.cel, in the folder

struct LoadedSet {
  std::vector<uint8_t> Pixels;
  std::vector<std::string> Problems;
  int32_t LoadedCels = 0;
  std::string Messages;
};

// Writes the set into `folder` under the names `pick` chooses, with its configuration naming
// the files as `written` chooses, and loads it.
template <typename Pick, typename Written>
LoadedSet WriteAndLoad(const fs::path& folder, Pick pick, Written written) {
  fs::create_directories(folder / pick(kFolder));
  const test::SetFiles files(folder);
  files.OldPalette(pick(kPalette));
  files.Write(pick(kBody), test::EncodeIndexedCel(8, 6, 4, 0, 0, std::vector<uint8_t>(24, 3)));
  files.Write(pick(kTable).substr(0, pick(kTable).size() - 4) + ".cel",
              test::EncodeIndexedCel(8, 2, 2, 1, 1, {5, 6, 7, 8}));
  files.SolidCel(pick(kFolder) + "/" + pick(kHat), 3, 1, 9);
  files.WriteText("set.cnf", "(10,8)\n%" + written(kPalette) + "\n#0 " + written(kBody) +
                                 " :0\n#1 " + written(kTable) + " :0\n#2 " + written(kFolder) +
                                 "\\" + written(kHat) + " :0\n$0 0,0 2,2 4,5\n");
  test::FakeHost host;
  CTavroDoc doc(host);
  EXPECT_TRUE(test::OpenAsWindow(doc, host, (folder / "set.cnf").string()).Opened);
  LoadedSet loaded;
  loaded.Pixels = doc.Map().Bytes();
  const RgbQuad* colours = doc.Map().Colours().data();
  const auto* colourBytes = reinterpret_cast<const uint8_t*>(colours);
  loaded.Pixels.insert(loaded.Pixels.end(), colourBytes, colourBytes + 16 * sizeof(RgbQuad));
  for (const LoadProblem& problem : doc.LastLoad().Problems.All()) {
    loaded.Problems.push_back(std::to_string(problem.Line) + ": " + ProblemKindName(problem.Kind) +
                              ": " + problem.Detail);
  }
  loaded.LoadedCels = doc.LastLoad().LoadedCels;
  for (const std::string& text : host.MessageTexts()) loaded.Messages += text + "\n";
  return loaded;
}

TEST(ConvertedNames, AShiftJisSetUnpackedInUtf8LoadsAsTheOriginalAndTheReportSaysSo) {
  test::TempDir work;
  const auto shiftJis = [](const Name& name) { return name.ShiftJis; };
  const auto utf8 = [](const Name& name) { return name.Utf8; };
  const LoadedSet original = WriteAndLoad(work.Path() / "sjis", shiftJis, shiftJis);
  ASSERT_EQ(original.LoadedCels, 3) << original.Messages;
  EXPECT_TRUE(original.Problems.empty());

  const LoadedSet unpacked = WriteAndLoad(work.Path() / "utf8", utf8, shiftJis);
  EXPECT_EQ(unpacked.LoadedCels, 3) << unpacked.Messages;
  EXPECT_EQ(unpacked.Messages, "") << "no message of the load changes";
  EXPECT_EQ(unpacked.Pixels, original.Pixels);
  const std::string toUtf8 = ", its name converted from Shift_JIS to UTF-8";
  EXPECT_EQ(unpacked.Problems,
            (std::vector<std::string>{
                "2: found by converted name: \"" + kPalette.ShiftJis + "\" is there as \"" +
                    kPalette.Utf8 + "\"" + toUtf8,
                "3: found by converted name: \"" + kBody.ShiftJis + "\" is there as \"" +
                    kBody.Utf8 + "\"" + toUtf8,
                // Converted as written, then found in any letter case.
                "4: found by converted name: \"" + kTable.ShiftJis + "\" is there as \"" +
                    kTable.Utf8.substr(0, 3) + ".CEL\"" + toUtf8,
                // The folder separator stays one; the 0x5C inside 十 is no separator.
                "5: found by converted name: \"" + kFolder.ShiftJis + "\\" + kHat.ShiftJis +
                    "\" is there as \"" + kFolder.Utf8 + "/" + kHat.Utf8 + "\"" + toUtf8}));

  // The other way round: a configuration written in UTF-8 beside Shift_JIS files.
  const LoadedSet reversed = WriteAndLoad(work.Path() / "reversed", shiftJis, utf8);
  EXPECT_EQ(reversed.LoadedCels, 3) << reversed.Messages;
  EXPECT_EQ(reversed.Pixels, original.Pixels);
  ASSERT_EQ(reversed.Problems.size(), 4u);
  EXPECT_NE(reversed.Problems[0].find("from UTF-8 to Shift_JIS"), std::string::npos);
}

TEST(ConvertedNames, AFileMissingInBothEncodingsSaysWhichNamesWereTried) {
  test::TempDir work;
  const test::SetFiles files(work.Path());
  files.WriteText("set.cnf", "(10,8)\n#0 " + kBody.ShiftJis + " :0\n$0 0,0\n");
  test::FakeHost host;
  CTavroDoc doc(host);
  ASSERT_TRUE(test::OpenAsWindow(doc, host, files.Path("set.cnf").string()).Opened);
  ASSERT_EQ(doc.LastLoad().Problems.All().size(), 1u);
  EXPECT_EQ(doc.LastLoad().Problems.All()[0].Detail,
            "\"" + kBody.ShiftJis + "\" not found; tried \"" + kBody.ShiftJis +
                "\", converted, \"" + kBody.Utf8 + "\" in the set's folder, in any letter case");
}

}  // namespace
}  // namespace tavro
