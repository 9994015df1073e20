#include "platform/gtk/timer_schedule.h"

#include <gtest/gtest.h>

namespace pelmora::gtk {
namespace {

TEST(TimerSchedule, LateDeliveriesDoNotShiftTheRhythm) {
  TimerSchedule schedule = TimerSchedule::StartingAt(1'000'000, 100);
  EXPECT_FALSE(schedule.IsDue(1'099'999));
  // Every tick delivered 3 ms late: the deadlines stay on the 100 ms grid.
  for (int tick = 1; tick <= 1500; ++tick) {
    std::int64_t due = 1'000'000 + tick * 100'000;
    ASSERT_EQ(schedule.nextDueUs, due) << tick;
    ASSERT_TRUE(schedule.IsDue(due + 3'000));
    schedule.Advance(due + 3'000);
  }
}

TEST(TimerSchedule, AStalledLoopSkipsMissedTicksInsteadOfBursting) {
  TimerSchedule schedule = TimerSchedule::StartingAt(0, 50);
  // The loop comes back 520 ms late: one tick now, the next on the grid after now.
  schedule.Advance(570'000);
  EXPECT_EQ(schedule.nextDueUs, 600'000);
  EXPECT_FALSE(schedule.IsDue(570'001));
  // Exactly on a deadline: that one counts as delivered.
  TimerSchedule exact = TimerSchedule::StartingAt(0, 50);
  exact.Advance(100'000);
  EXPECT_EQ(exact.nextDueUs, 150'000);
}

TEST(TimerSchedule, PeriodsAreKeptWithinTheSystemsBounds) {
  struct Case {
    std::uint32_t askedMs;
    std::int64_t keptUs;
  };
  for (const Case& c : {Case{0, 10'000}, Case{1, 10'000}, Case{9, 10'000}, Case{10, 10'000},
                        Case{11, 11'000}, Case{0x7FFFFFFF, 0x7FFFFFFFLL * 1000},
                        Case{0xFFFFFFFF, 0x7FFFFFFFLL * 1000}}) {
    TimerSchedule schedule = TimerSchedule::StartingAt(5'000, c.askedMs);
    EXPECT_EQ(schedule.periodUs, c.keptUs) << c.askedMs;
    EXPECT_EQ(schedule.nextDueUs, 5'000 + c.keptUs) << c.askedMs;
  }
}

}  // namespace
}  // namespace pelmora::gtk
