// Timers on the virtual clock: their schedules, and the timer message the loop makes when it
// finds nothing else to take.
#include <algorithm>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

// The system keeps a period between these bounds, whatever is asked.
constexpr std::uint32_t kShortestPeriod = 10;
constexpr std::uint32_t kLongestPeriod = 0x7FFFFFFF;

}  // namespace

std::optional<std::uint64_t> NextDueTime() {
  std::optional<std::uint64_t> next;
  for (const Timer& timer : TheWorld().timers) {
    if (!next || timer.nextDue < *next) next = timer.nextDue;
  }
  return next;
}

// A timer message is made only when nothing else waits: the earliest due timer gives one,
// and its next due time is the first of its schedule after now, so ticks missed while the
// program was busy are skipped, not delivered in a burst.
std::optional<QueuedItem> MakeDueTimerMessage() {
  World& world = TheWorld();
  Timer* due = nullptr;
  for (Timer& timer : world.timers) {
    if (timer.nextDue <= world.now && (due == nullptr || timer.nextDue < due->nextDue)) {
      due = &timer;
    }
  }
  if (due == nullptr) return std::nullopt;
  const std::uint64_t missed = (world.now - due->nextDue) / due->period;
  due->nextDue += (missed + 1) * due->period;
  QueuedItem item;
  item.kind = QueuedItem::Kind::Timer;
  item.message = {due->window, vocab::msg::Timer, due->id, 0};
  return item;
}

void RemoveTimersOf(WindowHandle window) {
  std::erase_if(TheWorld().timers, [window](const Timer& timer) { return timer.window == window; });
}

}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

void StartTimer(WindowHandle window, std::uint32_t id, std::uint32_t periodMs) {
  if (FindLiving(window) == nullptr) return;
  World& world = TheWorld();
  const std::uint32_t period = std::clamp(periodMs, kShortestPeriod, kLongestPeriod);
  auto running = std::find_if(world.timers.begin(), world.timers.end(), [&](const Timer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (running == world.timers.end()) {
    world.timers.push_back(Timer{window, id, period, world.now + period});
  } else {
    running->period = period;
    running->nextDue = world.now + period;
  }
  // The observer hears the period the program asked for; the system's clamping is its own.
  if (world.observer.timerStarted) world.observer.timerStarted(window, id, periodMs);
}

void StopTimer(WindowHandle window, std::uint32_t id) {
  World& world = TheWorld();
  const auto removed = std::erase_if(world.timers, [&](const Timer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (removed > 0 && world.observer.timerStopped) world.observer.timerStopped(window, id);
}

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;

std::optional<std::uint32_t> TimerPeriod(platform::WindowHandle window, std::uint32_t id) {
  for (const Timer& timer : TheWorld().timers) {
    if (timer.window == window && timer.id == id) return timer.period;
  }
  return std::nullopt;
}

}  // namespace pelmora::sim
