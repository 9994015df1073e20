// What the back end keeps for each window it created: the run time's procedure, the system
// procedure of a subclassed control, and the drawing objects the window owns. The record is
// attached to the window as a property and freed after the window's final message.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/platform.h"

namespace pelmora::platform::win32 {

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
inline WindowHandle ToHandle(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// The single-line edit box's text line: a band of the system's client area; the rest of
// that area is painted and hit-tested as frame.
struct EditTextBand {
  int top = 0;
  int height = 0;
  // Both in window coordinates, as computed at the last WM_NCCALCSIZE.
  RECT fullClient{};
  RECT band{};
};

struct EditColours {
  COLORREF text = 0;
  COLORREF background = 0;
  HBRUSH brush = nullptr;
};

struct WindowRecord {
  WindowClass windowClass = WindowClass::Frame;
  WindowProcedure* procedure = nullptr;
  // The system class's procedure of a subclassed EDIT or BUTTON; null for our own classes.
  WNDPROC systemProcedure = nullptr;
  HFONT ownedFont = nullptr;
  HICON ownedBigIcon = nullptr;
  HICON ownedSmallIcon = nullptr;
  std::optional<EditColours> colours;
  std::optional<EditTextBand> textBand;
  // Set while CreateNativeWindow waits for the system: tells it whether a failed creation
  // already released the record (the window got its final message).
  bool* releasedDuringCreation = nullptr;
};

void AttachRecord(HWND window, WindowRecord* record);
WindowRecord* RecordOf(HWND window);
// Detaches the record and releases what it owns; the record itself is deleted.
void ReleaseRecord(HWND window);

}  // namespace pelmora::platform::win32
