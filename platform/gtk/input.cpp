// Pre-translation. Every input event of the display passes this GDK event handler before GTK
// dispatches it: mouse and key events aimed at a window of ours are offered to the run time's
// message filter as its Windows-numbered messages, and a claimed message never reaches the
// widget. Doing it here, ahead of every widget, means each native event is offered exactly
// once: GTK's own propagation from a child to its parents, and the key events the web view
// hands back to GTK when the page did not want them (gtk_main_do_event, which bypasses this
// handler), are never offered a second time.
#include <gtk/gtk.h>

#include <cmath>
#include <string>

#include "platform/gtk/key_codes.h"
#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::gtk {
namespace {

namespace msg = vocab::msg;
namespace mk = vocab::mk;

platform::MessageFilter* installedFilter = nullptr;
// Bit 0 Ctrl, bit 1 Shift, bit 2 Alt, as of the event being processed.
std::uint32_t heldModifiers = 0;
// The filter claimed a double click: GTK's 2BUTTON_PRESS that follows it goes nowhere either.
bool swallowDoublePress = false;
// The event being offered, for a procedure that starts a window drag from a claimed press.
GdkEvent* eventBeingOffered = nullptr;
// Above 0 while a modal box runs its own loop: its loop does no pre-translation.
int modalLoops = 0;

constexpr std::uint32_t kCtrl = 1, kShift = 2, kAlt = 4;

std::uint32_t ModifiersOf(guint state) {
  std::uint32_t bits = 0;
  if ((state & GDK_CONTROL_MASK) != 0) bits |= kCtrl;
  if ((state & GDK_SHIFT_MASK) != 0) bits |= kShift;
  if ((state & GDK_MOD1_MASK) != 0) bits |= kAlt;
  return bits;
}

GtkWidget* WidgetOf(GdkEvent* event) {
  if (event->any.window == nullptr) return nullptr;
  gpointer widget = nullptr;
  gdk_window_get_user_data(event->any.window, &widget);
  return static_cast<GtkWidget*>(widget);
}

bool Offer(platform::Message& message) {
  return installedFilter != nullptr && installedFilter->PreTranslate(message);
}

// The event's position in the target's client area.
platform::Point ClientPoint(const NativeWindow& target, GdkEvent* event) {
  gdouble rootX = 0, rootY = 0;
  gdk_event_get_root_coords(event, &rootX, &rootY);
  GtkWidget* widget = target.widget;
  gint originX = 0, originY = 0;
  if (GdkWindow* window = gtk_widget_get_window(widget); window != nullptr) {
    gdk_window_get_origin(window, &originX, &originY);
  }
  if (!gtk_widget_get_has_window(widget)) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    originX += allocation.x;
    originY += allocation.y;
  }
  return {static_cast<std::int32_t>(std::floor(rootX)) - originX,
          static_cast<std::int32_t>(std::floor(rootY)) - originY};
}

// Mouse key flags as they are once this event has happened.
std::uintptr_t MouseKeys(GdkEvent* event) {
  GdkModifierType state{};
  gdk_event_get_state(event, &state);
  std::uintptr_t keys = 0;
  if ((state & GDK_BUTTON1_MASK) != 0) keys |= mk::LButton;
  if ((state & GDK_BUTTON2_MASK) != 0) keys |= mk::MButton;
  if ((state & GDK_BUTTON3_MASK) != 0) keys |= mk::RButton;
  if ((state & GDK_SHIFT_MASK) != 0) keys |= mk::Shift;
  if ((state & GDK_CONTROL_MASK) != 0) keys |= mk::Control;
  if (event->type == GDK_BUTTON_PRESS || event->type == GDK_BUTTON_RELEASE) {
    std::uintptr_t flag = event->button.button == 1   ? mk::LButton
                          : event->button.button == 2 ? mk::MButton
                          : event->button.button == 3 ? mk::RButton
                                                      : 0;
    if (event->type == GDK_BUTTON_PRESS) keys |= flag;
    else keys &= ~flag;
  }
  return keys;
}

// GDK puts its 2BUTTON_PRESS right behind the second ordinary press of a double click. That
// press is the double click: the run time must see down, up, double click, up.
bool PressOpensDoubleClick(GdkEvent* press) {
  GdkEvent* next = gdk_event_peek();
  if (next == nullptr) return false;
  bool opens = next->type == GDK_2BUTTON_PRESS && next->button.button == press->button.button &&
               next->any.window == press->any.window;
  gdk_event_free(next);
  return opens;
}

bool InEditFrameBand(const NativeWindow& target, platform::Point at) {
  if (target.windowClass != platform::WindowClass::Edit || !target.editTextBand) return false;
  auto [top, height] = *target.editTextBand;
  return at.y < top || at.y >= top + height;
}

