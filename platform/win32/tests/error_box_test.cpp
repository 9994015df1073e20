// The error box: owned by no window, captions and text shown in their characters, and the
// program's timers keep ticking while it waits for the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/tests/test_windows.h"

namespace pelmora::platform {
namespace {

using win32::testing::MakeTopLevel;
using win32::testing::PumpFor;
using win32::testing::RecordingProcedure;

struct SeenBox {
  bool found = false;
  bool owned = true;
  std::wstring caption;
  std::vector<std::wstring> texts;
};

BOOL CALLBACK CollectText(HWND child, LPARAM seen) {
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  reinterpret_cast<SeenBox*>(seen)->texts.emplace_back(text);
  return TRUE;
}

TEST(ErrorBox, ShowsTheTextsUnownedWhileTimersKeepTicking) {
  // 错误 (error) and 运行时出错! (a run-time error occurred!)
  const std::string caption = "\xB4\xED\xCE\xF3";
  const std::string text = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!";
  const std::wstring wideCaption = L"\x9519\x8BEF";
  const std::wstring wideText = L"\x8FD0\x884C\x65F6\x51FA\x9519!";

  RecordingProcedure procedure;
  const WindowHandle frame = MakeTopLevel(procedure);
  ASSERT_NE(frame, WindowHandle::None);
  SeenBox seen;
  int ticks = 0;
  procedure.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id != vocab::msg::Timer) return 0;
    // The user looks at the box only after a few ticks have gone by under it.
    if (++ticks < 3) return 0;
    const HWND box = FindWindowW(L"#32770", wideCaption.c_str());
    if (box == nullptr || seen.found) return 0;
    seen.found = true;
    seen.owned = GetWindow(box, GW_OWNER) != nullptr;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  };
  StartTimer(frame, 1000, 20);
  ShowErrorBox(caption, text);
  StopTimer(frame, 1000);

  ASSERT_TRUE(seen.found) << "no box with the caption was open";
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(seen.owned);
  EXPECT_NE(std::find(seen.texts.begin(), seen.texts.end(), wideText), seen.texts.end());
  DestroyNativeWindow(frame);
  PumpFor(20);
}

}  // namespace
}  // namespace pelmora::platform
