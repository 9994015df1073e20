// The back end's record of every window it made, and the registry that turns the run time's
// WindowHandle values into records. Handles are registry keys, counted up and never reused,
// so a stale handle finds nothing instead of a pointer into freed memory.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace pelmora::gtk {

using platform::WindowHandle;

struct NativeWindow {
  WindowHandle handle = WindowHandle::None;
  platform::WindowClass windowClass = platform::WindowClass::Frame;
  // The web view's own window inside a browser host: a window of the browser, not of the run
  // time (no procedure); input aimed at the page names it as its target.
  bool browserView = false;
  // Top level: the GtkWindow. Child: the control's widget. Null for windows that are only
  // records (timer hosts, the hidden owner).
  GtkWidget* widget = nullptr;
  // Where children go: the frame's and the browser host's GtkFixed; null otherwise.
  GtkWidget* client = nullptr;
  platform::WindowProcedure* procedure = nullptr;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  WindowHandle parent = WindowHandle::None;
  WindowHandle owner = WindowHandle::None;
  std::uint32_t childId = 0;
  // Code page 936 text of windows whose widget does not hold it (frames keep their exact
  // bytes here; an edit box's text lives in its GtkEntry).
  std::string text;
  platform::Rect bounds;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool maximized = false;
  bool active = false;
  // RemoveMoveCommand took the window manager's move function away.
  bool movable = true;
  // Children, top of the stacking order first.
  std::vector<WindowHandle> children;
  platform::FontSpec font;
  // Per-widget style sheet for font and colours.
  GtkCssProvider* css = nullptr;
  std::string cssFont;
  std::string cssColours;
  std::optional<std::pair<std::int32_t, std::int32_t>> editTextBand;  // top, height
  // Set once the destroy sequence has begun: the widget's own destroy signal then does nothing.
  bool destroying = false;
  // Set while SetText changes an entry: the entry's own change signal is then not reported,
  // because SetText reports the change once itself.
  bool settingText = false;
};

NativeWindow* Find(WindowHandle handle);
// The record of the widget or of its nearest ancestor that has one.
NativeWindow* FindByWidget(GtkWidget* widget);
WindowHandle Register(std::unique_ptr<NativeWindow> window);
void Unregister(WindowHandle handle);
// Every live record's handle, in creation order.
std::vector<WindowHandle> AllWindows();

bool IsTopLevel(const NativeWindow& window);
// The top-level window a window belongs to (itself for a top level).
NativeWindow* TopLevelOf(NativeWindow* window);

// Calls the window's procedure, if the window is alive and has one; 0 otherwise.
std::intptr_t Deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0);

// Packs two 16-bit halves as the message words do: low | high << 16.
inline std::intptr_t PackWords(std::int32_t low, std::int32_t high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                    ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}

// Whether GTK has been started (StartComponentServices succeeded).
bool GtkStarted();

// Focus bookkeeping (focus.cpp): works out which window holds the keyboard focus now and
// sends KillFocus / SetFocus when that changed.
void UpdateFocus();
// The same, once GTK has finished the focus change it is reporting.
void UpdateFocusSoon();
WindowHandle CurrentFocus();
void ForgetFocus(WindowHandle window);
// Lets a window that has no focusable widget hold the focus of its top level.
void GiveWidgetlessFocus(WindowHandle window);

// Input (input.cpp): the GDK event handler that does pre-translation.
void InstallInputHandler();
// The input event being offered to the message filter right now, or null.
GdkEvent* InputEventBeingOffered();
// While one lives, events pass to GTK without pre-translation (a modal box's own loop).
struct ModalLoop {
  ModalLoop();
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;
};

// Timers (timers.cpp).
void StopTimersOf(WindowHandle window);

}  // namespace pelmora::gtk
