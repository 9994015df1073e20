// Creating native windows and the plain window operations of the seam.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/character_codes.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/window_classes.h"
#include "platform/win32/window_procedure.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform {

using win32::ToHandle;
using win32::ToHwnd;

namespace {

bool IsSystemControl(WindowClass windowClass) {
  return windowClass == WindowClass::Edit || windowClass == WindowClass::Button;
}

// Top-level windows ask for an exact outer rectangle; the system may adjust it (minimum
// tracking size), so put it back.
void EnforceOuterRect(HWND window, const Rect& wanted) {
  RECT actual{};
  GetWindowRect(window, &actual);
  if (actual.left != wanted.left || actual.top != wanted.top ||
      actual.right - actual.left != wanted.width || actual.bottom - actual.top != wanted.height) {
    SetWindowPos(window, nullptr, wanted.left, wanted.top, wanted.width, wanted.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

WindowHandle CreateNativeWindow(const WindowSpec& request) {
  const std::wstring className = win32::ClassNameFor(request.windowClass, request.className);
  if (className.empty()) return WindowHandle::None;

  auto* record = new win32::WindowRecord{};
  record->windowClass = request.windowClass;
  record->procedure = request.procedure;
  bool released = false;
  record->releasedDuringCreation = &released;

  const bool child = (request.style & vocab::style::Child) != 0;
  const HWND parentOrOwner = ToHwnd(child ? request.parent : request.owner);
  const auto menuOrId = child ? reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(request.childId))
                              : nullptr;
  const std::wstring text = win32::WideFrom936(request.text);
  // Our own classes take the record with their first message; the system classes get it
  // attached right after creation, before they are subclassed.
  const HWND window = CreateWindowExW(
      request.exStyle, className.c_str(), text.c_str(), request.style, request.rect.left, request.rect.top,
      request.rect.width, request.rect.height, parentOrOwner, menuOrId, GetModuleHandleW(nullptr),
      IsSystemControl(request.windowClass) ? nullptr : record);
  if (window == nullptr) {
    if (!released) delete record;
    return WindowHandle::None;
  }
  record->releasedDuringCreation = nullptr;

  if (IsSystemControl(request.windowClass)) {
    win32::AttachRecord(window, record);
    record->systemProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&win32::SubclassProcedure)));
  }
  // A window created minimized or maximized has the system's rectangle, not the stored one.
  const bool placedBySystem =
      (request.style & (vocab::style::Minimize | vocab::style::Maximize)) != 0;
  if (!child && !placedBySystem && request.windowClass != WindowClass::HiddenOwner) {
    EnforceOuterRect(window, request.rect);
  }
  return ToHandle(window);
}

void DestroyNativeWindow(WindowHandle window) { DestroyWindow(ToHwnd(window)); }

bool WindowExists(WindowHandle window) {
  return window != WindowHandle::None && IsWindow(ToHwnd(window));
}

WindowHandle ParentOf(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) == 0) return WindowHandle::None;
  return ToHandle(GetAncestor(hwnd, GA_PARENT));
}

void Reparent(WindowHandle window, WindowHandle newParent) {
  SetParent(ToHwnd(window), ToHwnd(newParent));
}

void ShowNativeWindow(WindowHandle window, vocab::Show command) {
  ShowWindow(ToHwnd(window), static_cast<int>(command));
}

bool IsShown(WindowHandle window) { return IsWindowVisible(ToHwnd(window)) != FALSE; }
bool IsMinimized(WindowHandle window) { return IsIconic(ToHwnd(window)) != FALSE; }
bool IsMaximized(WindowHandle window) { return IsZoomed(ToHwnd(window)) != FALSE; }

void EnableNativeWindow(WindowHandle window, bool enabled) {
  EnableWindow(ToHwnd(window), enabled ? TRUE : FALSE);
}

bool IsEnabled(WindowHandle window) { return IsWindowEnabled(ToHwnd(window)) != FALSE; }