// True when GTK may go on with the event.
bool OfferMouse(GdkEvent* event) {
  GdkModifierType state{};
  gdk_event_get_state(event, &state);
  heldModifiers = ModifiersOf(state);
  if (event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS) {
    // Never offered: the press before it was offered as the double click.
    bool swallow = swallowDoublePress;
    swallowDoublePress = false;
    return !swallow;
  }
  NativeWindow* target = FindByWidget(WidgetOf(event));
  if (target == nullptr || target->widget == nullptr) return true;

  std::uint32_t id = 0;
  std::uintptr_t wParam = MouseKeys(event);
  switch (event->type) {
    case GDK_BUTTON_PRESS: {
      bool twice = PressOpensDoubleClick(event);
      if (event->button.button == 1) id = twice ? msg::LButtonDblClk : msg::LButtonDown;
      if (event->button.button == 3) id = twice ? msg::RButtonDblClk : msg::RButtonDown;
      break;
    }
    case GDK_BUTTON_RELEASE:
      if (event->button.button == 1) id = msg::LButtonUp;
      if (event->button.button == 3) id = msg::RButtonUp;
      break;
    case GDK_MOTION_NOTIFY:
      id = msg::MouseMove;
      break;
    case GDK_SCROLL: {
      double delta = 0;
      GdkScrollDirection direction{};
      double dx = 0, dy = 0;
      if (gdk_event_get_scroll_direction(event, &direction)) {
        if (direction == GDK_SCROLL_UP) delta = 120;
        if (direction == GDK_SCROLL_DOWN) delta = -120;
      } else if (gdk_event_get_scroll_deltas(event, &dx, &dy)) {
        delta = -dy * 120;
      }
      if (delta == 0) return true;
      id = msg::MouseWheel;
      wParam = (wParam & 0xFFFF) |
               (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(
                    static_cast<std::int16_t>(std::lround(delta)))) << 16);
      break;
    }
    default:
      return true;
  }
  if (id == 0) return true;
  platform::Point at = ClientPoint(*target, event);
  if (InEditFrameBand(*target, at)) {
    // The frame around an edit box's text band: no client message, and no click for GTK.
    return event->type != GDK_BUTTON_PRESS;
  }
  platform::Message message{target->handle, id, wParam, PackWords(at.x, at.y)};
  if (Offer(message)) {
    if (id == msg::LButtonDblClk || id == msg::RButtonDblClk) swallowDoublePress = true;
    return false;
  }
  return true;
}

NativeWindow* KeyTarget(GdkEvent* event) {
  GtkWidget* widget = WidgetOf(event);
  if (widget == nullptr) return nullptr;
  GtkWidget* topWidget = gtk_widget_get_toplevel(widget);
  NativeWindow* top = FindByWidget(topWidget);
  if (top == nullptr) return nullptr;
  NativeWindow* focused = Find(CurrentFocus());
  if (focused != nullptr && TopLevelOf(focused) == top) return focused;
  if (GTK_IS_WINDOW(topWidget)) {
    if (GtkWidget* focusWidget = gtk_window_get_focus(GTK_WINDOW(topWidget))) {
      if (NativeWindow* owner = FindByWidget(focusWidget)) return owner;
    }
  }
  return top;
}

// The characters a key press types, as the system's character messages carry them: control
// characters for Ctrl+letter, Enter, Backspace, Tab and Esc; code page 936 bytes otherwise
// (two messages, lead byte first, for a double-byte character).
std::string TypedCharacters(const GdkEventKey& key, std::uint32_t virtualKey) {
  if ((heldModifiers & kAlt) != 0) return {};
  if ((heldModifiers & kCtrl) != 0) {
    if (virtualKey >= vocab::vk::LetterA && virtualKey <= vocab::vk::LetterA + 25) {
      return std::string(1, static_cast<char>(virtualKey - vocab::vk::LetterA + 1));
    }
    return {};
  }
  switch (virtualKey) {
    case vocab::vk::Return: return "\r";
    case vocab::vk::Back: return "\b";
    case vocab::vk::Tab: return "\t";
    case vocab::vk::Escape: return "\x1B";
    default: break;
  }
  gunichar character = gdk_keyval_to_unicode(key.keyval);
  if (character < 0x20 || character == 0x7F) return {};
  char utf8[8] = {};
  g_unichar_to_utf8(character, utf8);
  return platform::Utf8ToCp936(utf8);
}

