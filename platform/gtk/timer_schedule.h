// The arithmetic of timers on absolute deadlines: each tick is due a whole number of periods
// after the start, whenever the one before it was delivered, so late deliveries never push
// the rhythm back (no drift); a deadline that has passed more than once gives one tick and
// the missed ones are skipped (no burst).
#pragma once

#include <cstdint>

namespace pelmora::gtk {

// Times in microseconds of the monotonic clock.
struct TimerSchedule {
  std::int64_t periodUs = 0;
  std::int64_t nextDueUs = 0;

  static TimerSchedule StartingAt(std::int64_t nowUs, std::uint32_t periodMs) {
    std::int64_t period = static_cast<std::int64_t>(periodMs == 0 ? 1 : periodMs) * 1000;
    return {period, nowUs + period};
  }

  bool IsDue(std::int64_t nowUs) const { return nowUs >= nextDueUs; }

  // After a tick was delivered at nowUs: the first deadline of the rhythm still ahead.
  void Advance(std::int64_t nowUs) {
    nextDueUs += periodUs;
    if (nextDueUs <= nowUs) {
      std::int64_t missed = (nowUs - nextDueUs) / periodUs + 1;
      nextDueUs += missed * periodUs;
    }
  }
};

}  // namespace pelmora::gtk
