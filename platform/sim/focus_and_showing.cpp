// Visibility, enabled state, minimize / maximize, activation and the keyboard focus of the
// simulated windows, with the messages the system sends for each change.
#include "platform/sim/world.h"

namespace pelmora::sim::detail {

void MoveFocus(WindowHandle newFocus) {
  World& world = TheWorld();
  const WindowHandle oldFocus = world.focus;
  if (oldFocus == newFocus) return;
  world.focus = newFocus;
  BrowserHostLostFocus(oldFocus);
  Send(oldFocus, vocab::msg::KillFocus, static_cast<std::uintptr_t>(newFocus));
  if (world.focus == newFocus && FindLiving(newFocus) != nullptr) {
    Send(newFocus, vocab::msg::SetFocus, static_cast<std::uintptr_t>(oldFocus));
  }
}

void ActivateTopLevel(WindowHandle topLevel) {
  World& world = TheWorld();
  if (world.active == topLevel || FindLiving(topLevel) == nullptr) return;
  const WindowHandle previous = world.active;
  world.active = topLevel;
  Send(previous, vocab::msg::Activate, 0, static_cast<std::intptr_t>(topLevel));
  if (world.active != topLevel || FindLiving(topLevel) == nullptr) return;
  Send(topLevel, vocab::msg::Activate, 1, static_cast<std::intptr_t>(previous));
  SimWindow* window = FindLiving(topLevel);
  if (world.active != topLevel || window == nullptr) return;
  // The system's own handling of an activation: the window itself takes the focus, unless
  // it is minimized (then nothing has it).
  if (window->minimized) {
    MoveFocus(WindowHandle::None);
  } else if (!IsSameOrDescendant(world.focus, topLevel)) {
    MoveFocus(topLevel);
  }
}

void LeaveSubtree(WindowHandle window, bool deactivate) {
  World& world = TheWorld();
  if (deactivate && IsSameOrDescendant(world.active, window)) {
    const WindowHandle previous = world.active;
    world.active = WindowHandle::None;
    Send(previous, vocab::msg::Activate, 0, 0);
  }
  if (IsSameOrDescendant(world.focus, window)) MoveFocus(WindowHandle::None);
}

}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

namespace {

Rect WorkArea() { return WorkAreaNear(WindowHandle::None); }

// Leaves the minimized or maximized state for the normal one.
void RestoreState(WindowHandle handle) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return;
  if (window->maximized) {
    window->maximized = false;
    window->minimized = false;
    ApplyBounds(handle, window->restoredBounds, 0);
  } else if (window->minimized) {
    window->minimized = false;
    const Size client = ClientSize(*window);
    Send(handle, vocab::msg::Size, 0, PackPoint(client.width, client.height));
  }
}

}  // namespace

void ShowNativeWindow(WindowHandle handle, vocab::Show command) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return;
  const bool topLevel = window->parent == WindowHandle::None;
  if (command == vocab::Show::Hide) {
    if (!window->visible) return;
    window->visible = false;
    Send(handle, vocab::msg::ShowWindow, 0);
    LeaveSubtree(handle, true);
    return;
  }
  if (!window->visible) {
    window->visible = true;
    Send(handle, vocab::msg::ShowWindow, 1);
    if (topLevel && TheWorld().observer.windowShown) TheWorld().observer.windowShown(handle);
  }
  window = FindLiving(handle);
  if (window == nullptr) return;
  switch (command) {
    case vocab::Show::Normal:
    case vocab::Show::Restore:
      RestoreState(handle);
      break;
    case vocab::Show::ShowMaximized:
      if (!window->maximized) {
        if (!window->minimized) window->restoredBounds = window->bounds;
        window->minimized = false;
        window->maximized = true;
        ApplyBounds(handle, WorkArea(), 2);
      }
      break;
    case vocab::Show::ShowMinimized:
      if (!window->minimized) {
        window->minimized = true;
        Send(handle, vocab::msg::Size, 1, 0);
      }
      break;
    case vocab::Show::Show:
    case vocab::Show::ShowNoActivate:
    case vocab::Show::Hide:
      break;
  }
  if (topLevel && command != vocab::Show::ShowNoActivate) ActivateTopLevel(handle);
}

bool IsShown(WindowHandle handle) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return false;
  for (; window != nullptr; window = Find(window->parent)) {
    if (!window->visible) return false;
  }
  return true;
}

bool IsMinimized(WindowHandle window) {
  SimWindow* found = Find(window);
  return found != nullptr && found->minimized;
}

bool IsMaximized(WindowHandle window) {
  SimWindow* found = Find(window);
  return found != nullptr && found->maximized;
}

void EnableNativeWindow(WindowHandle handle, bool enabled) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr || window->enabled == enabled) return;
  window->enabled = enabled;
  if (!enabled) LeaveSubtree(handle, false);
}

bool IsEnabled(WindowHandle window) {
  SimWindow* found = Find(window);
  return found != nullptr && found->enabled;
}

void SetFocusTo(WindowHandle handle) {
  if (handle == WindowHandle::None) {
    MoveFocus(WindowHandle::None);
    return;
  }
  if (FindLiving(handle) == nullptr) return;
  // Focusing a window of an inactive top-level window activates that window first.
  const WindowHandle topLevel = TopLevelOf(handle);
  if (TheWorld().active != topLevel) ActivateTopLevel(topLevel);
  if (FindLiving(handle) == nullptr) return;
  MoveFocus(handle);
}

WindowHandle FocusedWindow() { return TheWorld().focus; }

void Activate(WindowHandle handle) {
  if (FindLiving(handle) != nullptr) ActivateTopLevel(TopLevelOf(handle));
}

WindowHandle ActiveWindow() { return TheWorld().active; }

}  // namespace pelmora::platform
