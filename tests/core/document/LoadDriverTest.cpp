#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/LoadFixture.h"
#include "scripts/ScriptCodes.h"

namespace tavro {
namespace {

using Texts = std::vector<std::string>;

class LoadDriverTest : public test::LoadFixture {
 protected:
  void ExpectEmptyDocument() {
    EXPECT_FALSE(doc_.IsSetLoaded());
    EXPECT_TRUE(doc_.Set().ConfigText().empty());
    EXPECT_TRUE(doc_.Set().CellTable().empty());
    EXPECT_TRUE(doc_.Set().ObjectTable().empty());
    EXPECT_TRUE(doc_.Map().Bytes().empty());
    EXPECT_EQ(host_.NewSetsShowing, 0);
    EXPECT_EQ(host_.WholeViewInvalidations, 0);
  }
};

TEST_F(LoadDriverTest, FilesThatGiveNothingLeaveTheDocumentEmptyWithoutAWord) {
  for (const std::string text : {"", "; only a comment\n;another\n", "#0 a.cel", "\r\r\r"}) {
    SCOPED_TRACE(text);
    Load(text);
    ExpectEmptyDocument();
    EXPECT_TRUE(LoadMessages().empty());
  }
}

TEST_F(LoadDriverTest, ASetWithCelsIsAnnouncedAndShownFromSetZero) {
  const std::string text = "(640,400\n#0 a.cel :0\n#1 b.cel :1\n$0 1,1 2,2\n";
  Load(text);
  EXPECT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(host_.NewSetsShowing, 1);
  EXPECT_EQ(doc_.Set().CurrentSet(), 0);
  EXPECT_EQ(doc_.Pointer().Bounds(), (MapRect{0, 0, 639, 399}));
  EXPECT_EQ(host_.WholeViewInvalidations, 1);
  ASSERT_EQ(doc_.Set().ConfigTextLength(), static_cast<int32_t>(text.size()));
  EXPECT_EQ(std::string(doc_.Set().ConfigText().data()), text);  // as read, with a zero after it
}

TEST_F(LoadDriverTest, EachKindOfProblemIsReportedOnceWithAnExclamation) {
  std::string text;
  for (int i = 0; i < 200; ++i)
    text += "#" + std::to_string(i) + " missing" + std::to_string(i) + ".cel\n";
  Load(text);
  EXPECT_EQ(LoadMessages(), Texts{"can't load cell file and ignored"});
  EXPECT_EQ(doc_.Set().CellCount(), 200);
  EXPECT_TRUE(doc_.IsSetLoaded());  // cels that failed still make a set to show
}

TEST_F(LoadDriverTest, MissingCelsAreReportedBeforeOversizedOnes) {
  files_.SolidCel("wide.cel", 449, 1, 1);
  files_.SolidCel("edge.cel", 448, 320, 1);
  Load("#0 wide.cel\n#1 missing.cel\n#2 edge.cel\n#2000 edge.cel\n");
  EXPECT_EQ(LoadMessages(), (Texts{"bad cell and ignored", "can't load cell file and ignored",
                                   "too large cell and ignored"}));
  EXPECT_EQ(doc_.LastLoad().LoadedCels, 1);  // a cel ending exactly at the edge fits
}

TEST_F(LoadDriverTest, APaletteAloneShowsAnEmptyPlayfield) {
  files_.OldPalette("colours.kcf");
  Load("%colours.kcf\n");
  ASSERT_EQ(doc_.Set().Palettes().ColourCount, 16);
  EXPECT_TRUE(doc_.IsSetLoaded());
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 448);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 320);
  EXPECT_TRUE(LoadMessages().empty());
}

TEST_F(LoadDriverTest, ALoadReplacesTheWholePreviousSet) {
  Load("#5.3 a.cel :1\n#9 b.cel\n$2 1,1\n");
  Load("#9.1 c.cel :4\n");
  EXPECT_EQ(doc_.Set().CellCount(), 1);
  EXPECT_EQ(doc_.Set().ObjectCount(), 10);
  EXPECT_EQ(doc_.Set().SlotOf(9), 1);  // slots are handed out afresh
  EXPECT_EQ(doc_.Set().SlotOf(5), 0);
  EXPECT_EQ(Object(9).FixTotal, 1);
  EXPECT_EQ(Object(9).SetX[0], 0);
  EXPECT_EQ(doc_.Set().GroupOfSet(0), 0);
  EXPECT_EQ(SetsInUse(), std::vector<int>{4});
}

