// Real input from xdotool through the GDK event handler: what the run time's filter sees.
#include <algorithm>
#include <string>

#include "platform/gtk/tests/live_fixture.h"

namespace pelmora::gtk::testing {
namespace {

namespace msg = vocab::msg;

struct DoubleClickCase {
  const char* name;
  bool claimDoubleClick;
  Log expected;
};

class DoubleClickOnButton : public LiveTest,
                            public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickOnButton, ReachesTheFilterAsDownUpDoubleClickUp) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure buttonProcedure("button", log);
  RecordingFilter filter(log);
  const platform::Rect frameRect{100, 100, 300, 200};
  WindowHandle frame = MakeFrame(&frameProcedure, frameRect);
  const platform::Rect buttonRect{40, 50, 120, 60};
  WindowHandle button =
      MakeChild(frame, platform::WindowClass::Button, buttonRect, &buttonProcedure, "go");
  filter.Name(button, "button");
  filter.Name(frame, "frame");
  bool claim = GetParam().claimDoubleClick;
  filter.claim = [claim](const platform::Message& m) {
    return claim && m.id == msg::LButtonDblClk;
  };
  platform::InstallMessageFilter(&filter);
  ASSERT_TRUE(ShowAndActivate(frame));
  RunFor(200);
  log.clear();

  platform::Rect outer = platform::BoundsOf(frame);
  int x = outer.left + buttonRect.left + buttonRect.width / 2;
  int y = outer.top + buttonRect.top + buttonRect.height / 2;
  Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) +
          " sleep 0.3 click --repeat 2 --delay 80 1");
  const std::size_t expectedCount = GetParam().expected.size();
  WaitFor([&] { return log.size() >= expectedCount; }, 5000);
  RunFor(400);  // nothing more may come
  EXPECT_EQ(log, GetParam().expected);
  platform::DestroyNativeWindow(frame);
}

INSTANTIATE_TEST_SUITE_P(
    , DoubleClickOnButton,
    ::testing::Values(
        DoubleClickCase{"let_through",
                        false,
                        {"button LButtonDown", "button LButtonUp", "button Clicked",
                         "button LButtonDblClk", "button LButtonUp", "button Clicked"}},
        // A claimed double click never presses the button: no second click.
        DoubleClickCase{"claimed",
                        true,
                        {"button LButtonDown", "button LButtonUp", "button Clicked",
                         "button LButtonDblClk", "button LButtonUp"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiveTest, AltF4AsksTheTopLevelToCloseWithoutAWindowManager) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure editProcedure("edit", log);
  RecordingFilter filter(log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 300, 200});
  WindowHandle edit = MakeChild(frame, platform::WindowClass::Edit, {10, 10, 200, 30},
                                &editProcedure);
  filter.Name(edit, "edit");
  platform::InstallMessageFilter(&filter);
  ASSERT_TRUE(ShowAndActivate(frame));
  platform::SetFocusTo(edit);
  ASSERT_TRUE(WaitFor([&] { return platform::FocusedWindow() == edit; }));
  log.clear();

  Xdotool("key alt+F4");
  ASSERT_TRUE(WaitFor([&] {
    for (const auto& line : log) {
      if (line == "frame Close") return true;
    }
    return false;
  }, 5000));
  // The key went to the focused edit box first, as a system key; the close came after it.
  const std::string altF4 = "edit SysKeyDown " + std::to_string(vocab::vk::F4);
  auto keyAt = std::find(log.begin(), log.end(), altF4);
  auto closeAt = std::find(log.begin(), log.end(), "frame Close");
  EXPECT_NE(keyAt, log.end());
  EXPECT_LT(keyAt, closeAt);
  EXPECT_EQ(std::count(log.begin(), log.end(), "frame Close"), 1);
  // The procedure decides: the window is still there.
  EXPECT_TRUE(platform::WindowExists(frame));
  platform::DestroyNativeWindow(frame);
}

TEST_F(LiveTest, AClaimedKeyNeverReachesTheWidget) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure editProcedure("edit", log);
  RecordingFilter filter(log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 300, 200});
  WindowHandle edit = MakeChild(frame, platform::WindowClass::Edit, {10, 10, 200, 30},
                                &editProcedure);
  filter.Name(edit, "edit");
  // 'b' is claimed at its key-down; 'c' is replaced by 'C' at its character message.
  filter.claim = [](const platform::Message& m) { return m.id == msg::KeyDown && m.wParam == 'B'; };
  struct Replacer final : platform::MessageFilter {
    RecordingFilter* inner = nullptr;
    bool PreTranslate(platform::Message& m) override {
      if (m.id == msg::Char && m.wParam == 'c') m.wParam = 'C';
      return inner->PreTranslate(m);
    }
  } replacer;
  replacer.inner = &filter;
  platform::InstallMessageFilter(&replacer);
  ASSERT_TRUE(ShowAndActivate(frame));
  platform::SetFocusTo(edit);
  ASSERT_TRUE(WaitFor([&] { return platform::FocusedWindow() == edit; }));

  Xdotool("type --delay 60 abc");
  ASSERT_TRUE(WaitFor([&] { return platform::TextOf(edit).size() >= 2; }, 5000));
  RunFor(300);
  EXPECT_EQ(platform::TextOf(edit), "aC");
  platform::DestroyNativeWindow(frame);
}

}  // namespace
}  // namespace pelmora::gtk::testing

namespace pelmora::gtk::testing {
namespace {

TEST_F(LiveTest, ClicksMoveTheFocusBetweenEditBoxesAfterTyping) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure editProcedure("edit", log);
  RecordingFilter filter(log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 400, 200});
  WindowHandle first = MakeChild(frame, platform::WindowClass::Edit, {10, 10, 200, 32},
                                 &editProcedure, "http://");
  WindowHandle second = MakeChild(frame, platform::WindowClass::Edit, {220, 10, 100, 32},
                                  &editProcedure, "5");
  platform::SetEditTextBand(first, 8, 16);
  platform::SetEditTextBand(second, 8, 16);
  // As the run time's window does: a frame that receives the focus hands it on to the control
  // that had it last; it must not take a click's focus change back.
  WindowHandle lastFocused = first;
  editProcedure.onMessage = [&](const platform::Message& m) {
    if (m.id == vocab::msg::SetFocus) lastFocused = m.window;
  };
  frameProcedure.onMessage = [&](const platform::Message& m) {
    if (m.id == vocab::msg::SetFocus) platform::SetFocusTo(lastFocused);
  };
  filter.Name(first, "first");
  filter.Name(second, "second");
  platform::InstallMessageFilter(&filter);
  ASSERT_TRUE(ShowAndActivate(frame));
  platform::Rect outer = platform::BoundsOf(frame);
  auto centre = [&](platform::Rect r) {
    return std::to_string(outer.left + r.left + r.width / 2) + " " +
           std::to_string(outer.top + r.top + r.height / 2);
  };
  Xdotool("mousemove " + centre({10, 10, 200, 32}) + " click 1 sleep 0.3 key ctrl+a type abc");
  ASSERT_TRUE(WaitFor([&] { return platform::TextOf(first) == "abc"; }, 5000));
  Xdotool("mousemove " + centre({220, 10, 100, 32}) + " click 1 sleep 0.3 key ctrl+a type 7");
  ASSERT_TRUE(WaitFor([&] { return platform::TextOf(second) == "7"; }, 5000))
      << "first: " << platform::TextOf(first) << " second: " << platform::TextOf(second);
  EXPECT_EQ(platform::FocusedWindow(), second);
  platform::DestroyNativeWindow(frame);
}

}  // namespace
}  // namespace pelmora::gtk::testing
