#include <gtest/gtest.h>

#include <functional>

#include "core/scripts/ScriptFixture.h"
#include "scripts/ScriptCodes.h"
#include "scripts/ScriptLimits.h"

namespace tavro::test {
namespace {

class TimerTest : public ScriptFixture {
 protected:
  void SetUp() override {
    doc_.MarkSetLoaded(true);
    build_.Current(0, doc_.Set().CurrentGroup());
  }
  // A pass at `now`, with the clock the host shows moved there too.
  int32_t PassAt(uint32_t now) {
    host_.Tick = now;
    return doc_.RunTimerPass(now);
  }
};

TEST_F(TimerTest, ASelfRearmingAlarmKeepsItsPeriodHoweverLateThePassesCome) {
  Script("begin() timer(1, 500)");
  Script("alarm(1) timer(1, 500)");
  host_.Tick = 1000;
  doc_.Scripts().RunEvent(kEventBegin, 0);
  ASSERT_EQ(doc_.Scripts().AlarmDue(1), 1500u);
  // Passes arrive at irregular gaps of up to 499 ms, never a whole period late.
  uint32_t now = 1000;
  uint32_t step = 12345;
  int fired = 0;
  while (fired < 1000) {
    step = step * 1103515245u + 12345u;
    now += 1 + (step >> 16) % 499;
    const uint32_t due = doc_.Scripts().AlarmDue(1);
    PassAt(now);
    if (doc_.Scripts().AlarmDue(1) != due) {
      ++fired;
      ASSERT_EQ(doc_.Scripts().AlarmDue(1), due + 500) << "period " << fired;
      ASSERT_TRUE(doc_.Scripts().AlarmArmed(1));
    }
  }
  EXPECT_EQ(doc_.Scripts().AlarmDue(1), 1500u + 1000u * 500u);
}

TEST_F(TimerTest, AnAlarmAWholeDelayLateFiresAgainOnTheNextPass) {
  Script("alarm(1) debug(\"tick\") timer(1, 500)");
  host_.Tick = 1000;
  Arm(1, 500);
  PassAt(2000);  // 500 late: 500 - 500 leaves nothing of the period
  EXPECT_EQ(doc_.Scripts().AlarmDue(1), 2001u);
  PassAt(2000);
  EXPECT_EQ(Shown().size(), 1u);
  PassAt(2001);
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(doc_.Scripts().AlarmDue(1), 2501u);
}

TEST_F(TimerTest, DelayZeroCancelsAlsoFromTheSlotsOwnAlarm) {
  Script("press(#1) timer(3, 0)");
  Script("alarm(4) timer(4, 100) timer(4, 0)");
  Arm(3, 100);
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_FALSE(doc_.Scripts().AlarmArmed(3));
  Arm(4, 100);
  PassAt(100);
  EXPECT_FALSE(doc_.Scripts().AlarmArmed(4));
  EXPECT_EQ(PassAt(100000), CTavroDoc::kNoTimerPass);
}

TEST_F(TimerTest, ATimerOutsideAnAlarmCountsFromNowAndRearms) {
  Script("press(#1) timer(4, 300)");
  host_.Tick = 100;
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_EQ(doc_.Scripts().AlarmDue(4), 400u);
  host_.Tick = 350;
  doc_.Scripts().RunEvent(kEventPress, 1);
  EXPECT_EQ(doc_.Scripts().AlarmDue(4), 650u);
}

TEST_F(TimerTest, TheGeneratorGivesTheExpectedSequence) {
  // With the default seed; and seeded again, the same values again.
  const std::vector<int32_t> expected{41, 18467, 6334, 26500, 19169, 15724};
  for (int round = 0; round < 2; ++round) {
    std::vector<int32_t> values;
    for (size_t i = 0; i < expected.size(); ++i)
      values.push_back(doc_.Scripts().NextScriptRandom());
    EXPECT_EQ(values, expected);
    doc_.Scripts().SeedScriptRandom(1);
  }
}

TEST_F(TimerTest, RandomTimersStayInTheirRangeAndRepeatWithoutInitialize) {
  Script("press(#1) randomtimer(2, 1000, 500)");
  Script("press(#2) randomtimer(3, 70, 0)");
  auto delays = [this](CTavroDoc& d) {
    std::vector<uint32_t> result;
    for (int i = 0; i < 200; ++i) {
      d.Scripts().RunEvent(kEventPress, 1);
      result.push_back(d.Scripts().AlarmDue(2) - host_.Tick);
    }
    return result;
  };
  const auto first = delays(doc_);
  for (uint32_t delay : first) {
    EXPECT_GE(delay, 1000u);
    EXPECT_LE(delay, 1499u);
  }
  EXPECT_EQ(first[0], 1041u);
  CTavroDoc again{host_};
  again.Scripts().ReplaceActions(doc_.Scripts().Actions());
  EXPECT_EQ(delays(again), first);
  doc_.Scripts().RunEvent(kEventPress, 2);
  EXPECT_EQ(doc_.Scripts().AlarmDue(3), host_.Tick + 70);
}

TEST_F(TimerTest, SlotsFrom128UpArmNothingAndNeverFire) {
  Script("press(#1) timer(128, 10) timer(255, 10) randomtimer(200, 10, 5) timer(-1, 10)");
  Script("alarm(200) debug(\"never\")");
  doc_.Scripts().RunEvent(kEventPress, 1);
  for (int slot = 0; slot < ScriptEngine::kAlarmSlots; ++slot)
    EXPECT_FALSE(doc_.Scripts().AlarmArmed(slot));
  Arm(128, 5);
  doc_.Scripts().ArmAlarm(-3, 5, 0, kEventAlarm);
  PassAt(100000);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(doc_.Scripts().NextScriptRandom(), 18467);  // the random value was drawn all the same
}

TEST_F(TimerTest, LowerSlotsFireFirstWithinOnePass) {
  Script("alarm(5) debug(\"5\") alarm(2) debug(\"2\") alarm(9) debug(\"9\")");
  Arm(5, 10);
  Arm(2, 20);
  Arm(9, 500);
  EXPECT_EQ(doc_.NextTimerPassDelay(0), 10);
  EXPECT_EQ(PassAt(5), 5);
  EXPECT_EQ(PassAt(30), 470);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"2", "5"}));
}

