// The timer kind on the simulated platform: a loaded window with one timer whose Tick is bound
// to a handler that notes the virtual time of every call.
#include "runtime/kinds/timer_kind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "runtime/byte_reader.h"
#include "runtime/runtime_texts.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kWindow = 0x52010001;
constexpr ControlId kWindowControl = 0x06010000;
constexpr ControlId kTimer = 0x1601000C;
constexpr std::uint32_t kTickHandler = 1;

std::vector<std::uint8_t> TimerBlockBytes(std::uint32_t version, std::int32_t period) {
  ByteWriter writer;
  writer.U32(version);
  writer.I32(period);
  return writer.Take();
}

class TimerKindTest : public RuntimeTest {
 protected:
  void LoadTimer(std::vector<std::uint8_t> block = {},
                 std::uint32_t flags = state_flag::Visible) {
    onHandler = [this](std::uint32_t reference, Runtime& r, std::span<const std::uint32_t>) {
      if (reference == kTickHandler) {
        ticks.push_back(sim::Now() - origin);
        if (onTick) onTick(r);
      }
      return HandlerResult{};
    };
    Load({WindowOf(
             kWindow, {ControlBuilder(kWindowControl, kind_ids::Window).At(0, 0, 400, 300),
                       ControlBuilder(kTimer, kind_ids::Timer)
                           .Name("\xCA\xB1\xD6\xD3\x31")  // 时钟1
                           .At(368, 264, 26, 26)
                           .Flags(flags)
                           .Bind(timer::Tick, kTickHandler)
                           .KindBlock(std::move(block))})},
         {&windowKind, &TimerKind()});
    host = NativeWindowOf(kWindow, kTimer);
    frame = NativeWindowOf(kWindow, kWindowControl);
  }

  // Writes a number as a handler would: its low 32 bits in the low word, the rest above.
  void WritePeriod(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    runtime->WriteProperty(kWindow, kTimer, timer::Period, -1,
                           static_cast<std::uintptr_t>(bits & 0xFFFFFFFFu),
                           static_cast<std::uint32_t>(bits >> 32));
  }

  std::int32_t Period() {
    return static_cast<std::int32_t>(
        runtime->ReadProperty(kWindow, kTimer, timer::Period).low);
  }

  // Starts counting tick times from now.
  void MarkOrigin() { origin = sim::Now(); }

  std::uint64_t origin = 0;
  std::vector<std::uint64_t> ticks;  // ms after the origin
  std::function<void(Runtime&)> onTick;
  platform::WindowHandle host = platform::WindowHandle::None;
  platform::WindowHandle frame = platform::WindowHandle::None;
};

TEST_F(TimerKindTest, HiddenChildOfTheFormWithTheStoredRectangle) {
  LoadTimer({}, state_flag::Visible | state_flag::Disabled);
  ASSERT_NE(host, platform::WindowHandle::None);
  const auto info = sim::Inspect(host);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->windowClass, platform::WindowClass::TimerHost);
  EXPECT_EQ(info->parent, frame);
  EXPECT_EQ(info->bounds, (platform::Rect{368, 264, 26, 26}));
  EXPECT_EQ(info->childId, 100u);
  EXPECT_EQ(info->style & (vocab::style::Child | vocab::style::ClipSiblings),
            vocab::style::Child | vocab::style::ClipSiblings);
  // Never shown and never disabled, whatever its flags.
  EXPECT_FALSE(info->visible);
  EXPECT_TRUE(info->enabled);
  EXPECT_TRUE(info->runningTimers.empty());
  EXPECT_EQ(Period(), 0);
}

TEST_F(TimerKindTest, FirstTickOnePeriodAfterTheWriteThenEveryPeriod) {
  LoadTimer();
  sim::Advance(1234);  // the countdown runs from the write, not from the load
  MarkOrigin();
  WritePeriod(5000);
  EXPECT_EQ(sim::TimerPeriod(host, timer::SystemTimerId), 5000u);
  EXPECT_EQ(Period(), 5000);
  sim::Advance(4999);
  EXPECT_TRUE(ticks.empty());
  sim::Advance(10001);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{5000, 10000, 15000}));
}

struct RewriteCase {
  std::string name;
  std::uint32_t after;         // ms after writing 5000
  std::int64_t second;         // the value written then
  std::int32_t periodReadBack;
  std::vector<std::uint64_t> ticks;  // within 10500 ms of the first write
};

