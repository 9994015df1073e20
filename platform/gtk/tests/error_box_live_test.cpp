// The modal error box: its own loop keeps timers going and does no pre-translation.
#include <glib.h>

#include "platform/gtk/tests/live_fixture.h"

namespace pelmora::gtk::testing {
namespace {

TEST_F(LiveTest, ErrorBoxRunsItsOwnLoopUntilOkIsPressed) {
  Log log;
  RecordingProcedure procedure("owner", log);
  RecordingFilter filter(log);
  int ticks = 0;
  procedure.onMessage = [&](const platform::Message& m) {
    if (m.id == vocab::msg::Timer) ++ticks;
  };
  platform::WindowSpec request;
  request.windowClass = platform::WindowClass::HiddenOwner;
  request.procedure = &procedure;
  WindowHandle owner = platform::CreateNativeWindow(request);
  // A window of ours beside the box: a click on it while the box is open is not offered.
  WindowHandle frame = MakeFrame(&procedure, {20, 20, 200, 150});
  filter.Name(frame, "frame");
  ASSERT_TRUE(ShowAndActivate(frame));
  platform::InstallMessageFilter(&filter);
  platform::StartTimer(owner, 1, 50);

  // 错误 as the caption; the user finds the box by it and presses Enter on OK.
  Xdotool("search --sync --name '^\xE9\x94\x99\xE8\xAF\xAF$' sleep 0.3 mousemove 100 80 click 1 "
          "search --name '^\xE9\x94\x99\xE8\xAF\xAF$' windowfocus --sync sleep 0.3 key Return");
  gint64 start = g_get_monotonic_time();
  platform::ShowErrorBox("\xB4\xED\xCE\xF3", "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n");
  double seconds = (g_get_monotonic_time() - start) / 1e6;

  EXPECT_GT(seconds, 0.5);   // it waited for the user
  EXPECT_LT(seconds, 10.0);  // and returned when OK was pressed
  EXPECT_GE(ticks, 8);       // timers ticked inside the box's loop
  EXPECT_TRUE(log.empty()) << "the box's loop offered " << log.size() << " messages";
  platform::StopTimer(owner, 1);
  platform::DestroyNativeWindow(owner);
  platform::DestroyNativeWindow(frame);
}

}  // namespace
}  // namespace pelmora::gtk::testing