void PutIntoEntry(NativeWindow& target, const std::string& cp936) {
  if (target.windowClass != platform::WindowClass::Edit || target.widget == nullptr) return;
  GtkEditable* editable = GTK_EDITABLE(target.widget);
  if (!gtk_editable_get_editable(editable)) return;
  std::string utf8 = platform::Cp936ToUtf8(cp936);
  gtk_editable_delete_selection(editable);
  gint position = gtk_editable_get_position(editable);
  gtk_editable_insert_text(editable, utf8.c_str(), static_cast<gint>(utf8.size()), &position);
  gtk_editable_set_position(editable, position);
}

bool OfferKey(GdkEvent* event) {
  const GdkEventKey& key = event->key;
  bool press = event->type == GDK_KEY_PRESS;
  heldModifiers = ModifiersOf(key.state);
  guint unshifted = key.keyval;
  gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_window_get_display(key.window)),
                                      key.hardware_keycode, static_cast<GdkModifierType>(0),
                                      key.group, &unshifted, nullptr, nullptr, nullptr);
  std::uint32_t virtualKey = VirtualKeyOf(key.keyval, unshifted);
  // The state of an event does not yet hold the modifier key it presses or releases.
  std::uint32_t own = virtualKey == vocab::vk::Control ? kCtrl
                      : virtualKey == vocab::vk::Shift ? kShift
                      : virtualKey == vocab::vk::Menu  ? kAlt
                                                       : 0;
  if (press) heldModifiers |= own;
  else heldModifiers &= ~own;

  NativeWindow* target = KeyTarget(event);
  if (target == nullptr || virtualKey == 0) return true;
  WindowHandle handle = target->handle;
  bool system = (heldModifiers & kAlt) != 0 || virtualKey == vocab::vk::Menu;
  std::uint32_t id = press ? (system ? msg::SysKeyDown : msg::KeyDown)
                           : (system ? msg::SysKeyUp : msg::KeyUp);
  std::uint32_t scanCode = key.hardware_keycode >= 8 ? key.hardware_keycode - 8u : 0u;
  std::uint32_t lParamBits = 1 | (scanCode & 0xFF) << 16;
  if (system && (heldModifiers & kAlt) != 0) lParamBits |= 1u << 29;
  if (!press) lParamBits |= 3u << 30;
  auto lParam = static_cast<std::intptr_t>(static_cast<std::int32_t>(lParamBits));
  platform::Message message{handle, id, virtualKey, lParam};
  if (Offer(message)) return false;
  target = Find(handle);
  if (target == nullptr) return false;
  if (!press) return true;

  if (id == msg::SysKeyDown && virtualKey == vocab::vk::F4 && (heldModifiers & kAlt) != 0) {
    // Alt+F4 asks the top level to close, also where no window manager does it.
    if (NativeWindow* top = TopLevelOf(target)) Deliver(top->handle, msg::Close);
    return false;
  }
  std::string typed = TypedCharacters(key, virtualKey);
  if (typed.empty()) return true;
  std::string delivered;
  bool replaced = false;
  for (char byte : typed) {
    auto code = static_cast<std::uintptr_t>(static_cast<unsigned char>(byte));
    platform::Message character{handle, msg::Char, code, lParam};
    if (Offer(character)) return false;
    if (Find(handle) == nullptr) return false;
    if (character.wParam != code && character.wParam != 0) replaced = true;
    delivered.push_back(static_cast<char>(character.wParam & 0xFF));
  }
  if (!replaced) return true;
  // The filter changed the character: the replacement is typed instead of the key's own.
  if (NativeWindow* again = Find(handle)) PutIntoEntry(*again, delivered);
  return false;
}

void HandleEvent(GdkEvent* event, gpointer) {
  bool dispatch = true;
  GdkEvent* outer = eventBeingOffered;
  eventBeingOffered = event;
  switch (modalLoops > 0 ? GDK_NOTHING : event->type) {
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_MOTION_NOTIFY:
    case GDK_SCROLL:
      dispatch = OfferMouse(event);
      break;
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
      dispatch = OfferKey(event);
      break;
    default:
      break;
  }
  eventBeingOffered = outer;
  if (dispatch) gtk_main_do_event(event);
}

}  // namespace

void InstallInputHandler() { gdk_event_handler_set(HandleEvent, nullptr, nullptr); }

GdkEvent* InputEventBeingOffered() { return eventBeingOffered; }

ModalLoop::ModalLoop() { ++modalLoops; }
ModalLoop::~ModalLoop() { --modalLoops; }

}  // namespace pelmora::gtk

namespace pelmora::platform {

void InstallMessageFilter(MessageFilter* filter) { gtk::installedFilter = filter; }

std::uint32_t ModifierKeys() { return gtk::heldModifiers; }

}  // namespace pelmora::platform