TEST_F(TimerKindTest, RewritingARunningTimer) {
  const std::vector<RewriteCase> cases = {
      {"the same period restarts nothing", 2000, 5000, 5000, {5000, 10000}},
      {"the same low word with a high word restarts nothing", 2000,
       (std::int64_t{1} << 32) + 5000, 5000, {5000, 10000}},
      {"a shorter period restarts from the write", 1000, 3000, 3000, {4000, 7000, 10000}},
      {"a longer period restarts from the write", 4000, 6000, 6000, {10000}},
      {"0 stops", 1000, 0, 0, {}},
      {"a negative period stops and reads 0", 1000, -1000, 0, {}},
      {"2^32 + 1000 arrives as 1000 ms", 1000, (std::int64_t{1} << 32) + 1000, 1000,
       {2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}},
      {"3 x 10^9 arrives negative and stops", 1000, 3'000'000'000, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ticks.clear();
    LoadTimer();
    MarkOrigin();
    WritePeriod(5000);
    sim::Advance(c.after);
    WritePeriod(c.second);
    EXPECT_EQ(Period(), c.periodReadBack);
    sim::Advance(10500 - c.after);
    EXPECT_EQ(ticks, c.ticks);
    const auto running = sim::TimerPeriod(host, timer::SystemTimerId);
    EXPECT_EQ(running.has_value(), c.periodReadBack > 0);
  }
}

struct StoredCase {
  std::string name;
  std::vector<std::uint8_t> block;
  std::int32_t periodReadBack;
  std::vector<std::uint64_t> ticks;  // within 1000 ms of the load
};

TEST_F(TimerKindTest, StoredPeriodAppliesFromCreation) {
  const std::vector<StoredCase> cases = {
      {"no block: stopped", {}, 0, {}},
      {"version 1, period 0: stopped", TimerBlockBytes(1, 0), 0, {}},
      {"a positive period ticks without any write", TimerBlockBytes(0, 400), 400, {400, 800}},
      {"a negative period stays stopped and reads as stored", TimerBlockBytes(1, -1000), -1000,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ticks.clear();
    MarkOrigin();
    LoadTimer(c.block);
    EXPECT_EQ(Period(), c.periodReadBack);
    sim::Advance(1000);
    EXPECT_EQ(ticks, c.ticks);
  }
}

TEST_F(TimerKindTest, FirstWriteCorrectsANegativeStoredPeriod) {
  LoadTimer(TimerBlockBytes(1, -1000));
  WritePeriod(0);
  EXPECT_EQ(Period(), 0);
  WritePeriod(-1000);  // corrected to 0, the value now stored: nothing happens
  EXPECT_EQ(Period(), 0);
  EXPECT_FALSE(sim::TimerPeriod(host, timer::SystemTimerId).has_value());
}

TEST_F(TimerKindTest, BadBlockFailsTheLoad) {
  const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> blocks = {
      {"version 2", TimerBlockBytes(2, 1000)},
      {"ends inside the period", std::vector<std::uint8_t>{1, 0, 0, 0, 0xE8, 0x03, 0}},
  };
  for (const auto& [name, block] : blocks) {
    SCOPED_TRACE(name);
    TearDown();
    SetUp();
    ExpectRuntimeError([&, block = block] { LoadTimer(block); },
                       runtime_text::kStartupWindowFailed);
  }
}

TEST_F(TimerKindTest, EveryTimerMessageTicksWhateverItsIdentifier) {
  LoadTimer();
  platform::SendToWindow(host, vocab::msg::Timer, 7, 0);
  platform::SendToWindow(host, vocab::msg::Timer, timer::SystemTimerId, 0);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(TimerKindTest, DestroyingTheFormKillsTheSystemTimer) {
  std::vector<std::pair<platform::WindowHandle, std::uint32_t>> stopped;
  sim::Observer observer;
  observer.timerStopped = [&](platform::WindowHandle window, std::uint32_t id) {
    stopped.emplace_back(window, id);
  };
  sim::SetObserver(observer);
  LoadTimer(TimerBlockBytes(1, 300));
  platform::DestroyNativeWindow(frame);
  EXPECT_EQ(stopped, (std::vector<std::pair<platform::WindowHandle, std::uint32_t>>{
                         {host, timer::SystemTimerId}}));
  sim::Advance(1000);
  EXPECT_TRUE(ticks.empty());
  // The record is no longer live.
  ExpectRuntimeError([&] { Period(); }, runtime_text::kWindowNotLoaded);
}

TEST_F(TimerKindTest, TickHandlerMayDestroyTheWindow) {
  LoadTimer(TimerBlockBytes(1, 300));
  onTick = [this](Runtime&) { platform::DestroyNativeWindow(frame); };
  sim::Advance(1000);
  EXPECT_EQ(ticks, (std::vector<std::uint64_t>{300}));
  EXPECT_FALSE(platform::WindowExists(host));
}

}  // namespace
}  // namespace pelmora::testing
