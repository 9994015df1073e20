// What the native classes do with input that pre-translation let through: the push button
// presses and clicks, the edit box takes the focus and edits its text, the host of the
// browser takes the focus, and Alt+F4 asks the top-level window to close whatever has the
// focus. Labels, timer hosts and frames do nothing else.
#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

constexpr std::uint32_t kAlt = 4;

bool IsLeadByte(std::uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

std::int32_t LowWord(std::intptr_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}
std::int32_t HighWord(std::intptr_t value) {
  return static_cast<std::int16_t>((static_cast<std::uint32_t>(value) >> 16) & 0xFFFF);
}

void NotifyClicked(WindowHandle button) {
  Send(button, vocab::msg::ReflectedCommand, vocab::notify::ButtonClicked,
       static_cast<std::intptr_t>(button));
}

void PressButton(WindowHandle button, bool takeFocus) {
  // The system's button takes the focus first, then shows itself pressed.
  if (takeFocus) platform::SetFocusTo(button);
  if (SimWindow* window = FindLiving(button)) window->pressed = true;
}

// Releasing a pressed button clicks it only when the release is over the button.
void ReleaseButton(WindowHandle button, bool overButton) {
  SimWindow* window = FindLiving(button);
  if (window == nullptr || !window->pressed) return;
  window->pressed = false;
  if (overButton) NotifyClicked(button);
}

void ButtonInput(const platform::Message& message) {
  const WindowHandle button = message.window;
  switch (message.id) {
    case vocab::msg::LButtonDown:
    case vocab::msg::LButtonDblClk:  // a push button takes the second press as a press
      PressButton(button, true);
      break;
    case vocab::msg::LButtonUp: {
      SimWindow* window = Find(button);
      if (window == nullptr) return;
      const Size client = ClientSize(*window);
      const std::int32_t x = LowWord(message.lParam);
      const std::int32_t y = HighWord(message.lParam);
      ReleaseButton(button, x >= 0 && y >= 0 && x < client.width && y < client.height);
      break;
    }
    case vocab::msg::KeyDown:
      if (message.wParam == vocab::vk::Space) PressButton(button, false);
      break;
    case vocab::msg::KeyUp:
      if (message.wParam == vocab::vk::Space) ReleaseButton(button, true);
      break;
    default:
      break;
  }
}

void ChangeEditText(WindowHandle edit, std::string text) {
  SimWindow* window = FindLiving(edit);
  if (window == nullptr) return;
  window->text = std::move(text);
  NotifyEditChanged(edit);
}

void TypeCharacter(WindowHandle edit, std::uint8_t character) {
  SimWindow* window = FindLiving(edit);
  if (window == nullptr || (window->style & vocab::edit_style::ReadOnly) != 0) return;
  std::string text = window->text;
  if (character == '\b') {
    if (text.empty()) return;
    // Remove the whole last character, both bytes of a double-byte one.
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size();) {
      last = at;
      at += IsLeadByte(static_cast<std::uint8_t>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    text.resize(last);
    ChangeEditText(edit, std::move(text));
    return;
  }
  std::string inserted;
  if (character == '\r') {
    if ((window->style & vocab::edit_style::MultiLine) == 0) return;
    inserted = "\r\n";
  } else if (character >= 0x20 && character != 0x7F) {
    char typed = static_cast<char>(character);
    if ((window->style & vocab::edit_style::UpperCase) != 0 && typed >= 'a' && typed <= 'z') {
      typed = static_cast<char>(typed - 0x20);
    } else if ((window->style & vocab::edit_style::LowerCase) != 0 && typed >= 'A' &&
               typed <= 'Z') {
      typed = static_cast<char>(typed + 0x20);
    }
    inserted.assign(1, typed);
  } else {
    return;
  }
  if (window->editLimit != 0 && text.size() + inserted.size() > window->editLimit) return;
  // A simplification: the caret is always at the end.
  ChangeEditText(edit, text + inserted);
}

void EditInput(const platform::Message& message) {
  const WindowHandle edit = message.window;
  switch (message.id) {
    case vocab::msg::LButtonDown:
    case vocab::msg::LButtonDblClk: {
      SimWindow* window = Find(edit);
      if (window == nullptr) return;
      if (window->editTextBand) {
        const std::int32_t y = HighWord(message.lParam);
        const auto [top, height] = *window->editTextBand;
        if (y < top || y >= top + height) return;  // the frame around the text line
      }
      platform::SetFocusTo(edit);
      break;
    }
    case vocab::msg::Char:
      TypeCharacter(edit, static_cast<std::uint8_t>(message.wParam & 0xFF));
      break;
    default:
      break;
  }
}

}  // namespace

std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
  std::size_t kept = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t width =
        IsLeadByte(static_cast<std::uint8_t>(text[at])) && at + 1 < text.size() ? 2 : 1;
    if (at + width > limit) break;
    at += width;
    kept = at;
  }
  return kept;
}

void NotifyEditChanged(WindowHandle edit) {
  Send(edit, vocab::msg::ReflectedCommand, vocab::notify::EditChanged,
       static_cast<std::intptr_t>(edit));
}

bool AcceptsDoubleClicks(WindowClass windowClass) {
  return windowClass != WindowClass::HiddenOwner;
}

void DefaultInputHandling(const platform::Message& message) {
  SimWindow* window = Find(message.window);
  if (window == nullptr) return;
  if (message.id == vocab::msg::SysKeyDown && message.wParam == vocab::vk::F4 &&
      (platform::ModifierKeys() & kAlt) != 0) {
    // The system menu's Close command: a close request to the top-level window.
    Send(TopLevelOf(message.window), vocab::msg::Close);
    return;
  }
  switch (window->windowClass) {
    case WindowClass::Button:
      ButtonInput(message);
      break;
    case WindowClass::Edit:
      EditInput(message);
      break;
    case WindowClass::BrowserHost:
      if (message.id == vocab::msg::LButtonDown || message.id == vocab::msg::LButtonDblClk) {
        platform::SetFocusTo(message.window);
      }
      break;
    case WindowClass::Frame:
    case WindowClass::Label:
    case WindowClass::TimerHost:
    case WindowClass::HiddenOwner:
      break;
  }
}

}  // namespace pelmora::sim::detail
