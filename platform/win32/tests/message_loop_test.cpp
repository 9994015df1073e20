// The loop, pre-translation and notifications against the real window manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/tests/test_windows.h"

namespace pelmora::platform {
namespace {

using win32::ToHwnd;
using win32::testing::MakeChild;
using win32::testing::MakeTopLevel;
using win32::testing::PumpFor;
using win32::testing::PumpUntil;
using win32::testing::RecordingFilter;
using win32::testing::RecordingProcedure;

class LoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = MakeTopLevel(frameProcedure_);
    ASSERT_NE(frame_, WindowHandle::None);
    InstallMessageFilter(&filter_);
  }
  void TearDown() override {
    InstallMessageFilter(nullptr);
    DestroyNativeWindow(frame_);
    PumpFor(20);
  }

  RecordingProcedure frameProcedure_;
  RecordingFilter filter_;
  WindowHandle frame_ = WindowHandle::None;
};

void SendMouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

TEST_F(LoopTest, DoubleClickOnButtonGivesPressReleaseClickThenDoubleClickReleaseClick) {
  RecordingProcedure buttonProcedure;
  const WindowHandle button =
      MakeChild(WindowClass::Button, frame_, buttonProcedure, {20, 20, 120, 40}, 0, 0, "go");
  ASSERT_NE(button, WindowHandle::None);
  Activate(frame_);
  PumpFor(100);

  // One log of what the filter is offered for the button and what the button's own procedure
  // hears, in the order it happens.
  std::vector<std::string> log;
  filter_.decide = [&](Message& m) {
    if (m.window != button) return false;
    if (m.id == vocab::msg::LButtonDown) log.push_back("down");
    if (m.id == vocab::msg::LButtonUp) log.push_back("up");
    if (m.id == vocab::msg::LButtonDblClk) log.push_back("double");
    return false;
  };
  buttonProcedure.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id == vocab::msg::ReflectedCommand) log.push_back("clicked:" + std::to_string(m.wParam));
    return 0;
  };

  RECT rect{};
  GetWindowRect(ToHwnd(button), &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PumpFor(50);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  SendMouseButton(MOUSEEVENTF_LEFTUP);

  const std::vector<std::string> expected{"down",   "up", "clicked:0",
                                          "double", "up", "clicked:0"};
  PumpUntil([&] { return log.size() >= expected.size(); }, 3000);
  EXPECT_EQ(log, expected);
}

TEST_F(LoopTest, FilterThatClaimsADoubleClickKeepsTheSecondPressFromTheButton) {
  RecordingProcedure buttonProcedure;
  const WindowHandle button =
      MakeChild(WindowClass::Button, frame_, buttonProcedure, {20, 20, 120, 40}, 0, 0, "go");
  filter_.decide = [&](Message& m) {
    return m.window == button && m.id == vocab::msg::LButtonDblClk;
  };
  const HWND hwnd = ToHwnd(button);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpFor(100);
  EXPECT_EQ(buttonProcedure.Count(vocab::msg::ReflectedCommand), 1u);
}

struct NotificationCase {
  const char* name;
  WindowClass windowClass;
  void (*cause)(WindowHandle control);
  std::uintptr_t code;
};

class NotificationTest : public LoopTest,
                         public ::testing::WithParamInterface<NotificationCase> {};

