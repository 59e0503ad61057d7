// The engine on its own, over a recording target: what reaches the target, and the bounds on
// nested runs that only deep nesting shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/scripts/FakeScriptTarget.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptEngine.h"
#include "scripts/ScriptLimits.h"

namespace tavro::test {
namespace {

using Calls = std::vector<std::string>;

class EngineTest : public ::testing::Test {
 protected:
  FakeScriptTarget target_;
  ScriptEngine engine_{target_};
  bool nestBound_ = false;

  void Script(const std::string& text) {
    const char* cursor = text.c_str();
    engine_.ParseScriptLine(cursor);
  }

  // Runs `inner` from inside `depth` event runs nested one in another, as runs nest while
  // "debug(" boxes stay open. What the nesting itself showed is cleared before `inner` runs.
  void RunNested(int depth, const std::function<void()>& inner) {
    constexpr int kNestArgument = 0x7FFF;
    if (!nestBound_)
      nestBound_ = engine_.AppendAction(kEventPress, kNestArgument, kActionDebug, TextArgument{});
    bool reached = false;  // the hook stays set while it runs: clearing it would destroy it
    target_.WhileBoxOpen = [&] {
      if (reached) return;
      if (engine_.DispatchDepth() < depth) {
        engine_.RunEvent(kEventPress, kNestArgument);
        return;
      }
      reached = true;
      target_.Calls.clear();
      inner();
    };
    engine_.RunEvent(kEventPress, kNestArgument);
    target_.WhileBoxOpen = nullptr;
  }
};

TEST_F(EngineTest, EveryActionReachesTheTargetWithItsArguments) {
  target_.CellNames = {"a.cel", "b.cel"};
  Script("press(#1) map(#5) unmap(\"b.cel\") altmap(#6) move(#5, -3, 4) transparent(#5, 20)");
  Script("sound(\"s.wav\") debug(\"hi\") changeset(2) changecol(3) changecol(10) map(\"none\")");
  EXPECT_EQ(engine_.RunEvent(kEventPress, 1), 1);
  EXPECT_EQ(target_.Calls,
            (Calls{"show 5", "hide 32769", "toggle 6", "move 5 -3 4", "transparent 5 20",
                   "sound s.wav", "debug hi", "set 2", "group 3", "show 65535"}));
}

TEST_F(EngineTest, RecordsTakenOverAreAppendedToAfterTheirOwnEnd) {
  ASSERT_TRUE(engine_.AppendAction(kEventPress, 1, kActionMap, TargetArgument{1}));
  ASSERT_TRUE(engine_.AppendAction(kEventPress, 1, kActionMap, TargetArgument{2}));
  // Another engine's records, one of them 20 bytes long, replace these.
  FakeScriptTarget otherTarget;
  ScriptEngine other{otherTarget};
  ASSERT_TRUE(other.AppendAction(kEventPress, 2, kActionDebug, TextArgument{std::string(14, 'x')}));
  engine_.ReplaceActions(other.Actions());
  EXPECT_EQ(engine_.ActionStoreBytes(), 20u);
  ASSERT_TRUE(engine_.AppendAction(kEventPress, 3, kActionMap, TargetArgument{3}));
  ASSERT_EQ(engine_.Actions().size(), 2u);
  EXPECT_EQ(engine_.ActionStoreBytes(), 27u);
  EXPECT_EQ(engine_.RunEvent(kEventPress, 1), 0);
  EXPECT_EQ(engine_.RunEvent(kEventPress, 3), 1);
  EXPECT_EQ(target_.Calls, (Calls{"show 3"}));
}

TEST_F(EngineTest, AnObjectEventFallsBackOnTheShownCelUnderThePointer) {
  Script("press(\"b.cel\") debug(\"cel\")");  // no cel of that name yet: names nothing
  target_.CellNames = {"a.cel", "b.cel"};
  Script("press(\"b.cel\") debug(\"cel\")");
  engine_.RunObjectEvent(kEventPress, 3);
  EXPECT_TRUE(target_.Calls.empty());
  target_.ShownCell = 1;
  engine_.RunObjectEvent(kEventPress, 3);
  EXPECT_EQ(target_.Calls, (Calls{"debug cel"}));
  engine_.RunObjectEvent(kEventRelease, 3);
  EXPECT_EQ(target_.Calls.size(), 1u);
}

TEST_F(EngineTest, APassFlushesOnlyADirtyTargetAndNothingRunsWithoutASet) {
  Script("alarm(2) move(#1, 1, 0)");
  target_.Tick = 100;
  engine_.ArmAlarm(2, 50, 0, kEventBegin);
  EXPECT_EQ(engine_.RunTimerPass(120), 30);
  EXPECT_TRUE(target_.Calls.empty());
  target_.Dirty = true;
  EXPECT_EQ(engine_.NextTimerPassDelay(120), 0);
  EXPECT_EQ(engine_.RunTimerPass(150), ScriptEngine::kNoTimerPass);
  EXPECT_EQ(target_.Calls, (Calls{"move 1 1 0", "flush"}));
  target_.Loaded = false;
  target_.Dirty = true;
  engine_.ArmAlarm(2, 10, 0, kEventBegin);
  EXPECT_EQ(engine_.RunTimerPass(1000), ScriptEngine::kNoTimerPass);
  EXPECT_EQ(engine_.NextTimerPassDelay(1000), ScriptEngine::kNoTimerPass);
  EXPECT_EQ(target_.Calls.size(), 2u);
  EXPECT_TRUE(engine_.AlarmArmed(2));
}

TEST_F(EngineTest, SetChangesAreRefusedDeepInNestedRuns) {
  Script("press(#1) changeset(4)");
  RunNested(kMaxSetSwitchDepth - 2, [&] { engine_.RunEvent(kEventPress, 1); });
  EXPECT_EQ(target_.Calls, (Calls{"set 4"}));
  RunNested(kMaxSetSwitchDepth - 1, [&] { engine_.RunEvent(kEventPress, 1); });
  EXPECT_TRUE(target_.Calls.empty());
  int32_t matched = -1;
  RunNested(kMaxDispatchDepth, [&] { matched = engine_.RunEvent(kEventPress, 1); });
  EXPECT_EQ(matched, 0);
  EXPECT_EQ(engine_.DispatchDepth(), 0);
}

TEST_F(EngineTest, AVeryLateAlarmDeepInNestedRunsCatchesUpWithinABound) {
  Script("alarm(1) debug(\"tick\") timer(1, 10)");
  engine_.ArmAlarm(1, 1000, 0, kEventBegin);
  // Nested 40 deep (as inside open boxes): 25 ms late catches up at once, keeping the period.
  RunNested(40, [&] {
    target_.Tick = 1025;
    engine_.RunTimerPass(1025);
    EXPECT_EQ(target_.Calls, (Calls(3, "debug tick")));
    EXPECT_EQ(engine_.AlarmDue(1), 1030u);
    EXPECT_EQ(engine_.AlarmLateness(), 0);
    // Ten seconds late: the catching up stops at a bound and the rest waits for the next pass.
    target_.Calls.clear();
    target_.Tick = 11030;
    engine_.RunTimerPass(11030);
    EXPECT_EQ(static_cast<int>(target_.Calls.size()), kMaxAlarmRefireDepth - 41 + 1);
    EXPECT_EQ(engine_.AlarmDue(1), 11031u);
    EXPECT_EQ(engine_.DispatchDepth(), 40);
  });
  // Not nested: a late alarm simply fires on the next pass.
  target_.Calls.clear();
  target_.Tick = 20000;
  engine_.RunTimerPass(20000);
  EXPECT_EQ(target_.Calls.size(), 1u);
  EXPECT_EQ(engine_.AlarmDue(1), 20001u);
}

}  // namespace
}  // namespace tavro::test
