// What a long open tells its progress, and what a cancelled one leaves behind.
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

namespace fs = std::filesystem;

// Records every step; asks to stop at the given member or cel (0: never).
class ScriptedProgress : public OpenProgress {
 public:
  uint32_t stopAtMember = 0;
  int32_t stopAtCel = 0;
  std::vector<uint32_t> members;
  std::vector<std::pair<int32_t, int32_t>> cels;
  bool stop = false;

  void MembersUnpacked(uint32_t count) override {
    members.push_back(count);
    stop = stop || count == stopAtMember;
  }
  void CelsLoaded(int32_t loaded, int32_t total) override {
    cels.emplace_back(loaded, total);
    stop = stop || loaded == stopAtCel;
  }
  bool Cancelled() const override { return stop; }
};

std::string Text(const test::Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

class OpenProgressTest : public ::testing::Test {
 protected:
  test::TempDir work;
  test::TempDir tmp;
  test::FakeHost host;
  test::SetFiles files{work.path()};

  // Three cels in the archive, a fourth line naming one it lacks; a Shift_JIS name among them.
  const std::string config =
      "(40,30)\n%pal.kcf\n#0 a.cel\n#1 \x95\x5C.cel\n; #9 not a line\n"
      "#2 b.cel\n#3 gone.cel\n$0 *\n";

  void SetUp() override {
    host.TmpDir = tmp.str();
    std::vector<test::Rgb> ramp(16, {10, 20, 30});
    const std::string cel = Text(test::EncodeOldCel(4, 4, std::vector<uint8_t>(16, 2)));
    std::ofstream(files.Path("doll.lzh"), std::ios::binary)
        << test::StoredLzhMember("pal.kcf", Text(test::EncodeOldPalette({ramp})))
        << test::StoredLzhMember("a.cel", cel) << test::StoredLzhMember("\x95\x5C.cel", cel)
        << test::StoredLzhMember("b.cel", cel) << test::StoredLzhMember("doll.cnf", config)
        << std::string(1, '\0');
    fs::copy_file(files.Path("doll.lzh"), files.Path("copy.lzh"));
    files.Write("pal.kcf", test::EncodeOldPalette({ramp}));
    for (const char* name : {"a.cel", "\x95\x5C.cel", "b.cel"}) files.WriteText(name, cel);
    files.WriteText("plain.cnf", config);
  }
  std::string Path(const std::string& name) { return files.Path(name).string(); }
};

TEST_F(OpenProgressTest, StepsAreReportedAndTheResultIsTheSame) {
  CTavroDoc quiet(host);
  const OpenResult expected = quiet.OnOpenDocument(Path("doll.lzh"));
  ASSERT_TRUE(expected.Opened);
  ASSERT_EQ(expected.Messages, std::vector<std::string>{"can't load cell file and ignored"});

  CTavroDoc watched(host);
  ScriptedProgress progress;
  const OpenResult result = watched.OnOpenDocument(Path("doll.lzh"), {}, progress);
  EXPECT_TRUE(result.Opened);
  EXPECT_FALSE(result.Cancelled);
  EXPECT_EQ(result.Messages, expected.Messages);
  EXPECT_EQ(result.RecentFile, expected.RecentFile);
  EXPECT_EQ(watched.LastLoad().LoadedCels, 3);
  EXPECT_EQ(progress.members, (std::vector<uint32_t>{1, 2, 3, 4, 5}));
  const std::vector<std::pair<int32_t, int32_t>> cels{{1, 4}, {2, 4}, {3, 4}, {4, 4}};
  EXPECT_EQ(progress.cels, cels);
}

// Stopped while unpacking, while loading an archive's cels or a plain file's, each merging (Shift)
// into what an earlier open unpacked: nothing is shown, nothing said, nothing left in the
// temporary folder, and the next open starts afresh.
TEST_F(OpenProgressTest, CancelAnywhereLeavesAnEmptyDocument) {
  struct Case {
    const char* file;
    uint32_t stopAtMember;
    int32_t stopAtCel;
  };
  for (const Case& c : {Case{"copy.lzh", 2, 0}, Case{"copy.lzh", 0, 1}, Case{"plain.cnf", 0, 2}}) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.stopAtMember) + "/" +
                 std::to_string(c.stopAtCel));
    CTavroDoc doc(host);
    ASSERT_TRUE(doc.OnOpenDocument(Path("doll.lzh")).Opened);
    ScriptedProgress progress;
    progress.stopAtMember = c.stopAtMember;
    progress.stopAtCel = c.stopAtCel;
    const OpenResult result = doc.OnOpenDocument(Path(c.file), {true, {}}, progress);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Opened);
    EXPECT_TRUE(result.Messages.empty());
    EXPECT_TRUE(result.RecentFile.empty());
    EXPECT_FALSE(doc.IsSetLoaded());
    EXPECT_EQ(doc.LastLoad().LoadedCels, 0);
    EXPECT_FALSE(doc.Archive().Extracted());
    EXPECT_TRUE(fs::is_empty(tmp.path()));
    // No step after the one that asked to stop.
    if (c.stopAtMember != 0) {
      EXPECT_EQ(progress.members.back(), c.stopAtMember);
    } else {
      EXPECT_EQ(progress.cels.back().first, c.stopAtCel);
    }

    const OpenResult again = doc.OnOpenDocument(Path(c.file));
    EXPECT_TRUE(again.Opened);
    EXPECT_EQ(doc.LastLoad().LoadedCels, 3);
  }
}

}  // namespace
}  // namespace tavro
