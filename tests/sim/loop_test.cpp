// The loops of the simulated system: the program's message loop with its quit request, the
// pump that leaves a quit queued, waiting for the user, and the error box's nested loop.
#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using platform::WindowHandle;

class LoopTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    frame = Frame(frameProcedure);
    platform::ShowNativeWindow(frame, vocab::Show::Show);
    host = Child(frame, platform::WindowClass::TimerHost, hostProcedure);
    trace.clear();
  }

  Recorder& frameProcedure = Procedure("frame");
  Recorder& hostProcedure = Procedure("host");
  WindowHandle frame{};
  WindowHandle host{};
};

TEST_F(LoopTest, PumpProcessesEverythingButLeavesTheQuitRequestForTheLoop) {
  RecordingFilter filter(trace);
  platform::InstallMessageFilter(&filter);
  frameProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Close) {
      platform::PostQuit(7);
      MoveMouse(frame, {1, 1});  // queued behind the quit request
      platform::PumpWaitingMessages();
      trace.push_back("pumped");
    }
    return 0;
  };
  PressCloseButton(frame);
  EXPECT_THAT(trace, ElementsAre("frame:Close(0)", "filter:MouseMove(0)", "pumped"));
  trace.clear();
  EXPECT_EQ(platform::RunMessageLoop(), 7);
  EXPECT_TRUE(trace.empty());
}

TEST_F(LoopTest, TheLoopEndsWithTheCodeOfTheQuitPostedFromAHandler) {
  platform::StartTimer(host, 1000, 100);
  int ticks = 0;
  hostProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Timer && ++ticks == 3) platform::PostQuit(-1);
    return 0;
  };
  // The user lets a whole second pass; the loop wakes for every tick on the way.
  SetUser([] {
    Advance(1000);
    return true;
  });
  EXPECT_EQ(platform::RunMessageLoop(), -1);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(Now(), 300u);
}

TEST_F(LoopTest, AUserWithNoFurtherStepEndsTheWaitingLoop) {
  int steps = 0;
  SetUser([&] {
    ++steps;
    if (steps == 1) Click(frame);
    return steps < 3;
  });
  EXPECT_THROW(platform::RunMessageLoop(), UserFinished);
  EXPECT_EQ(steps, 3);

  SetUser(nullptr);
  EXPECT_THROW(platform::RunMessageLoop(), UserFinished);
}

TEST_F(LoopTest, InputQueuedByAUserStepIsProcessedByTheWaitingLoop) {
  RecordingFilter filter(trace);
  platform::InstallMessageFilter(&filter);
  bool done = false;
  SetUser([&] {
    if (done) return false;
    done = true;
    Click(frame);
    trace.push_back("step over");  // nothing processed inside the step
    return true;
  });
  EXPECT_THROW(platform::RunMessageLoop(), UserFinished);
  EXPECT_THAT(trace, ElementsAre("step over", "filter:LButtonDown(1)", "filter:LButtonUp(0)"));
}

TEST_F(LoopTest, TheErrorBoxKeepsTimersTickingUntilOkIsPressed) {
  platform::StartTimer(host, 1000, 100);
  int step = 0;
  SetUser([&] {
    ++step;
    if (step == 1) Advance(250);
    if (step == 2) PressOk();
    return step <= 2;
  });
  std::vector<std::string> opened;
  Observer observer;
  observer.messageBoxOpened = [&](std::string_view caption, std::string_view) {
    opened.emplace_back(caption);
  };
  SetObserver(observer);

  platform::ShowErrorBox("caption", "text");

  EXPECT_THAT(trace, ElementsAre("host:Timer(1000)", "host:Timer(1000)"));
  EXPECT_EQ(Now(), 250u);
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0].caption, "caption");
  EXPECT_EQ(MessageBoxes()[0].text, "text");
  EXPECT_FALSE(MessageBoxOpen());
  EXPECT_THAT(opened, ElementsAre("caption"));
}

TEST_F(LoopTest, TheErrorBoxIsAnsweredAtOnceWhenAskedToAndLeavesAQuitQueued) {
  AnswerMessageBoxesAutomatically(true);
  platform::PostQuit(0);
  platform::ShowErrorBox("a", "b");  // no user: would throw if the box waited for one
  EXPECT_FALSE(MessageBoxOpen());
  EXPECT_EQ(platform::RunMessageLoop(), 0);
}

TEST_F(LoopTest, WithoutAnAnswerTheBoxStaysOpenWhenTheUserHasNoMoreSteps) {
  EXPECT_THROW(platform::ShowErrorBox("a", "b"), UserFinished);
  EXPECT_TRUE(MessageBoxOpen());
}

TEST_F(LoopTest, EndProcessIsSeenAsAnExceptionCarryingTheExitCode) {
  hostProcedure.reaction = [](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Timer) platform::EndProcess(-1);
    return 0;
  };
  platform::StartTimer(host, 1000, 100);
  SetUser([] {
    Advance(100);
    return true;
  });
  try {
    platform::RunMessageLoop();
    ADD_FAILURE() << "the loop returned";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.exitCode, -1);
  }
  // The sim is usable afterwards: its processing state was unwound.
  Trace after;
  RecordingFilter filter(after);
  platform::InstallMessageFilter(&filter);
  MoveMouse(frame, {1, 1});
  EXPECT_THAT(after, ElementsAre("filter:MouseMove(0)"));
}

}  // namespace
}  // namespace pelmora::sim::testing