void SetBounds(WindowHandle window, Rect bounds) {
  SetWindowPos(ToHwnd(window), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect BoundsOf(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
    MapWindowPoints(HWND_DESKTOP, GetAncestor(hwnd, GA_PARENT), reinterpret_cast<POINT*>(&rect),
                    2);
  }
  return Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Size ClientSizeOf(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  RECT rect{};
  // The text band is the edit box's business: to the run time the client area stays whole, so
  // a band computed again (new font, new size) is computed from the same area.
  const win32::WindowRecord* record = win32::RecordOf(hwnd);
  if (record != nullptr && record->textBand) {
    rect = record->textBand->fullClient;
  } else {
    GetClientRect(hwnd, &rect);
  }
  return Size{rect.right - rect.left, rect.bottom - rect.top};
}

void SetText(WindowHandle window, std::string_view text) {
  SetWindowTextW(ToHwnd(window), win32::WideFrom936(text).c_str());
}

std::string TextOf(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return win32::Cp936FromWide(wide);
}

void SetStyles(WindowHandle window, std::uint32_t style, std::uint32_t exStyle) {
  const HWND hwnd = ToHwnd(window);
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(static_cast<LONG>(style)));
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(static_cast<LONG>(exStyle)));
  // Caption and frame bits take effect only when the frame is recalculated.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::uint32_t StyleOf(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

std::uint32_t ExStyleOf(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_EXSTYLE));
}

void PlaceBelow(WindowHandle window, WindowHandle above) {
  const HWND insertAfter = above == WindowHandle::None ? HWND_TOP : ToHwnd(above);
  SetWindowPos(ToHwnd(window), insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SetTopmost(WindowHandle window, bool topmost) {
  SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RemoveMoveCommand(WindowHandle window) {
  const HMENU menu = GetSystemMenu(ToHwnd(window), FALSE);
  if (menu != nullptr) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
}

void Invalidate(WindowHandle window) { InvalidateRect(ToHwnd(window), nullptr, TRUE); }

void BeginTitleBarDrag(WindowHandle window) {
  const HWND topLevel = GetAncestor(ToHwnd(window), GA_ROOT);
  ReleaseCapture();
  SendMessageW(topLevel, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void SetFocusTo(WindowHandle window) { SetFocus(ToHwnd(window)); }
WindowHandle FocusedWindow() { return ToHandle(GetFocus()); }

void Activate(WindowHandle window) {
  // Foreground as well: an active window of a background program gets no keyboard input.
  SetForegroundWindow(ToHwnd(window));
  SetActiveWindow(ToHwnd(window));
}

WindowHandle ActiveWindow() { return ToHandle(GetActiveWindow()); }

std::intptr_t SendToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  return SendMessageW(ToHwnd(window), message, wParam, lParam);
}

// ---- Edit boxes --------------------------------------------------------------------------

void SetEditLimit(WindowHandle edit, std::uint32_t maxLength) {
  SendMessageW(ToHwnd(edit), EM_LIMITTEXT, maxLength, 0);
}

void SetEditPasswordChar(WindowHandle edit, std::uint16_t character) {
  // The stored character is a code page 936 code (a double-byte one as lead << 8 | trail).
  const wchar_t wide = character == 0 ? L'\0' : win32::WideCharOf(character);
  SendMessageW(ToHwnd(edit), EM_SETPASSWORDCHAR, wide, 0);
  InvalidateRect(ToHwnd(edit), nullptr, TRUE);
}

void SetEditSelection(WindowHandle edit, std::uint32_t start, std::uint32_t length) {
  const HWND hwnd = ToHwnd(edit);
  SendMessageW(hwnd, EM_SETSEL, start, start + length);
  SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

void SetEditTextBand(WindowHandle edit, std::int32_t top, std::int32_t height) {
  const HWND hwnd = ToHwnd(edit);
  win32::WindowRecord* record = win32::RecordOf(hwnd);
  if (record == nullptr || record->systemProcedure == nullptr) return;
  if (height > 0) {
    record->textBand = win32::EditTextBand{top, height, {}, {}};
  } else {
    record->textBand.reset();
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Timers ------------------------------------------------------------------------------

void StartTimer(WindowHandle window, std::uint32_t id, std::uint32_t periodMs) {
  SetTimer(ToHwnd(window), id, periodMs, nullptr);
}

void StopTimer(WindowHandle window, std::uint32_t id) { KillTimer(ToHwnd(window), id); }

}  // namespace pelmora::platform
