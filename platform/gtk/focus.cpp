// Keyboard focus and activation. GTK keeps a focus widget per top-level window and knows which
// top level is active; the run time knows one focused window. The focused window is the
// window of the active top level's focus widget (or that top level itself when no widget has
// the focus), and every change of it is reported as KillFocus to the old window and SetFocus
// to the new one, in that order.
#include <gtk/gtk.h>

#include "platform/gtk/native_window.h"

namespace pelmora::gtk {
namespace {

WindowHandle currentFocus = WindowHandle::None;
// The window that holds the focus while GTK's focus widget of the active top level is none:
// the top level itself or a window that GTK cannot focus (a browser host before it passes the
// focus on to its page).
WindowHandle widgetlessFocus = WindowHandle::None;

NativeWindow* ActiveTopLevel() {
  for (WindowHandle handle : AllWindows()) {
    NativeWindow* window = Find(handle);
    if (window != nullptr && IsTopLevel(*window) && window->widget != nullptr &&
        GTK_IS_WINDOW(window->widget) && window->active && !window->destroying) {
      return window;
    }
  }
  return nullptr;
}

WindowHandle FocusNow() {
  NativeWindow* top = ActiveTopLevel();
  if (top == nullptr) return WindowHandle::None;
  GtkWidget* focusWidget = gtk_window_get_focus(GTK_WINDOW(top->widget));
  if (focusWidget != nullptr) widgetlessFocus = WindowHandle::None;
  if (focusWidget == nullptr) {
    NativeWindow* holder = Find(widgetlessFocus);
    if (holder != nullptr && !holder->destroying && TopLevelOf(holder) == top) {
      return holder->handle;
    }
    return top->handle;
  }
  NativeWindow* owner = FindByWidget(focusWidget);
  if (owner == nullptr || owner->destroying) return top->handle;
  return owner->handle;
}

}  // namespace

void UpdateFocus() {
  static bool busy = false;
  static bool again = false;
  if (busy) {
    again = true;
    return;
  }
  busy = true;
  do {
    again = false;
    WindowHandle now = FocusNow();
    if (now == currentFocus) continue;
    WindowHandle before = currentFocus;
    currentFocus = now;
    auto word = [](WindowHandle handle) { return static_cast<std::uintptr_t>(handle); };
    if (before != WindowHandle::None) Deliver(before, vocab::msg::KillFocus, word(now));
    if (now != WindowHandle::None && currentFocus == now) {
      Deliver(now, vocab::msg::SetFocus, word(before));
    }
  } while (again);
  busy = false;
}

// GTK tells of a focus change while it is still making it (the old widget loses the focus
// before the new one has it). Looking then would report a passing state to the procedures,
// and one that moves the focus in reply would undo the user's click; so the look is taken
// once GTK is done.
void UpdateFocusSoon() {
  static guint pending = 0;
  if (pending != 0) return;
  pending = g_idle_add_full(
      G_PRIORITY_HIGH,
      [](gpointer) -> gboolean {
        pending = 0;
        UpdateFocus();
        return G_SOURCE_REMOVE;
      },
      nullptr, nullptr);
}

WindowHandle CurrentFocus() { return currentFocus; }

void ForgetFocus(WindowHandle window) {
  if (currentFocus == window) currentFocus = WindowHandle::None;
  if (widgetlessFocus == window) widgetlessFocus = WindowHandle::None;
}

void GiveWidgetlessFocus(WindowHandle window) { widgetlessFocus = window; }

}  // namespace pelmora::gtk

namespace pelmora::platform {

void SetFocusTo(WindowHandle window) {
  gtk::NativeWindow* record = gtk::Find(window);
  if (record == nullptr) return;
  gtk::NativeWindow* top = gtk::TopLevelOf(record);
  if (top == nullptr || top->widget == nullptr) return;
  bool focusable = record != top && record->widget != nullptr &&
                   gtk_widget_get_can_focus(record->widget);
  if (focusable) {
    gtk::GiveWidgetlessFocus(WindowHandle::None);
    gtk_widget_grab_focus(record->widget);
  } else {
    // The frame itself, or a window GTK cannot focus (a browser host, whose procedure passes
    // the focus on to its page), holds the focus with no GTK focus widget.
    gtk::GiveWidgetlessFocus(window);
    gtk_window_set_focus(GTK_WINDOW(top->widget), nullptr);
  }
  // Focusing a window of an inactive top level activates it, as the system does.
  if (!top->active && gtk_widget_get_visible(top->widget)) {
    gtk_window_present(GTK_WINDOW(top->widget));
  }
  gtk::UpdateFocus();
}

WindowHandle FocusedWindow() { return gtk::CurrentFocus(); }

void Activate(WindowHandle window) {
  gtk::NativeWindow* top = gtk::TopLevelOf(gtk::Find(window));
  if (top == nullptr || top->widget == nullptr) return;
  gtk_window_present(GTK_WINDOW(top->widget));
}

WindowHandle ActiveWindow() {
  for (WindowHandle handle : gtk::AllWindows()) {
    gtk::NativeWindow* record = gtk::Find(handle);
    if (record != nullptr && gtk::IsTopLevel(*record) && record->active) return handle;
  }
  return WindowHandle::None;
}

}  // namespace pelmora::platform
