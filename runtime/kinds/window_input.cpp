// Input pre-translation of a window: every mouse and keyboard message aimed at the window or
// at a control inside it passes here before it reaches its target.
#include <cctype>
#include <string>
#include <string_view>

#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/keyboard_order.h"
#include "runtime/kinds/window_control.h"

namespace pelmora {
namespace {

namespace msg = vocab::msg;
namespace vk = vocab::vk;
namespace wp = window_property;

constexpr std::uint32_t kCtrl = 1u << 0;
constexpr std::uint32_t kShift = 1u << 1;
constexpr std::uint32_t kAlt = 1u << 2;

bool IsKeyboardMessage(std::uint32_t id) {
  return id == msg::KeyDown || id == msg::KeyUp || id == msg::Char || id == msg::SysKeyDown ||
         id == msg::SysKeyUp;
}

bool IsMouseMessage(std::uint32_t id) {
  return (id >= msg::MouseMove && id <= msg::RButtonDblClk) || id == msg::MouseWheel;
}

// Keypad digits report as the main digit keys; keypad minus, point and slash as the codes of
// the main keyboard's minus, period and slash keys.
std::uint32_t ReportedKeyCode(std::uint32_t virtualKey) {
  if (virtualKey >= vk::Numpad0 && virtualKey <= vk::Numpad0 + 9) {
    return vk::Digit0 + (virtualKey - vk::Numpad0);
  }
  switch (virtualKey) {
    case vk::Subtract: return 189;
    case vk::Decimal: return 190;
    case vk::Divide: return 191;
    default: return virtualKey;
  }
}

// Whether a caption holds "&" followed by the character, in either case. "&&" is a literal
// ampersand, and the second byte of a double-byte character is never taken for one.
bool CaptionHasMnemonic(std::string_view caption, char character) {
  auto wanted = std::toupper(static_cast<unsigned char>(character));
  for (std::size_t i = 0; i < caption.size(); ++i) {
    auto byte = static_cast<unsigned char>(caption[i]);
    if (byte >= 0x81) {
      ++i;  // lead byte of a double-byte character
      continue;
    }
    if (byte != '&' || i + 1 >= caption.size()) continue;
    auto next = static_cast<unsigned char>(caption[i + 1]);
    if (next == '&') {
      ++i;
      continue;
    }
    if (std::toupper(next) == wanted) return true;
  }
  return false;
}

bool IsLetterOrDigitKey(std::uint32_t virtualKey) {
  return (virtualKey >= vk::Digit0 && virtualKey <= vk::Digit0 + 9) ||
         (virtualKey >= vk::LetterA && virtualKey <= vk::LetterA + 25);
}

bool IsUsable(const ControlView& view) {
  return view.live != nullptr && (view.stateFlags & state_flag::Visible) != 0 &&
         platform::IsEnabled(view.live->Window());
}

// The help file next to the program, named like it.
std::string DefaultHelpFile() {
  std::string path = platform::ProgramPath();
  std::size_t folderEnd = path.rfind(platform::PathSeparator());
  std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd)) {
    path.erase(dot);
  }
  return path + ".hlp";
}

}  // namespace

std::optional<ControlView> WindowControl::ControlContaining(platform::WindowHandle window) const {
  for (platform::WindowHandle at = window; at != platform::WindowHandle::None;
       at = platform::ParentOf(at)) {
    auto found = runtime_.ControlOfNativeWindow(at);
    if (found) {
      if (found->first != windowId_) return std::nullopt;
      return found->second;
    }
    if (at == window_) return std::nullopt;
  }
  return std::nullopt;
}

bool WindowControl::PreTranslate(platform::Message& message) {
  bool keyboard = IsKeyboardMessage(message.id);
  if (!keyboard && !IsMouseMessage(message.id)) return false;
  // Keys for a disabled window go on untouched.
  if (keyboard && !platform::IsEnabled(message.window)) return false;
  // No keyboard accelerators: this run time builds no menus, so there is no table to try.

  if (keyboard) {
    if (auto focused = ControlContaining(message.window); focused && focused->storedIndex != 0) {
      lastFocused_ = focused->controlId;
    }
  }

  if (message.id == msg::LButtonDown && values_.Flag(wp::DragAnywhere)) {
    auto target = runtime_.ControlOfNativeWindow(message.window);
    bool onWindowOrLabel =
        message.window == window_ ||
        (target && target->first == windowId_ && target->second.kind != nullptr &&
         target->second.kind->Id() == kind_ids::Label);
    if (onWindowOrLabel) {
      platform::BeginTitleBarDrag(window_);
      return true;
    }
  }

  if (message.id == msg::KeyDown || message.id == msg::SysKeyDown) {
    auto focused = ControlContaining(platform::FocusedWindow());
    auto virtualKey = static_cast<std::uint32_t>(message.wParam);
    bool focusedWantsKey =
        focused && focused->live != nullptr && focused->live->WantsKey(virtualKey);
    if (!focusedWantsKey && HandleKeyCommand(message)) return true;
  }
  return RaiseInputEvent(message);
}

