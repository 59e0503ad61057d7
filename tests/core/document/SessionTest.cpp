// The session as every front end drives it: the open's two steps, the drag's life and the key
// rules, each written once here and tested once here.
#include <gtest/gtest.h>

#include <functional>

#include "document/DocumentSession.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

// A 20 x 10 playfield: a 4 x 4 body in sets 0 and 1, a 2 x 2 eye in set 0 only, a 2 x 2 fixed
// button (fix 32) in set 0.
constexpr char kSet[] =
    "(20,10)\n%p.kcf\n#1 eye.cel :0\n#0 body.cel :0 1\n#2.32 button.cel :0\n"
    "$0 1,1 2,2 12,6\n$1 6,2 7,3\n";

// The front end's side: the "debug(" texts as the script shows them, and what a test does
// while one is open (the box took the pointer, say).
class BoxFrontEnd : public FakeHost {
 public:
  std::function<void()> WhileBoxOpen;
  void ShowDebugText(const std::string& text) override {
    FakeHost::ShowDebugText(text);
    if (WhileBoxOpen) WhileBoxOpen();
  }
};

class SessionTest : public ::testing::Test {
 protected:
  BoxFrontEnd host_;
  DocumentSession session_{host_, host_};
  const CTavroDoc& doc_ = session_.Doc();
  FixOverrideState fix_;
  TempDir dir_;
  SetFiles files_{dir_.Path()};

  void SetUp() override {
    session_.FixtureDoc().Pointer().UseFixOverride(&fix_);
    files_.OldPalette("p.kcf");
    files_.SolidCel("body.cel", 4, 4, 1);
    files_.SolidCel("eye.cel", 2, 2, 2);
    files_.SolidCel("button.cel", 2, 2, 3);
    files_.WriteText("set.cnf", kSet);
  }
  SessionChange Open(const std::string& name = "set.cnf") {
    const OpenResult opened = session_.Open(files_.Path(name).string());
    EXPECT_TRUE(opened.Opened);
    host_.Show(opened.Messages);
    return session_.StartSet();
  }
  int32_t XOf(int32_t number) const {
    return doc_.Set().ObjectTable()[doc_.Set().SlotOf(number)].X;
  }
};

TEST_F(SessionTest, TheLoadsMessagesComeBeforeTheScriptsAndItsAlarmsCountFromTheStart) {
  files_.WriteText("boxes.cnf",
                   "(20,10)\n%p.kcf\n%gone.kcf\n#0 body.cel :0\n#1 missing.cel :0\n$0 1,1 2,2\n"
                   ";@initialize() debug(\"init\") timer(1,100)\n"
                   ";@begin() debug(\"begin\")\n;@alarm(1) debug(\"alarm\")\n");
  const OpenResult opened = session_.Open(files_.Path("boxes.cnf").string());
  ASSERT_TRUE(opened.Opened);
  EXPECT_TRUE(host_.Messages.empty()) << "no script ran while the set was read";
  EXPECT_TRUE(session_.AwaitsStart());
  EXPECT_FALSE(doc_.IsSetLoaded()) << "loading: paints and timer passes find nothing to do";
  host_.Show(opened.Messages);

  host_.Tick = 5000;  // the person took five seconds to close the boxes
  EXPECT_TRUE(session_.RunTimerPass(host_.Tick).Repaint.IsEmpty());
  const SessionChange started = session_.StartSet();
  EXPECT_EQ(host_.Messages,
            (std::vector<std::string>{"palette file (gone.kcf) is not found",
                                      "can't load cell file and ignored", "init", "begin"}));
  EXPECT_TRUE(started.WholeView && started.NewSet && started.CommandsChanged);
  EXPECT_TRUE(doc_.IsSetLoaded());
  EXPECT_FALSE(session_.AwaitsStart());
  EXPECT_EQ(session_.NextTimerPassDelay(host_.Tick), 100) << "armed at the start, not the open";
  EXPECT_FALSE(session_.StartSet().WholeView) << "a set starts once";
}

TEST_F(SessionTest, CommandStatesFollowTheLoadedSet) {
  const CommandStates empty = session_.States();
  EXPECT_FALSE(empty.Loaded);
  EXPECT_FALSE(empty.CanSave);
  for (int n = 0; n < kSetCount; ++n) EXPECT_FALSE(empty.SetEnabled[n]) << n;

  Open();
  const CommandStates states = session_.States();
  EXPECT_TRUE(states.Loaded && states.CanSave && states.Colour256Checked);
  for (int n = 0; n < kSetCount; ++n) {
    EXPECT_EQ(states.SetEnabled[n], n <= 1) << n;
    EXPECT_EQ(states.SetChecked[n], n == 0) << n;
  }
  const int groups = doc_.Set().Palettes().GroupCount;
  ASSERT_GT(groups, 0);
  for (int n = 0; n < kGroupCount; ++n) EXPECT_EQ(states.GroupEnabled[n], n < groups) << n;

  // What may change the states says so; a drag step does not.
  EXPECT_TRUE(session_.ColourModeTrue().CommandsChanged);
  EXPECT_TRUE(session_.States().TrueColourChecked);
  EXPECT_FALSE(session_.Move(3, 3).CommandsChanged);
  EXPECT_FALSE(session_.RunTimerPass(0).CommandsChanged);
  EXPECT_TRUE(session_.NewDocument().CommandsChanged);
  EXPECT_FALSE(session_.States().Loaded);
}

