// Timer messages of the simulated system: when they are made, how a busy program skips ticks
// instead of receiving a burst, and how restarting and stopping change the schedule.
#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using platform::WindowHandle;

class TimerTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    frame = Frame(frameProcedure);
    host = Child(frame, platform::WindowClass::TimerHost, hostProcedure);
    hostProcedure.reaction = [this](const platform::Message& message) -> std::intptr_t {
      if (message.id == vocab::msg::Timer) {
        tickTimes.push_back(Now());
        if (onTick) onTick();
      }
      return 0;
    };
  }

  Recorder& frameProcedure = Procedure("frame");
  Recorder& hostProcedure = Procedure("host");
  WindowHandle frame{};
  WindowHandle host{};
  std::vector<std::uint64_t> tickTimes;
  std::function<void()> onTick;
};

TEST_F(TimerTest, FirstTickComesOnePeriodAfterTheStartThenEveryPeriod) {
  Advance(30);
  platform::StartTimer(host, 1000, 100);
  Advance(350);
  EXPECT_THAT(tickTimes, ElementsAre(130, 230, 330));
  EXPECT_EQ(Now(), 380u);
  EXPECT_EQ(TimerPeriod(host, 1000), 100u);
}

TEST_F(TimerTest, StartingARunningTimerAgainRestartsTheCountdownFromNow) {
  struct Case {
    std::uint32_t firstPeriod;
    std::uint32_t restartAt;
    std::uint32_t secondPeriod;
    std::vector<std::uint64_t> ticks;  // over 1000 ms
  };
  const Case cases[] = {
      {500, 300, 500, {800}},         // same period: still a restart
      {500, 300, 300, {600, 900}},    // shorter
      {200, 350, 400, {200, 750}},    // longer, after one tick
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.firstPeriod << " then " << c.secondPeriod);
    SetUp();
    tickTimes.clear();
    platform::StartTimer(host, 1000, c.firstPeriod);
    Advance(c.restartAt);
    platform::StartTimer(host, 1000, c.secondPeriod);
    Advance(1000 - c.restartAt);
    EXPECT_THAT(tickTimes, ElementsAreArray(c.ticks));
  }
}

TEST_F(TimerTest, ABusyHandlerMakesTheTimerSkipMissedTicksInsteadOfBursting) {
  platform::StartTimer(host, 1000, 100);
  bool first = true;
  onTick = [&] {
    if (first) Spend(350);  // busy from 100 to 450: the ticks due at 200, 300, 400 are missed
    first = false;
  };
  Advance(700);
  // One late tick when the handler returns, then back on the schedule.
  EXPECT_THAT(tickTimes, ElementsAre(100, 450, 500, 600, 700));
}

TEST_F(TimerTest, TimerMessagesWaitUntilNothingElseIsQueued) {
  RecordingFilter filter(trace);
  platform::InstallMessageFilter(&filter);
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  platform::StartTimer(host, 1000, 100);
  bool first = true;
  onTick = [&] {
    if (first) {
      Spend(300);
      // Input that arrives while the handler runs is taken before the late tick.
      MoveMouse(frame, {5, 5});
      MoveMouse(frame, {6, 6});
    }
    first = false;
  };
  trace.clear();
  Advance(450);
  EXPECT_THAT(trace, ElementsAre("filter:Timer(1000)", "host:Timer(1000)", "filter:MouseMove(0)",
                                 "filter:MouseMove(0)", "filter:Timer(1000)", "host:Timer(1000)"));
  EXPECT_THAT(tickTimes, ElementsAre(100, 400));
}

TEST_F(TimerTest, AClaimedTickNeverReachesTheWindow) {
  RecordingFilter filter(trace);
  filter.claim = [](platform::Message& message) { return message.id == vocab::msg::Timer; };
  platform::InstallMessageFilter(&filter);
  platform::StartTimer(host, 1000, 100);
  Advance(250);
  EXPECT_TRUE(tickTimes.empty());
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "filter:Timer(1000)"), 2);
}

TEST_F(TimerTest, StoppingEndsTheTicksAlsoFromInsideItsOwnTick) {
  platform::StartTimer(host, 1000, 100);
  onTick = [&] {
    if (tickTimes.size() == 2) platform::StopTimer(host, 1000);
  };
  Advance(1000);
  EXPECT_THAT(tickTimes, ElementsAre(100, 200));
  EXPECT_EQ(TimerPeriod(host, 1000), std::nullopt);
}

TEST_F(TimerTest, TimersAreKeptApartByWindowAndIdentifier) {
  Recorder& otherProcedure = Procedure("other");
  const WindowHandle other = Child(frame, platform::WindowClass::TimerHost, otherProcedure);
  platform::StartTimer(host, 1, 300);
  platform::StartTimer(host, 2, 200);
  platform::StartTimer(other, 1, 250);
  platform::StopTimer(other, 2);  // not running: nothing changes
  trace.clear();
  Advance(600);
  EXPECT_THAT(trace, ElementsAre("host:Timer(2)", "other:Timer(1)", "host:Timer(1)",
                                 "host:Timer(2)", "other:Timer(1)", "host:Timer(1)",
                                 "host:Timer(2)"));
}

TEST_F(TimerTest, DestroyingTheWindowRemovesItsTimers) {
  platform::StartTimer(host, 1000, 100);
  Advance(150);
  platform::DestroyNativeWindow(host);
  Advance(1000);
  EXPECT_THAT(tickTimes, ElementsAre(100));
  EXPECT_EQ(TimerPeriod(host, 1000), std::nullopt);
}

TEST_F(TimerTest, AZeroPeriodIsRaisedToTheSystemMinimum) {
  platform::StartTimer(host, 1000, 0);
  Advance(35);
  EXPECT_THAT(tickTimes, ElementsAre(10, 20, 30));
}

TEST_F(TimerTest, TheTickCountFollowsVirtualTimeAndWraps) {
  SetTickCount(0xFFFFFF00u);
  Advance(0x100 + 5);
  EXPECT_EQ(platform::TickCount(), 5u);
}

}  // namespace
}  // namespace pelmora::sim::testing