TEST_P(NotificationTest, ReachesTheControlsOwnProcedureAsReflectedCommand) {
  const NotificationCase& c = GetParam();
  RecordingProcedure controlProcedure;
  const WindowHandle control =
      MakeChild(c.windowClass, frame_, controlProcedure, {10, 10, 150, 30});
  ASSERT_NE(control, WindowHandle::None);
  c.cause(control);
  PumpFor(30);
  ASSERT_EQ(controlProcedure.Count(vocab::msg::ReflectedCommand), 1u);
  for (const Message& m : controlProcedure.messages) {
    if (m.id == vocab::msg::ReflectedCommand) {
      EXPECT_EQ(m.wParam, c.code);
    }
  }
  // The parent is not told: the notification belongs to the control.
  EXPECT_EQ(frameProcedure_.Count(vocab::msg::ReflectedCommand), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, NotificationTest,
    ::testing::Values(
        NotificationCase{"ButtonClick", WindowClass::Button,
                         [](WindowHandle b) { SendToWindow(b, BM_CLICK, 0, 0); },
                         vocab::notify::ButtonClicked},
        NotificationCase{"EditSetText", WindowClass::Edit,
                         [](WindowHandle e) { SetText(e, "abc"); }, vocab::notify::EditChanged},
        NotificationCase{"EditTyped", WindowClass::Edit,
                         [](WindowHandle e) { PostMessageW(ToHwnd(e), WM_CHAR, L'x', 1); },
                         vocab::notify::EditChanged}),
    [](const auto& info) { return std::string(info.param.name); });

// Characters cross the filter as code page 936 codes and come back converted.
struct CharacterCase {
  const char* name;
  wchar_t typed;
  std::uintptr_t offeredCode;
  std::optional<std::uintptr_t> replacement;  // none: let it through unchanged
  bool claim;
  std::string expectedText;
};

class CharacterFilterTest : public LoopTest,
                            public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(CharacterFilterTest, SeesAndReplacesCharactersInCodePage936) {
  const CharacterCase& c = GetParam();
  RecordingProcedure editProcedure;
  const WindowHandle edit = MakeChild(WindowClass::Edit, frame_, editProcedure, {10, 10, 150, 24});
  std::optional<std::uintptr_t> offered;
  filter_.decide = [&](Message& m) {
    if (m.window != edit || m.id != vocab::msg::Char) return false;
    offered = m.wParam;
    if (c.replacement) m.wParam = *c.replacement;
    return c.claim;
  };
  PostMessageW(ToHwnd(edit), WM_CHAR, c.typed, 1);
  PumpFor(30);
  ASSERT_TRUE(offered.has_value());
  EXPECT_EQ(*offered, c.offeredCode);
  EXPECT_EQ(TextOf(edit), c.expectedText);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, CharacterFilterTest,
    ::testing::Values(
        CharacterCase{"AsciiThrough", L'a', 'a', std::nullopt, false, "a"},
        CharacterCase{"AsciiClaimed", L'a', 'a', std::nullopt, true, ""},
        CharacterCase{"AsciiReplaced", L'a', 'a', 'b', false, "b"},
        // 自 is U+81EA, d7 d4 in code page 936; 动 is U+52A8, b6 af.
        CharacterCase{"ChineseThrough", L'\x81EA', 0xD7D4, std::nullopt, false, "\xD7\xD4"},
        CharacterCase{"ChineseReplaced", L'a', 'a', 0xB6AF, false, "\xB6\xAF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoopTest, PumpProcessesWaitingMessagesAndLeavesTheQuitRequestQueued) {
  const HWND hwnd = ToHwnd(frame_);
  PostMessageW(hwnd, vocab::msg::PageRefresh, 1, 0);
  PostMessageW(hwnd, vocab::msg::PageRefresh, 2, 0);
  PostQuit(7);
  PumpWaitingMessages();
  EXPECT_EQ(frameProcedure_.Count(vocab::msg::PageRefresh), 2u);
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  // The loop takes it at once and ends with its code.
  EXPECT_EQ(RunMessageLoop(), 7);
}

TEST_F(LoopTest, TimerTicksReachTheProcedureUntilStopped) {
  constexpr std::uint32_t kId = 1000;
  constexpr std::uint32_t kPeriod = 30;
  int ticks = 0;
  frameProcedure_.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id == vocab::msg::Timer && m.wParam == kId && ++ticks == 3) {
      StopTimer(frame_, kId);
      PostQuit(0);
    }
    return 0;
  };
  const DWORD start = GetTickCount();
  StartTimer(frame_, kId, kPeriod);
  EXPECT_EQ(RunMessageLoop(), 0);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(ticks, 3);
  EXPECT_GE(elapsed, 3 * kPeriod - 20);  // the system timer may round a little
  PumpFor(3 * kPeriod);
  EXPECT_EQ(ticks, 3) << "ticks after StopTimer";
}

TEST_F(LoopTest, PumpLeavesTicksThatFallDueWhileItRunsToTheLoop) {
  // A handler slower than its timer's period must not keep the pump going for ever.
  constexpr std::uint32_t kId = 1000;
  int ticks = 0;
  frameProcedure_.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id != vocab::msg::Timer) return 0;
    Sleep(20);
    if (++ticks == 20) StopTimer(frame_, kId);  // ends the test's wait if the pump does not
    return 0;
  };
  StartTimer(frame_, kId, 5);
  Sleep(20);
  PumpWaitingMessages();
  StopTimer(frame_, kId);
  EXPECT_LE(ticks, 2);
}

TEST_F(LoopTest, CloseRequestIsLeftToTheProcedure) {
  SendToWindow(frame_, vocab::msg::Close, 0, 0);
  EXPECT_EQ(frameProcedure_.Count(vocab::msg::Close), 1u);
  EXPECT_TRUE(WindowExists(frame_));
}

TEST_F(LoopTest, TheProceduresAnswerDecidesTheEndOfTheSession) {
  for (const std::intptr_t answer : {0, 1}) {
    frameProcedure_.answer = [&](const Message& m) -> std::intptr_t {
      return m.id == vocab::msg::QueryEndSession ? answer : 0;
    };
    EXPECT_EQ(SendToWindow(frame_, vocab::msg::QueryEndSession, 0, 0), answer);
  }
}

TEST(WindowLifetime, DestroyReachesChildrenBeforeTheParentsFinalMessage) {
  std::vector<std::string> log;
  struct Named final : WindowProcedure {
    std::vector<std::string>* log;
    std::string name;
    std::intptr_t OnMessage(const Message& m) override {
      if (m.id == vocab::msg::Destroy) log->push_back(name + ".destroy");
      if (m.id == vocab::msg::NcDestroy) log->push_back(name + ".final");
      return 0;
    }
  };
  Named parentProcedure;
  parentProcedure.log = &log;
  parentProcedure.name = "frame";
  Named childProcedure;
  childProcedure.log = &log;
  childProcedure.name = "label";
  const WindowHandle frame = MakeTopLevel(parentProcedure);
  const WindowHandle label = MakeChild(WindowClass::Label, frame, childProcedure, {0, 0, 50, 20});
  ASSERT_NE(label, WindowHandle::None);
  EXPECT_EQ(ParentOf(label), frame);
  EXPECT_EQ(ParentOf(frame), WindowHandle::None);
  DestroyNativeWindow(frame);
  EXPECT_FALSE(WindowExists(frame));
  EXPECT_FALSE(WindowExists(label));
  const std::vector<std::string> expected{"frame.destroy", "label.destroy", "label.final",
                                          "frame.final"};
  EXPECT_EQ(log, expected);
}

}  // namespace
}  // namespace pelmora::platform