TEST_F(LoadDriverTest, ScriptLinesOfANewFileStartAtInitialize) {
  // Both texts have the same length, so the second is likely to land where the first was, and
  // its script line lies further in: nothing but the load driver can tell a new file began.
  files_.SolidCel("a.cel", 1, 1, 1);
  const std::string padding = ";" + std::string(200, '-') + "\n";
  Load("#0 a.cel\n;@press(#0)\n" + padding);
  Load("#0 a.cel\n" + padding + ";@debug(\"x\")\n");
  EXPECT_EQ(LoadMessages(), Texts{"x"});  // run by "initialize(", not bound to "press("
}

TEST_F(LoadDriverTest, AnOpenPutsDefaultsFirstAndAFailedReadKeepsTablesAndText) {
  Load("(800,600\n#0 a.cel :3 ;%T9\n$5\n");
  build_.Current(doc_.Set().CurrentSet(), 4);
  build_.ColourCount(16);
  build_.PaletteBase(3, 7);
  build_.Colour(2, 5, 9, 0, 0);
  doc_.EditMap().MarkDirty({1, 2, 3, 4});
  EXPECT_FALSE(OpenAsWindow(doc_, host_, files_.Path("missing.cnf").string()).Opened);
  EXPECT_EQ(doc_.Set().CellCount(), 0);
  EXPECT_EQ(doc_.Set().ObjectCount(), 0);
  EXPECT_EQ(doc_.Set().Palettes().ColourCount, 0);
  EXPECT_EQ(doc_.Set().CurrentGroup(), 0);
  EXPECT_FALSE(doc_.IsSetLoaded());
  EXPECT_EQ(doc_.Set().CurrentSet(), 255);
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 448);
  EXPECT_EQ(doc_.Set().PlayfieldHeight(), 320);
  EXPECT_FALSE(doc_.Map().TrueColourMode());
  EXPECT_EQ(doc_.Set().Palettes().PaletteBase[3], 0);
  EXPECT_EQ(doc_.Set().Palettes().GroupColour(2, 5).Red, 0);
  EXPECT_EQ(doc_.Set().GroupOfSet(0), 0);
  EXPECT_EQ(SetsInUse(), std::vector<int>{});
  EXPECT_FALSE(doc_.Map().Dirty());
  EXPECT_TRUE(doc_.Map().DirtyArea().IsEmpty());
  EXPECT_FALSE(doc_.Set().CellTable().empty());
  EXPECT_FALSE(doc_.Set().ConfigText().empty());
}

TEST_F(LoadDriverTest, ANewDocumentFreesTheSetButNotTheScriptBlock) {
  files_.SolidCel("a.cel", 4, 4, 1);
  Load("#0 a.cel\n#3000 b.cel\n");
  ASSERT_EQ(doc_.LastLoad().LoadedCels, 1);
  build_.Pixels(0, std::vector<uint8_t>(16, 1));
  build_.Pixels(1500, std::vector<uint8_t>(16, 1));  // beyond CellCount, still freed
  ASSERT_TRUE(doc_.Scripts().AppendAction(kEventPress, 1, kActionMap, TargetArgument{1}));
  ComposedMap map;
  map.SetSize(8, 8);
  map.Allocate(/*trueColour=*/true);
  map.Backdrop().Pixels.assign(64, 1);
  doc_.EditMap() = std::move(map);
  EXPECT_TRUE(doc_.OnNewDocument());
  EXPECT_FALSE(doc_.IsSetLoaded());
  EXPECT_TRUE(doc_.Set().CellTable().empty());
  EXPECT_TRUE(doc_.Set().ObjectTable().empty());
  EXPECT_TRUE(doc_.Map().Bytes().empty());
  EXPECT_EQ(doc_.Map().Backdrop().Pixels.capacity(), 0u);
  EXPECT_EQ(doc_.Set().SlotOf(0), 0);
  EXPECT_EQ(doc_.Set().SlotOf(3000), 0);
  EXPECT_TRUE(doc_.Scripts().Actions().empty());
  EXPECT_EQ(doc_.Scripts().ActionStoreBytes(), 0u);
  EXPECT_EQ(doc_.LastLoad().LoadedCels, 0);
}

TEST_F(LoadDriverTest, NewDocumentIsEmptyWithDefaults) {
  Load("(800,600\n#0 a.cel\n");
  EXPECT_TRUE(doc_.OnNewDocument());
  EXPECT_TRUE(doc_.Set().CellTable().empty());
  EXPECT_FALSE(doc_.IsSetLoaded());
  EXPECT_EQ(doc_.Set().PlayfieldWidth(), 448);
  EXPECT_EQ(doc_.Set().CurrentSet(), 255);
}

}  // namespace
}  // namespace tavro
