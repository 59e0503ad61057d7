// A cancelled open, wherever it stops, leaves nothing behind. (The window's test shows that an
// open that is not stopped says what it said before.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/CTavroDoc.h"
#include "support/FakeHost.h"
#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {
namespace {

// Counts the steps; stops at the given member or cel (0: never).
struct StopAt : OpenProgress {
  uint32_t Member = 0, Members = 0;
  int32_t Cel = 0, Cels = 0;
  void MembersUnpacked(uint32_t count) override { Members = count; }
  void CelsLoaded(int32_t loaded, int32_t) override { Cels = loaded; }
  bool Cancelled() const override {
    return (Member != 0 && Members == Member) || (Cel != 0 && Cels == Cel);
  }
};

// Stopped while unpacking, or while loading an archive's cels or a loose file's, each merging
// (Shift) into what an earlier open unpacked: nothing shown or said, no step after the one that
// stopped, the temporary folder gone, and the next open starts afresh.
TEST(OpenProgressTest, CancelAnywhereLeavesAnEmptyDocument) {
  test::TempDir work, tmp;
  test::FakeHost host;
  host.TmpDir = tmp.Str();
  const test::SetFiles files{work.Path()};
  const std::string config = "%pal.kcf\n#0 a.cel\n#1 \x95\x5C.cel\n#2 b.cel\n";
  const test::Bytes palette = test::EncodeOldPalette({{{10, 20, 30}}});
  const test::Bytes celFile = test::EncodeOldCel(4, 4, std::vector<uint8_t>(16, 2));
  std::ofstream archive(files.Path("doll.lzh"), std::ios::binary);
  archive << test::StoredLzhMember("pal.kcf", {palette.begin(), palette.end()});
  for (const char* name : {"a.cel", "\x95\x5C.cel", "b.cel"}) {
    files.Write(name, celFile);
    archive << test::StoredLzhMember(name, {celFile.begin(), celFile.end()});
  }
  archive << test::StoredLzhMember("doll.cnf", config) << '\0';
  archive.close();
  std::filesystem::copy_file(files.Path("doll.lzh"), files.Path("copy.lzh"));
  files.Write("pal.kcf", palette);
  files.WriteText("plain.cnf", config);

  for (const auto& [file, member, cel] :
       {std::tuple{"copy.lzh", 2u, 0}, {"copy.lzh", 0u, 1}, {"plain.cnf", 0u, 2}}) {
    SCOPED_TRACE(file + std::to_string(member) + std::to_string(cel));
    CTavroDoc doc(host);
    ASSERT_TRUE(doc.OnOpenDocument(files.Path("doll.lzh")).Opened);
    StopAt progress;
    progress.Member = member;
    progress.Cel = cel;
    const int shown = host.NewSetsShowing;
    const OpenResult result = doc.OnOpenDocument(files.Path(file), {true, {}}, progress);
    EXPECT_EQ(host.NewSetsShowing, shown);  // the half-read set never ran its events
    EXPECT_TRUE(result.Cancelled && !result.Opened && result.RecentFile.empty());
    EXPECT_TRUE(result.Messages.empty());
    EXPECT_FALSE(doc.IsSetLoaded() || doc.Archive().Extracted());
    EXPECT_TRUE(std::filesystem::is_empty(tmp.Path()));
    EXPECT_EQ(progress.Members, member != 0 ? member : 5 * std::string(file).ends_with("lzh"));
    EXPECT_EQ(progress.Cels, cel);
    EXPECT_TRUE(doc.OnOpenDocument(files.Path(file)).Opened);
    EXPECT_EQ(doc.LastLoad().LoadedCels, 3);
  }
}

}  // namespace
}  // namespace tavro
