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
  std::function<void()> whileBoxOpen;
  void ShowDebugText(const std::string& text) override {
    FakeHost::ShowDebugText(text);
    if (whileBoxOpen) whileBoxOpen();
  }
};

class SessionTest : public ::testing::Test {
 protected:
  BoxFrontEnd host;
  DocumentSession session{host, host};
  const CTavroDoc& doc = session.Doc();
  FixOverrideState fix;
  TempDir dir;
  SetFiles files{dir.path()};

  void SetUp() override {
    session.FixtureDoc().Pointer().UseFixOverride(&fix);
    files.OldPalette("p.kcf");
    files.SolidCel("body.cel", 4, 4, 1);
    files.SolidCel("eye.cel", 2, 2, 2);
    files.SolidCel("button.cel", 2, 2, 3);
    files.WriteText("set.cnf", kSet);
  }
  SessionChange Open(const std::string& name = "set.cnf") {
    const OpenResult opened = session.Open(files.Path(name).string());
    EXPECT_TRUE(opened.Opened);
    host.Show(opened.Messages);
    return session.StartSet();
  }
  int32_t XOf(int32_t number) const { return doc.Set().ObjectTable()[doc.Set().SlotOf(number)].X; }
};

TEST_F(SessionTest, TheLoadsMessagesComeBeforeTheScriptsAndItsAlarmsCountFromTheStart) {
  files.WriteText("boxes.cnf",
                  "(20,10)\n%p.kcf\n%gone.kcf\n#0 body.cel :0\n#1 missing.cel :0\n$0 1,1 2,2\n"
                  ";@initialize() debug(\"init\") timer(1,100)\n"
                  ";@begin() debug(\"begin\")\n;@alarm(1) debug(\"alarm\")\n");
  const OpenResult opened = session.Open(files.Path("boxes.cnf").string());
  ASSERT_TRUE(opened.Opened);
  EXPECT_TRUE(host.messages.empty()) << "no script ran while the set was read";
  EXPECT_TRUE(session.AwaitsStart());
  EXPECT_FALSE(doc.IsSetLoaded()) << "loading: paints and timer passes find nothing to do";
  host.Show(opened.Messages);

  host.Tick = 5000;  // the person took five seconds to close the boxes
  EXPECT_TRUE(session.RunTimerPass(host.Tick).Repaint.IsEmpty());
  const SessionChange started = session.StartSet();
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"palette file (gone.kcf) is not found",
                                      "can't load cell file and ignored", "init", "begin"}));
  EXPECT_TRUE(started.WholeView && started.NewSet && started.CommandsChanged);
  EXPECT_TRUE(doc.IsSetLoaded());
  EXPECT_FALSE(session.AwaitsStart());
  EXPECT_EQ(session.NextTimerPassDelay(host.Tick), 100) << "armed at the start, not the open";
  EXPECT_FALSE(session.StartSet().WholeView) << "a set starts once";
}

TEST_F(SessionTest, CommandStatesFollowTheLoadedSet) {
  const CommandStates empty = session.States();
  EXPECT_FALSE(empty.Loaded);
  EXPECT_FALSE(empty.CanSave);
  for (int n = 0; n < kSetCount; ++n) EXPECT_FALSE(empty.SetEnabled[n]) << n;

  Open();
  const CommandStates states = session.States();
  EXPECT_TRUE(states.Loaded && states.CanSave && states.Colour256Checked);
  for (int n = 0; n < kSetCount; ++n) {
    EXPECT_EQ(states.SetEnabled[n], n <= 1) << n;
    EXPECT_EQ(states.SetChecked[n], n == 0) << n;
  }
  const int groups = doc.Set().Palettes().GroupCount;
  ASSERT_GT(groups, 0);
  for (int n = 0; n < kGroupCount; ++n) EXPECT_EQ(states.GroupEnabled[n], n < groups) << n;

  // What may change the states says so; a drag step does not.
  EXPECT_TRUE(session.ColourModeTrue().CommandsChanged);
  EXPECT_TRUE(session.States().TrueColourChecked);
  EXPECT_FALSE(session.Move(3, 3).CommandsChanged);
  EXPECT_FALSE(session.RunTimerPass(0).CommandsChanged);
  EXPECT_TRUE(session.NewDocument().CommandsChanged);
  EXPECT_FALSE(session.States().Loaded);
}

