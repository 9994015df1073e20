// RaiseEvent: bindings, handler results, binding sources and suppression.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kA = 0x16010003;
constexpr ControlId kB = 0x16010004;
constexpr ControlId kC = 0x16010005;
constexpr KindId kOtherKind = 0x00030007;

class RaiseEventTest : public RuntimeTest {
 protected:
  EventNotice Notice(ControlId control, EventNumber event, std::vector<std::uint32_t> arguments = {}) {
    EventNotice notice;
    notice.windowId = kMain;
    notice.controlId = control;
    notice.eventNumber = event;
    notice.argumentCount = static_cast<std::uint32_t>(arguments.size());
    std::copy(arguments.begin(), arguments.end(), notice.arguments.begin());
    return notice;
  }
  bool Raise(ControlId control, EventNumber event) {
    EventNotice notice = Notice(control, event);
    return runtime->RaiseEvent(notice);
  }
  FixtureChildKind otherKind{log, kOtherKind};
};

TEST_F(RaiseEventTest, CallsTheFirstMatchingHandlerWithTheArguments) {
  std::vector<std::uint32_t> received;
  std::pair<WindowId, ControlId> source;
  onHandler = [&](std::uint32_t reference, Runtime& r, std::span<const std::uint32_t> arguments) {
    log.Add("handler " + std::to_string(reference));
    received.assign(arguments.begin(), arguments.end());
    source = r.EventSource();
    return HandlerResult{};
  };
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kA, kFixtureChildKindId)
                             .Bind(1, kNoHandler)
                             .Bind(-3, 2)
                             .Bind(-3, 3)})});
  EventNotice notice = Notice(kA, -3, {11, 22, 33});
  EXPECT_TRUE(runtime->RaiseEvent(notice));
  EXPECT_EQ(log.Count("handler 2"), 1);
  EXPECT_EQ(log.Count("handler 3"), 0);
  EXPECT_EQ(received, (std::vector<std::uint32_t>{11, 22, 33}));
  EXPECT_EQ(source, (std::pair<WindowId, ControlId>{kMain, kA}));
  EXPECT_EQ(runtime->EventSource().first, 0u);

  // Bound to no routine, or not bound at all: nothing runs and it is no failure.
  EXPECT_FALSE(Raise(kA, 1));
  EXPECT_FALSE(Raise(kA, 0));
  EXPECT_FALSE(Raise(0, 0));
  EXPECT_EQ(log.Count("handler 2"), 1);
}

TEST_F(RaiseEventTest, HasResultOnlyWhenTheHandlerReturnsAValue) {
  struct Case {
    HandlerResult returned;
    std::uint32_t hasResult;
    std::uint32_t result;
  };
  const Case cases[] = {{std::nullopt, 0, 99}, {0u, 1, 0}, {7u, 1, 7}};
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).Bind(-9, 1)})});
  for (const Case& c : cases) {
    onHandler = [&](std::uint32_t, Runtime&, std::span<const std::uint32_t>) { return c.returned; };
    EventNotice notice = Notice(0, -9);
    notice.result = 99;
    EXPECT_TRUE(runtime->RaiseEvent(notice));
    EXPECT_EQ(notice.hasResult, c.hasResult);
    EXPECT_EQ(notice.result, c.result);
  }
}

TEST_F(RaiseEventTest, BindingSourcesOfTheSameKindLendTheirBindings) {
  std::pair<WindowId, ControlId> source;
  onHandler = [&](std::uint32_t reference, Runtime& r, std::span<const std::uint32_t>) {
    log.Add("handler " + std::to_string(reference));
    source = r.EventSource();
    return HandlerResult{};
  };
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kA, kFixtureChildKindId).Bind(0, 1),
                         ControlBuilder(kB, kFixtureChildKindId).BindingSource(kA).Bind(0, 2),
                         ControlBuilder(kC, kOtherKind).BindingSource(kA).Bind(0, 3)})},
       {&windowKind, &childKind, &otherKind});
  EXPECT_TRUE(Raise(kB, 0));
  EXPECT_EQ(log.Count("handler 1"), 1);
  EXPECT_EQ(log.Count("handler 2"), 0);
  EXPECT_EQ(source, (std::pair<WindowId, ControlId>{kMain, kB}));
  // A source of another kind is not followed.
  EXPECT_TRUE(Raise(kC, 0));
  EXPECT_EQ(log.Count("handler 3"), 1);
}

TEST_F(RaiseEventTest, ABindingSourceChainThatLoopsIsUnbound) {
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kA, kFixtureChildKindId).BindingSource(kB).Bind(0, 1),
                         ControlBuilder(kB, kFixtureChildKindId).BindingSource(kC).Bind(0, 2),
                         ControlBuilder(kC, kFixtureChildKindId).BindingSource(kA).Bind(0, 3)})});
  for (ControlId control : {kA, kB, kC}) EXPECT_FALSE(Raise(control, 0));
  EXPECT_EQ(sim::MessageBoxes().size(), 0u);
  for (const auto& entry : log.entries) EXPECT_FALSE(entry.starts_with("handler"));
}

TEST_F(RaiseEventTest, EventsRaisedWhileSuppressedAreLost) {
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kA, kFixtureChildKindId).Bind(0, 1)})});
  const auto timerWindow = NativeWindowOf(kMain, kA);
  platform::StartTimer(timerWindow, 1, 100);

  runtime->SuppressEvents();
  EXPECT_TRUE(runtime->EventsSuppressed());
  EXPECT_FALSE(Raise(kA, 0));
  sim::Advance(250);  // ticks while suppressed
  runtime->ResumeEvents();
  sim::RunUntilIdle();
  EXPECT_EQ(log.Count("handler 1"), 0);

  sim::Advance(100);  // and the next tick is delivered
  EXPECT_EQ(log.Count("handler 1"), 1);
  platform::StopTimer(timerWindow, 1);
}

TEST_F(RaiseEventTest, ResumeNeverGoesBelowZero) {
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).Bind(5, 1)})});
  runtime->ResumeEvents();
  runtime->ResumeEvents();
  EXPECT_FALSE(runtime->EventsSuppressed());
  runtime->SuppressEvents();
  runtime->ResumeEvents();
  EXPECT_TRUE(Raise(0, 5));
}

}  // namespace
}  // namespace pelmora::testing