TEST_F(TimerTest, TicksWrappingAroundNeitherDelayNorHurryASlot) {
  Script("alarm(1) debug(\"fired\")");
  host_.Tick = 0xFFFFFF00u;
  Arm(1, 0x200);
  EXPECT_EQ(doc_.NextTimerPassDelay(0xFFFFFF00u), 0x200);
  PassAt(0xFFFFFFF0u);
  EXPECT_TRUE(Shown().empty());
  PassAt(0x100);
  EXPECT_EQ(Shown().size(), 1u);
  // Half the tick range late, the furthest a pass can still call due.
  Script("alarm(2) timer(2, 10)");
  host_.Tick = 0;
  Arm(2, 10);
  PassAt(0x8000000Au);
  EXPECT_EQ(Shown().size(), 1u);
  EXPECT_EQ(doc_.Scripts().AlarmDue(2), 0x8000000Bu);  // next pass, not another half range away
}

TEST_F(TimerTest, APassFlushesWhatTheAlarmsChangedAndSaysWhenToComeBack) {
  AddCel(3, "ball.cel");
  build_.Move(3, 40, Object(3).Y);
  build_.Move(3, Object(3).X, 50);
  Script("alarm(0) move(#3, 10, 0) timer(0, 40)");
  build_.Playfield(448, 320);
  Arm(0, 100);
  EXPECT_EQ(PassAt(60), 40);
  EXPECT_TRUE(host_.Repaints.empty());
  PassAt(100);
  EXPECT_EQ(host_.Repaints, (std::vector<MapRect>{{40, 50, 60, 60}}));
  EXPECT_EQ(Object(3).X, 50);

  doc_.EditMap().MarkDirty({});
  EXPECT_EQ(doc_.NextTimerPassDelay(100), 0);
  doc_.FlushAndRepaint();
  doc_.Scripts().DisarmAllAlarms();
  EXPECT_EQ(doc_.NextTimerPassDelay(100), CTavroDoc::kNoTimerPass);
  Arm(7, 10);
  doc_.MarkSetLoaded(false);  // no set: passes do nothing
  EXPECT_EQ(PassAt(500), CTavroDoc::kNoTimerPass);
  EXPECT_TRUE(doc_.Scripts().AlarmArmed(7));
}

// A host whose message boxes run something while they are open, as a modal box keeps timer
// messages flowing.
class BoxHost : public FakeHost {
 public:
  std::function<void()> WhileOpen;
  void ShowDebugText(const std::string& text) override {
    FakeHost::ShowDebugText(text);
    // Run from a copy: the hook may clear itself, which must not destroy it while it runs.
    if (!WhileOpen) return;
    const std::function<void()> run = WhileOpen;
    run();
  }
};

TEST(TimerBoxTest, AnAlarmInsideAnOpenBoxLeavesTheOuterAlarmsPeriodAlone) {
  BoxHost host;
  CTavroDoc doc{host};
  doc.MarkSetLoaded(true);
  doc.Scripts().AppendAction(kEventAlarm, 1, kActionDebug, TextArgument{"box"});
  doc.Scripts().AppendAction(kEventAlarm, 1, kActionTimer, TimerArguments{1, 500});
  doc.Scripts().AppendAction(kEventAlarm, 2, kActionTimer, TimerArguments{2, 300});
  doc.Scripts().ArmAlarm(1, 1000, 0, kEventPress);
  doc.Scripts().ArmAlarm(2, 1200, 0, kEventPress);
  host.WhileOpen = [&] {
    host.WhileOpen = nullptr;
    host.Tick = 1250;
    doc.RunTimerPass(1250);
  };
  host.Tick = 1000;
  doc.RunTimerPass(1000);
  EXPECT_EQ(doc.Scripts().AlarmDue(2), 1500u);
  EXPECT_EQ(doc.Scripts().AlarmDue(1), 1500u);
}

TEST(TimerBoxTest, BoxesOpeningInsideBoxesStopNestingAtABound) {
  BoxHost host;
  CTavroDoc doc{host};
  doc.MarkSetLoaded(true);
  doc.Scripts().AppendAction(kEventAlarm, 1, kActionTimer, TimerArguments{1, 1});
  doc.Scripts().AppendAction(kEventAlarm, 1, kActionDebug, TextArgument{"x"});
  host.WhileOpen = [&] {
    host.Tick += 1;  // each box stays open until the alarm is due again, and not later
    doc.RunTimerPass(host.Tick);
  };
  doc.Scripts().ArmAlarm(1, 1, 0, kEventPress);
  host.Tick = 1;
  doc.RunTimerPass(1);
  EXPECT_EQ(static_cast<int>(host.Messages.size()), kMaxTimerPassDepth);
  EXPECT_EQ(doc.Scripts().DispatchDepth(), 0);
  EXPECT_TRUE(doc.Scripts().AlarmArmed(1));  // still going once the boxes are closed
}

}  // namespace
}  // namespace tavro::test