// Each key from set 0 of a set using sets 0 and 1.
TEST_F(SessionTest, KeysChooseSetsAndAskForScrolls) {
  struct Row {
    int32_t key;
    int32_t setAfter;
    bool switched;
    ScrollRequest scroll;
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
    const SessionChange change = session.Key(row.key);
    EXPECT_EQ(doc.Set().CurrentSet(), row.setAfter) << row.key;
    EXPECT_EQ(change.SetSwitched, row.switched) << row.key;
    EXPECT_EQ(change.Scroll, row.scroll) << row.key;
    if (row.switched) {
      EXPECT_EQ(change.Repaint, (MapRect{0, 0, 20, 10})) << row.key;
    }
  }
  // Choosing the set already shown repaints nothing but refreshes the buttons.
  const SessionChange again = session.Key('1');
  EXPECT_TRUE(again.CommandsChanged && again.Repaint.IsEmpty());
}

TEST_F(SessionTest, EveryKeyButTheNextLetterStartsTheSequenceAgain) {
  struct Row {
    const char* name;
    std::vector<int32_t> keys;
    bool lifted;
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
    fix.Reset();
    for (int32_t key : row.keys) session.Key(key);
    EXPECT_EQ(fix.Active(), row.lifted) << row.name;
  }
}

// The drag's life, step by step: what each call leaves held and whether it let go.
TEST_F(SessionTest, TheDragsLife) {
  enum class Op { Press, Move, Release, Lost };
  struct Step {
    Op op;
    int32_t x = 0;
    int32_t y = 0;
    bool held = false;
    bool released = false;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int32_t object;
    int32_t xAfter;
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
    for (const Step& step : c.steps) {
      SessionChange change;
      switch (step.op) {
        case Op::Press:
          change = session.Press(step.x, step.y);
          break;
        case Op::Move:
          change = session.Move(step.x, step.y);
          break;
        case Op::Release:
          change = session.Release();
          break;
        case Op::Lost:
          change = session.PointerLost();
          break;
      }
      EXPECT_EQ(session.HoldsObject(), step.held) << c.name;
      EXPECT_EQ(change.Released, step.released) << c.name;
    }
    EXPECT_EQ(XOf(c.object), c.xAfter) << c.name;
  }
}

TEST_F(SessionTest, ThePointerLostInsideAPressBoxDropsOnceThePressIsDone) {
  files.WriteText("box.cnf", std::string(kSet) + ";@press(#0) debug(\"pressed\")\n");
  Open("box.cnf");
  host.whileBoxOpen = [&] { session.PointerLost(); };
  // The object is held only once the press's events are done; it goes at the press's end.
  const SessionChange press = session.Press(1, 1);
  EXPECT_TRUE(press.Released);
  EXPECT_FALSE(session.HoldsObject());
}

TEST_F(SessionTest, ADragReportsTheStepAndTheObjectsBoxForTheViewToFollow) {
  Open();
  EXPECT_TRUE(session.Press(1, 1).Repaint.IsEmpty());
  const SessionChange moved = session.Move(4, 1);
  EXPECT_TRUE(moved.HeldMoved);
  EXPECT_EQ(moved.StepX, 3);
  EXPECT_EQ(moved.StepY, 0);
  EXPECT_EQ(moved.ObjectBox, (MapRect{4, 1, 8, 5}));
  EXPECT_EQ(moved.Repaint, (MapRect{1, 1, 8, 5})) << "the old place and the new";
  // The pointer is held to where the object may go: far right stops at the playfield's edge.
  EXPECT_EQ(session.Move(100, 1).ObjectBox.right, 20);
}

TEST_F(SessionTest, SavingOverAFileNeedsItsConfirmation) {
  Open();
  const std::string path = files.Path("set.cnf").string();
  ASSERT_TRUE(session.MustConfirmOverwrite(path));
  EXPECT_TRUE(session.Save(path, false).NotConfirmed);
  EXPECT_TRUE(session.Save(path, true).Saved);
  EXPECT_FALSE(session.MustConfirmOverwrite(files.Path("new.cnf").string()));
}

TEST(SessionOutsideTest, ALentOutsideIsGivenBackAfterThePlay) {
  FakeHost host;
  FakeHost other;
  DocumentSession session{host, host};
  session.LendOutside(other, other, [&] { EXPECT_EQ(&session.Outside(), &other); });
  EXPECT_EQ(&session.Outside(), &host);
}

}  // namespace
}  // namespace tavro::test
