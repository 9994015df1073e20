// System timers: one GLib source for all of them, woken at the earliest absolute deadline.
// g_timeout_add reschedules from the moment a tick ran and so drifts by the dispatch delay on
// every tick; here deadlines are fixed multiples of the period (timer_schedule.h). The source
// runs below input and redrawing, so ticks come when nothing else waits, and it delivers at
// most one tick per timer per wake-up.
#include <glib.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/gtk/native_window.h"
#include "platform/gtk/timer_schedule.h"

namespace pelmora::gtk {
namespace {

using TimerKey = std::pair<std::uintptr_t, std::uint32_t>;  // window, id

std::map<TimerKey, TimerSchedule>& Timers() {
  static std::map<TimerKey, TimerSchedule> timers;
  return timers;
}

GSource* timerSource = nullptr;

// After input (G_PRIORITY_DEFAULT) and GTK's resizing and redrawing (HIGH_IDLE + 10 / + 20).
constexpr int kTimerPriority = G_PRIORITY_HIGH_IDLE + 30;

void Rearm() {
  if (timerSource == nullptr) return;
  if (Timers().empty()) {
    g_source_set_ready_time(timerSource, -1);
    return;
  }
  std::int64_t earliest = INT64_MAX;
  for (const auto& [key, schedule] : Timers()) earliest = std::min(earliest, schedule.nextDueUs);
  g_source_set_ready_time(timerSource, earliest);
}

gboolean DispatchTicks(GSource*, GSourceFunc, gpointer) {
  std::int64_t now = g_get_monotonic_time();
  std::vector<TimerKey> due;
  for (auto& [key, schedule] : Timers()) {
    if (schedule.IsDue(now)) {
      schedule.Advance(now);
      due.push_back(key);
    }
  }
  Rearm();
  // A procedure may stop or restart timers, or destroy windows, while it handles a tick.
  for (const TimerKey& key : due) {
    if (Timers().count(key) == 0) continue;
    Deliver(static_cast<WindowHandle>(key.first), vocab::msg::Timer, key.second);
  }
  return G_SOURCE_CONTINUE;
}

GSourceFuncs kTimerSourceFuncs = {nullptr, nullptr, DispatchTicks, nullptr, nullptr, nullptr};

void EnsureSource() {
  if (timerSource != nullptr) return;
  timerSource = g_source_new(&kTimerSourceFuncs, sizeof(GSource));
  g_source_set_priority(timerSource, kTimerPriority);
  g_source_set_name(timerSource, "pelmora timers");
  g_source_set_ready_time(timerSource, -1);
  g_source_attach(timerSource, nullptr);
}

}  // namespace

void StopTimersOf(WindowHandle window) {
  auto key = static_cast<std::uintptr_t>(window);
  auto& timers = Timers();
  for (auto it = timers.lower_bound({key, 0}); it != timers.end() && it->first.first == key;) {
    it = timers.erase(it);
  }
  Rearm();
}

}  // namespace pelmora::gtk

namespace pelmora::platform {

void StartTimer(WindowHandle window, std::uint32_t id, std::uint32_t periodMs) {
  if (gtk::Find(window) == nullptr) return;
  gtk::EnsureSource();
  // Starting a running timer again restarts its countdown, as the system does.
  gtk::Timers()[{static_cast<std::uintptr_t>(window), id}] =
      gtk::TimerSchedule::StartingAt(g_get_monotonic_time(), periodMs);
  gtk::Rearm();
}

void StopTimer(WindowHandle window, std::uint32_t id) {
  gtk::Timers().erase({static_cast<std::uintptr_t>(window), id});
  gtk::Rearm();
}

}  // namespace pelmora::platform
