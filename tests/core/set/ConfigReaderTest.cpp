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
  DollSet Set;
  LoadProblems Reported;
  std::vector<std::string> Calls;
  int32_t Errors = 0;

  DollSet& SetBeingLoaded() override { return Set; }
  LoadProblems& Problems() override { return Reported; }
  void AddLoadErrors(int32_t bits) override { Errors |= bits; }
  int32_t LoadCel(CellEntry& cell) override {
    Calls.push_back("cel " + std::string(cell.FileName) + " in " + std::to_string(cell.SetMask));
    return cell.FileName[0] == 'x' ? kErrCelNotLoadable : 0;
  }
  void LoadPalette(const char* name, int32_t number) override {
    Calls.push_back("palette " + std::string(name) + " " + std::to_string(number));
  }
  void AskForTrueColour() override { Calls.push_back("true colour"); }
  void BeginScripts(const char*, const char*) override { Calls.push_back("scripts"); }
  void ParseScriptLine(const char*& cursor, const char*, const char*) override {
    Calls.push_back("script " + std::string(cursor));
    cursor += std::string(cursor).size();
  }
};

TEST(ConfigReaderTest, HandsEachLineToItsPartInOrderAndKeepsPositionsItself) {
  CallLog target;
  const std::string text =
      "(80,60)\n%a.kcf\n#1.5 body.cel *0 :0 2 ;%t128\n#2 xhat.cel\n;@begin()\n$3 4,5 *\n 6,7\n";
  target.Set.TakeConfigText(std::vector<char>(text.begin(), text.end()));
  ASSERT_TRUE(target.Set.MakeTables());
  ConfigReader(target.Set).LoadLines(target);

  // The ";%t" remark is read before its cel is decoded, so the cel meets the form it asks for.
  EXPECT_EQ(target.Calls, (std::vector<std::string>{"scripts", "palette a.kcf 0", "true colour",
                                                    "cel body.cel in 5", "cel xhat.cel in 65535",
                                                    "script begin()\n"}));
  EXPECT_EQ(target.Errors, kErrCelNotLoadable);
  EXPECT_EQ(target.Set.PlayfieldWidth(), 80);
  EXPECT_EQ(target.Set.CellCount(), 2);
  EXPECT_EQ(target.Set.GroupOfSet(0), 3);
  const ObjectEntry& second = target.Set.ObjectTable()[target.Set.SlotOf(2)];
  EXPECT_EQ(second.SetX[0], 6);  // the continuation goes on at object 2
  EXPECT_EQ(second.SetY[0], 7);
}

}  // namespace
}  // namespace tavro
