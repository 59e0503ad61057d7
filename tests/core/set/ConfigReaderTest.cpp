// The reader against a target of its own: what it hands on, in the order of the lines, and what
// it keeps in the set itself. No cel, palette or script code is involved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "set/ConfigReader.h"
#include "set/DollSet.h"

namespace tavro {
namespace {

class CallLog final : public ConfigLoadTarget {
 public:
  DollSet set;
  LoadProblems problems;
  std::vector<std::string> calls;
  int32_t errors = 0;

  DollSet& SetBeingLoaded() override { return set; }
  LoadProblems& Problems() override { return problems; }
  void AddLoadErrors(int32_t bits) override { errors |= bits; }
  int32_t LoadCel(CellEntry& cell) override {
    calls.push_back("cel " + std::string(cell.FileName) + " in " + std::to_string(cell.SetMask));
    return cell.FileName[0] == 'x' ? kErrCelNotLoadable : 0;
  }
  void LoadPalette(const char* name, int32_t number) override {
    calls.push_back("palette " + std::string(name) + " " + std::to_string(number));
  }
  void AskForTrueColour() override { calls.push_back("true colour"); }
  void BeginScripts(const char*, const char*) override { calls.push_back("scripts"); }
  void ParseScriptLine(const char*& cursor, const char*, const char*) override {
    calls.push_back("script " + std::string(cursor));
    cursor += std::string(cursor).size();
  }
};

TEST(ConfigReaderTest, HandsEachLineToItsPartInOrderAndKeepsPositionsItself) {
  CallLog target;
  const std::string text =
      "(80,60)\n%a.kcf\n#1.5 body.cel *0 :0 2 ;%t128\n#2 xhat.cel\n;@begin()\n$3 4,5 *\n 6,7\n";
  target.set.TakeConfigText(std::vector<char>(text.begin(), text.end()));
  ASSERT_TRUE(target.set.MakeTables());
  ConfigReader(target.set).LoadLines(target);

  // The ";%t" remark is read before its cel is decoded, so the cel meets the form it asks for.
  EXPECT_EQ(target.calls, (std::vector<std::string>{"scripts", "palette a.kcf 0", "true colour",
                                                    "cel body.cel in 5", "cel xhat.cel in 65535",
                                                    "script begin()\n"}));
  EXPECT_EQ(target.errors, kErrCelNotLoadable);
  EXPECT_EQ(target.set.PlayfieldWidth(), 80);
  EXPECT_EQ(target.set.CellCount(), 2);
  EXPECT_EQ(target.set.GroupOfSet(0), 3);
  const ObjectEntry& second = target.set.ObjectTable()[target.set.SlotOf(2)];
  EXPECT_EQ(second.SetX[0], 6);  // the continuation goes on at object 2
  EXPECT_EQ(second.SetY[0], 7);
}

}  // namespace
}  // namespace tavro
