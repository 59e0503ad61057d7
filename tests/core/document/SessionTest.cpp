// The session as a front end without a window drives it: each rule once, and results that say
// what changed.
#include <gtest/gtest.h>

#include "document/DocumentSession.h"
#include "support/FakeHost.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {
namespace {

// A 20 x 10 playfield: a 4 x 4 body in sets 0 and 1, a 2 x 2 eye in set 0 only.
constexpr char kSet[] =
    "(20,10)\n%p.kcf\n#1 eye.cel :0\n#0 body.cel :0 1\n$0 1,1 2,2\n$1 6,2 7,3\n";

class SessionTest : public ::testing::Test {
 protected:
  FakeHost host;
  CTavroDoc doc{host};
  DocumentSession session{doc, host, host};
  TempDir dir;
  SetFiles files{dir.path()};

  void SetUp() override {
    files.OldPalette("p.kcf");
    files.SolidCel("body.cel", 4, 4, 1);
    files.SolidCel("eye.cel", 2, 2, 2);
    files.WriteText("set.cnf", kSet);
  }
  void Open() {
    const OpenResult opened = session.Open(files.Path("set.cnf").string());
    ASSERT_TRUE(opened.Opened);
    EXPECT_EQ(opened.RecentFile, files.Path("set.cnf").string());
    host.repaints.clear();
  }
};

TEST_F(SessionTest, CommandStatesFollowTheLoadedSet) {
  const CommandStates empty = session.States();
  EXPECT_FALSE(empty.Loaded);
  EXPECT_FALSE(empty.CanSave);
  for (int n = 0; n < kSetCount; ++n) EXPECT_FALSE(empty.SetEnabled[n]) << n;
  for (int n = 0; n < kGroupCount; ++n) EXPECT_FALSE(empty.GroupEnabled[n]) << n;

  Open();
  const CommandStates states = session.States();
  EXPECT_TRUE(states.Loaded);
  EXPECT_TRUE(states.CanSave);
  for (int n = 0; n < kSetCount; ++n) {
    EXPECT_EQ(states.SetEnabled[n], n <= 1) << n;
    EXPECT_EQ(states.SetChecked[n], n == 0) << n;
  }
  const int groups = doc.Set().Palettes().GroupCount;
  ASSERT_GT(groups, 0);
  for (int n = 0; n < kGroupCount; ++n) {
    EXPECT_EQ(states.GroupEnabled[n], n < groups) << n;
    EXPECT_EQ(session.IsGroupAvailable(n), n < groups) << n;
  }
  EXPECT_TRUE(states.Colour256Checked);
  EXPECT_FALSE(states.TrueColourChecked);
  session.ColourModeTrue();
  EXPECT_TRUE(session.States().TrueColourChecked);
}

TEST_F(SessionTest, OnlyASetInUseIsShownAndTheResultSaysWhatWasRepainted) {
  Open();
  std::vector<bool> followed;  // SetSwitched of each change the front end followed up
  session.FollowEachChange([&](const SessionChange& c) { followed.push_back(c.SetSwitched); });
  SessionChange change = session.SelectSet(5);
  EXPECT_FALSE(change.SetSwitched);
  EXPECT_TRUE(change.Repaint.IsEmpty());
  EXPECT_EQ(doc.Set().CurrentSet(), 0);

  change = session.SelectSet(1);
  EXPECT_TRUE(change.SetSwitched);
  EXPECT_EQ(change.Repaint, (MapRect{0, 0, 20, 10}));
  EXPECT_EQ(host.repaints, (std::vector<MapRect>{{0, 0, 20, 10}})) << "the front end heard it too";
  EXPECT_FALSE(session.SelectSet(1).SetSwitched) << "the set shown already";

  EXPECT_TRUE(session.Key('0').SetSwitched);
  EXPECT_EQ(doc.Set().CurrentSet(), 0);
  EXPECT_TRUE(session.Key(0x61).SetSwitched) << "number pad 1";
  EXPECT_EQ(doc.Set().CurrentSet(), 1);
  EXPECT_FALSE(session.Key('7').SetSwitched);
  // Once per call, a digit key included, each with the change the call returned.
  EXPECT_EQ(followed, (std::vector<bool>{false, true, false, true, true, false}));
}

TEST_F(SessionTest, ADragReportsTheStepAndTheObjectsBoxForTheViewToFollow) {
  Open();
  EXPECT_TRUE(session.Press(1, 1).Repaint.IsEmpty());
  ASSERT_TRUE(session.HoldsObject());
  const SessionChange moved = session.Move(4, 1);
  EXPECT_TRUE(moved.HeldMoved);
  EXPECT_EQ(moved.StepX, 3);
  EXPECT_EQ(moved.StepY, 0);
  EXPECT_EQ(moved.ObjectBox, (MapRect{4, 1, 8, 5}));
  EXPECT_EQ(moved.Repaint, (MapRect{1, 1, 8, 5})) << "the old place and the new";
  EXPECT_EQ(doc.Set().ObjectTable()[doc.Set().SlotOf(0)].X, 4);

  // The pointer is held to where the object may go: far right stops at the playfield's edge.
  EXPECT_EQ(session.Move(100, 1).ObjectBox.right, 20);
  session.Release();
  EXPECT_FALSE(session.HoldsObject());
  EXPECT_FALSE(session.Release().HeldMoved) << "nothing held, nothing dropped";
}

TEST_F(SessionTest, SavingOverAFileNeedsItsConfirmation) {
  Open();
  const std::string path = files.Path("set.cnf").string();
  ASSERT_TRUE(session.MustConfirmOverwrite(path));
  EXPECT_TRUE(session.Save(path, false).NotConfirmed);
  EXPECT_TRUE(session.Save(path, true).Saved);
  EXPECT_FALSE(session.MustConfirmOverwrite(files.Path("new.cnf").string()));
}

TEST(SessionOutsideTest, TheDocumentGetsItsOutsideBackWhenTheSessionGoes) {
  FakeHost host;
  FakeHost other;
  CTavroDoc doc{host};
  {
    DocumentSession session{doc, other, other};
    EXPECT_EQ(&doc.host(), &other);
  }
  EXPECT_EQ(&doc.host(), &host);
  EXPECT_EQ(&doc.notices(), &host);
}

}  // namespace
}  // namespace tavro::test
