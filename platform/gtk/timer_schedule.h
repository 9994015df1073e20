// The arithmetic of timers on absolute deadlines: each tick is due a whole number of periods
// after the start, whenever the one before it was delivered, so late deliveries never push
// the rhythm back (no drift); a deadline that has passed more than once gives one tick and
// the missed ones are skipped (no burst).
#pragma once

#include <algorithm>
#include <cstdint>

namespace pelmora::gtk {

// The bounds the Windows program's system keeps a timer's period in, whatever is asked: the
// same interval typed in gives the same rhythm on both programs, and a period of 0 or 1 ms
// cannot turn the loop into a busy one.
inline constexpr std::uint32_t kShortestTimerPeriodMs = 10;
inline constexpr std::uint32_t kLongestTimerPeriodMs = 0x7FFFFFFF;

// Times in microseconds of the monotonic clock.
struct TimerSchedule {
  std::int64_t periodUs = 0;
  std::int64_t nextDueUs = 0;

  static TimerSchedule StartingAt(std::int64_t nowUs, std::uint32_t periodMs) {
    std::uint32_t kept = std::clamp(periodMs, kShortestTimerPeriodMs, kLongestTimerPeriodMs);
    std::int64_t period = static_cast<std::int64_t>(kept) * 1000;
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
