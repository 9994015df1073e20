// Timers on the real main loop: rhythm without drift, and no burst after a stall.
#include <glib.h>

#include <cmath>
#include <vector>

#include "platform/gtk/tests/live_fixture.h"

namespace pelmora::gtk::testing {
namespace {

class TimerRhythm : public LiveTest {
 protected:
  // Ticks of a 50 ms timer over 2 s, as monotonic times in ms; the tick numbered stallAt
  // (when given) holds the loop for 500 ms.
  std::vector<double> CollectTicks(int stallAt) {
    Log log;
    RecordingProcedure procedure("timers", log);
    std::vector<double> ticks;
    procedure.onMessage = [&](const platform::Message& m) {
      if (m.id != vocab::msg::Timer || m.wParam != 7) return;
      ticks.push_back(g_get_monotonic_time() / 1000.0);
      if (static_cast<int>(ticks.size()) == stallAt) g_usleep(500'000);
    };
    platform::WindowSpec request;
    request.windowClass = platform::WindowClass::HiddenOwner;
    request.procedure = &procedure;
    WindowHandle owner = platform::CreateNativeWindow(request);
    start_ = g_get_monotonic_time() / 1000.0;
    platform::StartTimer(owner, 7, 50);
    WaitFor([] { return false; }, 2000);
    platform::StopTimer(owner, 7);
    platform::DestroyNativeWindow(owner);
    return ticks;
  }
  double start_ = 0;
};

TEST_F(TimerRhythm, TicksStayOnTheirGridInsteadOfDrifting) {
  std::vector<double> ticks = CollectTicks(0);
  ASSERT_GE(ticks.size(), 38u);
  EXPECT_LE(ticks.size(), 40u);
  // Tick n is due n * 50 ms after the start; a timer that reschedules from each late dispatch
  // would be a few ms later on every tick, 40 ms and more by the end.
  double worst = 0;
  for (std::size_t n = 0; n < ticks.size(); ++n) {
    double late = ticks[n] - (start_ + 50.0 * static_cast<double>(n + 1));
    worst = std::max(worst, std::abs(late));
  }
  EXPECT_LT(worst, 25.0);
}

TEST_F(TimerRhythm, AStalledLoopSkipsTicksInsteadOfBursting) {
  std::vector<double> ticks = CollectTicks(10);
  // 40 ticks without the stall; the 500 ms stall costs about 10, made up by none.
  EXPECT_GE(ticks.size(), 29u);
  EXPECT_LE(ticks.size(), 33u);
  // After the stall: one late tick, then back on the grid; never three within a period.
  for (std::size_t n = 2; n < ticks.size(); ++n) {
    EXPECT_GT(ticks[n] - ticks[n - 2], 45.0) << "burst at tick " << n;
  }
}

}  // namespace
}  // namespace pelmora::gtk::testing