bool WindowControl::HandleKeyCommand(platform::Message& message) {
  auto virtualKey = static_cast<std::uint32_t>(message.wParam);
  std::uint32_t modifiers = platform::ModifierKeys();

  if (message.id == msg::SysKeyDown) {
    if (modifiers == kAlt && IsLetterOrDigitKey(virtualKey)) return HandleMnemonic(virtualKey);
    return false;
  }
  switch (virtualKey) {
    case vk::Tab:
      if (modifiers & (kCtrl | kAlt)) return false;
      MoveFocus((modifiers & kShift) != 0);
      return true;
    case vk::Return: {
      auto focused = ControlContaining(platform::FocusedWindow());
      if (focused && focused->live != nullptr && focused->live->IsDefaultButton()) {
        return RaiseClicked(*focused);
      }
      if (values_.Flag(wp::EnterMovesFocus)) return MoveFocus(false);
      for (const ControlView& view : runtime_.ControlsOf(windowId_)) {
        if (view.storedIndex != 0 && view.live != nullptr && view.live->IsDefaultButton()) {
          return RaiseClicked(view);
        }
      }
      return false;
    }
    case vk::Escape:
      if (modifiers != 0 || !values_.Flag(wp::EscCloses)) return false;
      // The close sequence runs at once; the window and this control may be gone after it.
      platform::SendToWindow(window_, msg::Close, 0, 0);
      return true;
    case vk::F1:
      return values_.Flag(wp::F1OpensHelp) && OpenHelpFile();
    default:
      return false;
  }
}

bool WindowControl::MoveFocus(bool backwards) {
  auto controls = runtime_.ControlsOf(windowId_);
  auto order = KeyboardOrder(controls);
  if (order.empty()) return true;
  auto focused = ControlContaining(platform::FocusedWindow());
  std::optional<ControlView> next;
  if (focused && focused->storedIndex != 0) {
    next = NextInKeyboardOrder(order, *focused, backwards);
  } else {
    next = backwards ? order.back() : order.front();
  }
  lastFocused_ = next->controlId;
  platform::SetFocusTo(next->live->Window());
  return true;
}

bool WindowControl::RaiseClicked(const ControlView& button) {
  EventNotice notice = MakeNotice(windowId_, button.controlId, button_event::Clicked);
  runtime_.RaiseEvent(notice);
  return true;
}

bool WindowControl::HandleMnemonic(std::uint32_t virtualKey) {
  auto character = static_cast<char>(virtualKey);
  auto controls = runtime_.ControlsOf(windowId_);
  for (const ControlView& view : controls) {
    if (view.storedIndex == 0 || !IsUsable(view)) continue;
    if (!CaptionHasMnemonic(view.live->MnemonicCaption(), character)) continue;
    KindId kind = view.kind != nullptr ? view.kind->Id() : 0;
    if (kind == kind_ids::Button) return RaiseClicked(view);
    if (kind == kind_ids::Label) {
      // A label cannot take the focus; it hands it to the control that follows it.
      auto next = NextInKeyboardOrder(KeyboardOrder(controls), view, false);
      if (next) {
        lastFocused_ = next->controlId;
        platform::SetFocusTo(next->live->Window());
      }
      return true;
    }
  }
  return false;
}

bool WindowControl::OpenHelpFile() {
  std::string file = values_.Text(wp::HelpFile);
  if (file.empty()) file = DefaultHelpFile();
  return platform::OpenHelp(file, values_.Number(wp::HelpContext));
}

bool WindowControl::RaiseInputEvent(platform::Message& message) {
  // Only the window itself and its own controls raise events; anything else inside (the
  // browser's own windows) raises nothing.
  ControlId target = 0;
  if (message.window == window_) {
    target = controlId_;
  } else {
    auto found = runtime_.ControlOfNativeWindow(message.window);
    if (!found || found->first != windowId_) return false;
    target = found->second.controlId;
  }

  auto low = static_cast<std::uint32_t>(message.lParam) & 0xFFFFu;
  auto high = (static_cast<std::uint32_t>(message.lParam) >> 16) & 0xFFFFu;
  std::uint32_t keyState = platform::ModifierKeys();
  auto key = static_cast<std::uint32_t>(message.wParam);
  EventNotice notice;
  switch (message.id) {
    case msg::LButtonDown:
      notice = MakeNotice(windowId_, target, common_event::LeftButtonDown, {low, high, keyState});
      break;
    case msg::LButtonUp:
      notice = MakeNotice(windowId_, target, common_event::LeftButtonUp, {low, high, keyState});
      break;
    case msg::LButtonDblClk:
      notice = MakeNotice(windowId_, target, common_event::DoubleClick, {low, high, keyState});
      break;
    case msg::RButtonDown:
      notice = MakeNotice(windowId_, target, common_event::RightButtonDown, {low, high, keyState});
      break;
    case msg::RButtonUp:
      notice = MakeNotice(windowId_, target, common_event::RightButtonUp, {low, high, keyState});
      break;
    case msg::MouseMove:
      notice = MakeNotice(windowId_, target, common_event::MouseMove, {low, high, keyState});
      break;
    case msg::KeyDown:
    case msg::SysKeyDown:
      notice = MakeNotice(windowId_, target, common_event::KeyDown,
                          {ReportedKeyCode(key), keyState});
      break;
    case msg::KeyUp:
    case msg::SysKeyUp:
      notice = MakeNotice(windowId_, target, common_event::KeyUp,
                          {ReportedKeyCode(key), keyState});
      break;
    case msg::Char:
      notice = MakeNotice(windowId_, target, common_event::CharacterInput, {key});
      break;
    case msg::MouseWheel: {
      auto delta = static_cast<std::int16_t>((key >> 16) & 0xFFFFu);
      notice = MakeNotice(windowId_, target, common_event::WheelTurned,
                          {static_cast<std::uint32_t>(delta / 120), keyState});
      break;
    }
    default:
      return false;
  }

  platform::WindowHandle window = window_;
  runtime_.RaiseEvent(notice);
  if (!platform::WindowExists(window)) return true;  // the handler closed the window
  if (!notice.hasResult) return false;
  if (notice.result == 0) return true;
  if (message.id == msg::Char) message.wParam = notice.result;
  return false;
}

}  // namespace pelmora
