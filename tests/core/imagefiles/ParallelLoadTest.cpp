// Cels decode on several threads while a set loads, but nothing the load shows or records may
// depend on which thread finished first: a set full of missing, bad, too large and
// converted-name cels, loaded again and again, gives the messages, the report and the cels the
// lines call for, in line order, every time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/LoadFixture.h"

namespace tavro {
namespace {

class ParallelLoadTest : public test::LoadFixture {
 protected:
  // Appends one line and the problems it should record ("line: kind"); `loads` says whether its
  // cel gets pixels.
  void Line(const std::string& text, std::vector<ProblemKind> kinds, bool loads) {
    config_ += text + "\n";
    ++lines_;
    for (const ProblemKind kind : kinds) {
      expected_.push_back(std::to_string(lines_) + ": " + ProblemKindName(kind));
    }
    if (text[0] == '#') loads_.push_back(loads);
  }

  // One problem a line of text, so that a failure shows where the lists part.
  std::string Recorded() const {
    std::string recorded;
    for (const LoadProblem& problem : doc_.LastLoad().Problems.All()) {
      recorded += std::to_string(problem.Line) + ": " + ProblemKindName(problem.Kind) + "\n";
    }
    return recorded;
  }
  std::string Expected() const {
    std::string expected;
    for (const std::string& line : expected_) expected += line + "\n";
    return expected;
  }

  std::string config_;
  int lines_ = 0;
  std::vector<std::string> expected_;
  std::vector<bool> loads_;
};

TEST_F(ParallelLoadTest, FailingCelsReportTheSameInLineOrderOnEveryLoad) {
  files_.OldPalette("pal.kcf");
  Line("%pal.kcf", {}, false);
  const test::Bytes badHeader = {'M', 'i', 'V', 'O', 0x22, 8, 0, 0, 4, 0, 2, 0, 0, 0, 0, 0,
                                 0,   0,   0,   0,   0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 150; ++i) {
    const std::string n = std::to_string(i);
    const std::string object = "#" + n + " ";
    if (i == 75) Line("%nopal.kcf", {ProblemKind::PaletteNotFound}, false);
    switch (i % 6) {
      case 0:
        files_.SolidCel("g" + n + ".cel", 1 + i % 17, 2, 3);
        Line(object + "g" + n + ".cel :0", {}, true);
        break;
      case 1:
        Line(object + "m" + n + ".cel :0", {ProblemKind::CelNotFound}, false);
        break;
      case 2:
        files_.Write("b" + n + ".cel", badHeader);
        Line(object + "b" + n + ".cel :0", {ProblemKind::BadCel}, false);
        break;
      case 3:
        files_.Write("t" + n + ".cel", test::EncodeIndexedCel(8, 20, 2, 440, 0, {}));
        Line(object + "t" + n + ".cel :0", {ProblemKind::CelTooLarge}, false);
        break;
      case 4: {
        // Written in Shift_JIS ("\x83\x5C" ends in a backslash byte), stored in UTF-8.
        const bool good = i % 12 == 4;
        files_.Write("\xE3\x82\xBD" + n + ".cel",
                     good ? test::EncodeOldCel(2, 2, {1, 2, 3, 4}) : badHeader);
        std::vector<ProblemKind> kinds{ProblemKind::ConvertedName};
        if (!good) kinds.push_back(ProblemKind::BadCel);
        Line(object + "\x83\x5C" + n + ".cel :0", kinds, good);
        break;
      }
      default:
        Line("#2000 o" + n + ".cel :0", {ProblemKind::BadCel}, false);
        break;
    }
  }
  // One physical line read as two cel lines: its problems keep the order of the two.
  const std::string first = "#1 la.cel :0 ;";
  Line(first + std::string(255 - first.size(), 'x') + "#2 lb.cel :0",
       {ProblemKind::LongLine, ProblemKind::CelNotFound, ProblemKind::CelNotFound}, false);
  loads_.push_back(false);

  for (int run = 0; run < 25; ++run) {
    SCOPED_TRACE("load " + std::to_string(run));
    Load(config_);
    EXPECT_EQ(LoadMessages(),
              (std::vector<std::string>{"palette file (nopal.kcf) is not found",
                                        "bad cell and ignored", "can't load cell file and ignored",
                                        "too large cell and ignored"}));
    ASSERT_EQ(Recorded(), Expected());
    const auto& last = doc_.LastLoad().Problems.All().back();
    EXPECT_NE(last.Detail.find("lb.cel"), std::string::npos) << last.Detail;
    ASSERT_EQ(doc_.Set().CellCount(), static_cast<int32_t>(loads_.size()));
    int loaded = 0;
    for (size_t c = 0; c < loads_.size(); ++c) {
      const CellEntry& cell = doc_.Set().CellTable()[c];
      EXPECT_EQ(!cell.Pixels.empty(), loads_[c]) << "cel " << c;
      EXPECT_EQ(cell.SetMask != 0, loads_[c]) << "cel " << c;
      loaded += loads_[c] ? 1 : 0;
    }
    EXPECT_EQ(doc_.LastLoad().LoadedCels, loaded);
  }
}

}  // namespace
}  // namespace tavro