// Each key from set 0 of a set using sets 0 and 1.
TEST_F(SessionTest, KeysChooseSetsAndAskForScrolls) {
  struct Row {
    int32_t Key;
    int32_t SetAfter;
    bool Switched;
    ScrollRequest Scroll;
  };
  const Row rows[] = {
      {'1', 1, true, ScrollRequest::None},    {'1', 1, false, ScrollRequest::None},
      {0x60, 0, true, ScrollRequest::None},   {0x61, 1, true, ScrollRequest::None},
      {'7', 1, false, ScrollRequest::None},   {0x67, 1, false, ScrollRequest::None},
      {0x25, 1, false, ScrollRequest::Left},  {0x26, 1, false, ScrollRequest::Up},
      {0x27, 1, false, ScrollRequest::Right}, {0x28, 1, false, ScrollRequest::Down},
      {'Z', 1, false, ScrollRequest::None},   {0x10, 1, false, ScrollRequest::None},
  };
  Open();
  for (const Row& row : rows) {
    const SessionChange change = session_.Key(row.Key);
    EXPECT_EQ(doc_.Set().CurrentSet(), row.SetAfter) << row.Key;
    EXPECT_EQ(change.SetSwitched, row.Switched) << row.Key;
    EXPECT_EQ(change.Scroll, row.Scroll) << row.Key;
    if (row.Switched) {
      EXPECT_EQ(change.Repaint, (MapRect{0, 0, 20, 10})) << row.Key;
    }
  }
  // Choosing the set already shown repaints nothing but refreshes the buttons.
  const SessionChange again = session_.Key('1');
  EXPECT_TRUE(again.CommandsChanged && again.Repaint.IsEmpty());
}

TEST_F(SessionTest, EveryKeyButTheNextLetterStartsTheSequenceAgain) {
  struct Row {
    const char* Name;
    std::vector<int32_t> Keys;
    bool Lifted;
  };
  const Row rows[] = {
      {"in a row", {'Z', 'O', 'R', 'V', 'E'}, true},
      {"Shift between", {'Z', 'O', 0x10, 'R', 'V', 'E'}, false},
      {"a digit between", {'Z', 'O', 'R', '1', 'V', 'E'}, false},
      {"the wrong key is no new start", {'Z', 'Z', 'O', 'R', 'V', 'E'}, false},
      {"again after a break", {'Z', 'X', 'Z', 'O', 'R', 'V', 'E'}, true},
  };
  Open();
  for (const Row& row : rows) {
    fix_.Reset();
    for (int32_t key : row.Keys) session_.Key(key);
    EXPECT_EQ(fix_.Active(), row.Lifted) << row.Name;
  }
}

// The drag's life, step by step: what each call leaves held and whether it let go.
TEST_F(SessionTest, TheDragsLife) {
  enum class Op { Press, Move, Release, Lost };
  struct Step {
    Op What;
    int32_t X = 0;
    int32_t Y = 0;
    bool Held = false;
    bool Released = false;
  };
  struct Case {
    const char* Name;
    std::vector<Step> Steps;
    int32_t Object;
    int32_t XAfter;
  };
  const Case cases[] = {
      {"a free object follows and stays",
       {{Op::Press, 1, 1, true}, {Op::Move, 4, 1, true}, {Op::Release, 0, 0, false, true}},
       0,
       4},
      {"a release with nothing held lets nothing go",
       {{Op::Press, 19, 0, false}, {Op::Release, 0, 0, false, false}},
       0,
       1},
      {"a press while holding drops the held object first",
       {{Op::Press, 1, 1, true}, {Op::Move, 3, 1, true}, {Op::Press, 19, 0, false, true}},
       0,
       3},
      {"the pointer lost drops where the last move left it",
       {{Op::Press, 1, 1, true}, {Op::Move, 2, 1, true}, {Op::Lost, 0, 0, false, true}},
       0,
       2},
      {"a fixed object wobbles in place below three pixels",
       {{Op::Press, 12, 6, true}, {Op::Move, 13, 7, true}},
       2,
       12},
      {"a fixed object pulled too far springs back and is let go",
       {{Op::Press, 12, 6, true}, {Op::Move, 16, 6, false, true}, {Op::Release, 0, 0, false}},
       2,
       12},
  };
  for (const Case& c : cases) {
    Open();
    for (const Step& step : c.Steps) {
      SessionChange change;
      switch (step.What) {
        case Op::Press:
          change = session_.Press(step.X, step.Y);
          break;
        case Op::Move:
          change = session_.Move(step.X, step.Y);
          break;
        case Op::Release:
          change = session_.Release();
          break;
        case Op::Lost:
          change = session_.PointerLost();
          break;
      }
      EXPECT_EQ(session_.HoldsObject(), step.Held) << c.Name;
      EXPECT_EQ(change.Released, step.Released) << c.Name;
    }
    EXPECT_EQ(XOf(c.Object), c.XAfter) << c.Name;
  }
}

