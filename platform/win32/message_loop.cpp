// The GUI thread's message loop: every message taken from the queue is offered to the run
// time's filter (pre-translation) before it is translated and dispatched.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/character_codes.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform {

namespace {

MessageFilter* g_filter = nullptr;

// True when the filter claimed the message. Character messages cross in code page 936 (the
// run time's encoding) and come back converted if the filter replaced the character.
bool OfferToFilter(MSG& native) {
  if (g_filter == nullptr || native.hwnd == nullptr) return false;
  const bool character = native.message == WM_CHAR || native.message == WM_SYSCHAR;
  Message message{win32::ToHandle(native.hwnd), native.message,
                  static_cast<std::uintptr_t>(native.wParam),
                  static_cast<std::intptr_t>(native.lParam)};
  if (character) message.wParam = win32::Cp936CodeOf(static_cast<wchar_t>(native.wParam));
  const std::uintptr_t offered = message.wParam;
  if (g_filter->PreTranslate(message)) return true;
  if (character) {
    if (message.wParam != offered) native.wParam = win32::WideCharOf(message.wParam);
  } else {
    native.wParam = static_cast<WPARAM>(message.wParam);
  }
  native.lParam = static_cast<LPARAM>(message.lParam);
  return false;
}

void Deliver(MSG& native) {
  if (OfferToFilter(native)) return;
  TranslateMessage(&native);
  DispatchMessageW(&native);
}

}  // namespace

void InstallMessageFilter(MessageFilter* filter) { g_filter = filter; }

int RunMessageLoop() {
  MSG native{};
  for (;;) {
    const BOOL got = GetMessageW(&native, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(native.wParam);
    if (got == -1) return -1;  // only with invalid arguments; nothing more can be taken
    Deliver(native);
  }
}

void PumpWaitingMessages() {
  // Timer messages are made whenever a timer is due and the queue is otherwise empty, so a
  // timer whose handler takes longer than its period would keep this pump busy for ever.
  // Ticks that fall due after the pump started wait for the outer loop.
  const DWORD started = GetTickCount();
  MSG native{};
  while (PeekMessageW(&native, nullptr, 0, 0, PM_NOREMOVE)) {
    if (native.message == WM_TIMER && static_cast<LONG>(native.time - started) > 0) return;
    if (!PeekMessageW(&native, nullptr, 0, 0, PM_REMOVE)) return;
    if (native.message == WM_QUIT) {
      // The quit request belongs to the outer loop: put it back and stop.
      PostQuitMessage(static_cast<int>(native.wParam));
      return;
    }
    Deliver(native);
  }
}

void PostQuit(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace pelmora::platform