TEST_F(SessionTest, ThePointerLostInsideAPressBoxDropsOnceThePressIsDone) {
  files_.WriteText("box.cnf", std::string(kSet) + ";@press(#0) debug(\"pressed\")\n");
  Open("box.cnf");
  host_.WhileBoxOpen = [&] { session_.PointerLost(); };
  // The object is held only once the press's events are done; it goes at the press's end.
  const SessionChange press = session_.Press(1, 1);
  EXPECT_TRUE(press.Released);
  EXPECT_FALSE(session_.HoldsObject());
}

TEST_F(SessionTest, ADragReportsTheStepAndTheObjectsBoxForTheViewToFollow) {
  Open();
  EXPECT_TRUE(session_.Press(1, 1).Repaint.IsEmpty());
  const SessionChange moved = session_.Move(4, 1);
  EXPECT_TRUE(moved.HeldMoved);
  EXPECT_EQ(moved.StepX, 3);
  EXPECT_EQ(moved.StepY, 0);
  EXPECT_EQ(moved.ObjectBox, (MapRect{4, 1, 8, 5}));
  EXPECT_EQ(moved.Repaint, (MapRect{1, 1, 8, 5})) << "the old place and the new";
  // The pointer is held to where the object may go: far right stops at the playfield's edge.
  EXPECT_EQ(session_.Move(100, 1).ObjectBox.Right, 20);
}

TEST_F(SessionTest, SavingOverAFileNeedsItsConfirmation) {
  Open();
  const std::string path = files_.Path("set.cnf").string();
  ASSERT_TRUE(session_.MustConfirmOverwrite(path));
  EXPECT_TRUE(session_.Save(path, false).NotConfirmed);
  EXPECT_TRUE(session_.Save(path, true).Saved);
  EXPECT_FALSE(session_.MustConfirmOverwrite(files_.Path("new.cnf").string()));
}

TEST(SessionOutsideTest, ALentOutsideIsGivenBackAfterThePlay) {
  FakeHost host;
  FakeHost other;
  DocumentSession session{host, host};
  session.LendOutside(other, other, [&] { EXPECT_EQ(&session.Outside(), &other); });
  EXPECT_EQ(&session.Outside(), &host);
}

TEST_F(SessionTest, APlacedObjectStandsWhereItIsPutOnThePlayfieldWithNoEventAndOnlyWhenShown) {
  files_.WriteText("events.cnf", std::string(kSet) + ";@catch(#0) debug(\"catch\")\n" +
                                     ";@drop(#0) debug(\"drop\")\n;@release(#0) debug(\"up\")\n");
  Open("events.cnf");
  const SessionChange placed = session_.PlaceObject(0, 9, 4);
  EXPECT_EQ(XOf(0), 9);
  EXPECT_EQ(doc_.Set().ObjectTable()[doc_.Set().SlotOf(0)].Y, 4);
  EXPECT_TRUE(host_.Messages.empty()) << "no pick, no drop";
  // The old place (1, 1) and the new (9, 4), each 4 x 4: one rectangle over both.
  EXPECT_EQ(placed.Repaint.Left, 1);
  EXPECT_EQ(placed.Repaint.Top, 1);
  EXPECT_EQ(placed.Repaint.Right, 13);
  EXPECT_EQ(placed.Repaint.Bottom, 8);

  // Past the edge it stops there, as a drag does; numbers no object has, or objects not shown
  // in the set, move nothing.
  session_.PlaceObject(0, 500, -500);
  EXPECT_EQ(XOf(0), 16);
  EXPECT_EQ(doc_.Set().ObjectTable()[doc_.Set().SlotOf(0)].Y, 0);
  for (const int32_t number : {-1, 7, 30000}) {
    EXPECT_TRUE(session_.PlaceObject(number, 3, 3).Repaint.IsEmpty()) << number;
  }
  session_.SelectSet(1);
  const int32_t eyeX = XOf(1);
  EXPECT_TRUE(session_.PlaceObject(1, 15, 5).Repaint.IsEmpty()) << "the eye is not in set 1";
  EXPECT_EQ(XOf(1), eyeX);

  // While an object is held, the drag owns the positions.
  session_.Press(XOf(0) + 1, doc_.Set().ObjectTable()[doc_.Set().SlotOf(0)].Y + 1);
  ASSERT_TRUE(session_.HoldsObject());
  const int32_t heldX = XOf(0);
  EXPECT_TRUE(session_.PlaceObject(0, 0, 0).Repaint.IsEmpty());
  EXPECT_EQ(XOf(0), heldX);
  session_.Release();
}

}  // namespace
}  // namespace tavro::test
