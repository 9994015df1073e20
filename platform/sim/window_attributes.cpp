// What a simulated window holds: place and size with the non-client metrics of its frame,
// text, styles, stacking order and the attributes the kinds set once.
#include <algorithm>
#include <cstdio>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {

// Fixed metrics of the simulated system: a 3 px sizing or dialog border, a 22 px caption
// bar, a 2 px sunken client edge on children.
namespace {
constexpr std::int32_t kFrameBorder = 3;
constexpr std::int32_t kCaptionHeight = 22;
constexpr std::int32_t kClientEdge = 2;
constexpr std::uint32_t kStateBits = vocab::style::Visible | vocab::style::Disabled |
                                     vocab::style::Minimize | vocab::style::Maximize;
}  // namespace

NonClient NonClientOf(const SimWindow& window) {
  NonClient frame;
  if (window.parent == WindowHandle::None) {
    const std::uint32_t style = window.style;
    if ((style & (vocab::style::DialogFrame | vocab::style::ThickFrame)) != 0) {
      frame = {kFrameBorder, kFrameBorder, kFrameBorder, kFrameBorder};
    }
    if ((style & vocab::style::Caption) == vocab::style::Caption) frame.top += kCaptionHeight;
  } else if ((window.exStyle & vocab::exstyle::ClientEdge) != 0) {
    frame = {kClientEdge, kClientEdge, kClientEdge, kClientEdge};
  }
  return frame;
}

Size ClientSize(const SimWindow& window) {
  const NonClient frame = NonClientOf(window);
  return Size{std::max(0, window.bounds.width - frame.left - frame.right),
              std::max(0, window.bounds.height - frame.top - frame.bottom)};
}

platform::Point ClientToScreen(WindowHandle handle, platform::Point point) {
  for (SimWindow* window = Find(handle); window != nullptr; window = Find(window->parent)) {
    const NonClient frame = NonClientOf(*window);
    point.x += window->bounds.left + frame.left;
    point.y += window->bounds.top + frame.top;
  }
  return point;
}

void ApplyBounds(WindowHandle handle, Rect bounds, std::uintptr_t sizeKind) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return;
  const Rect old = window->bounds;
  window->bounds = bounds;
  if (old.left != bounds.left || old.top != bounds.top) {
    const NonClient frame = NonClientOf(*window);
    Send(handle, vocab::msg::Move, 0,
         PackPoint(bounds.left + frame.left, bounds.top + frame.top));
  }
  window = Find(handle);
  if (window == nullptr) return;
  if (old.width != bounds.width || old.height != bounds.height) {
    const Size client = ClientSize(*window);
    Send(handle, vocab::msg::Size, sizeKind, PackPoint(client.width, client.height));
  }
}

}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

void SetBounds(WindowHandle window, Rect bounds) {
  if (FindLiving(window) != nullptr) ApplyBounds(window, bounds);
}

Rect BoundsOf(WindowHandle window) {
  SimWindow* found = Find(window);
  return found == nullptr ? Rect{} : found->bounds;
}

Size ClientSizeOf(WindowHandle window) {
  SimWindow* found = Find(window);
  return found == nullptr ? Size{} : ClientSize(*found);
}

void SetText(WindowHandle handle, std::string_view text) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return;
  window->text = std::string(text);
  const bool isEdit = window->windowClass == WindowClass::Edit;
  if (const auto& textSet = TheWorld().observer.textSet) textSet(handle, text);
  // The system edit box reports every change of its text, a program's included.
  if (isEdit) NotifyEditChanged(handle);
}

std::string TextOf(WindowHandle window) {
  SimWindow* found = Find(window);
  return found == nullptr ? std::string{} : found->text;
}

void SetStyles(WindowHandle handle, std::uint32_t style, std::uint32_t exStyle) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return;
  // Visibility, enabled state, minimized and maximized follow their own calls, and topmost
  // follows SetTopmost, so a style rewrite cannot flip them behind the system's back.
  window->style = style & ~kStateBits;
  window->exStyle = (exStyle & ~vocab::exstyle::Topmost) |
                    (window->topmost ? vocab::exstyle::Topmost : 0);
}

std::uint32_t StyleOf(WindowHandle handle) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return 0;
  return window->style | (window->visible ? vocab::style::Visible : 0) |
         (window->enabled ? 0 : vocab::style::Disabled) |
         (window->minimized ? vocab::style::Minimize : 0) |
         (window->maximized ? vocab::style::Maximize : 0);
}

std::uint32_t ExStyleOf(WindowHandle window) {
  SimWindow* found = Find(window);
  return found == nullptr ? 0 : found->exStyle;
}

void PlaceBelow(WindowHandle handle, WindowHandle above) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr || handle == above) return;
  std::vector<WindowHandle>& siblings = SiblingsOf(*window);
  if (above == WindowHandle::None) {
    std::erase(siblings, handle);
    siblings.insert(siblings.begin(), handle);
    return;
  }
  if (std::find(siblings.begin(), siblings.end(), above) == siblings.end()) return;
  std::erase(siblings, handle);
  siblings.insert(std::find(siblings.begin(), siblings.end(), above) + 1, handle);
}

void SetTopmost(WindowHandle handle, bool topmost) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return;
  window->topmost = topmost;
  window->exStyle = (window->exStyle & ~vocab::exstyle::Topmost) |
                    (topmost ? vocab::exstyle::Topmost : 0);
  if (topmost && window->parent == WindowHandle::None) {
    std::vector<WindowHandle>& topLevel = TheWorld().topLevel;
    std::erase(topLevel, handle);
    topLevel.insert(topLevel.begin(), handle);
  }
}

void RemoveMoveCommand(WindowHandle window) {
  if (SimWindow* found = FindLiving(window)) found->movable = false;
}

void SetShape(WindowHandle window, std::int32_t shape) {
  if (SimWindow* found = FindLiving(window)) found->shape = shape;
}

void SetIcon(WindowHandle window, std::span<const std::uint8_t> iconData) {
  if (SimWindow* found = FindLiving(window)) {
    found->icon.assign(iconData.begin(), iconData.end());
    found->iconSet = true;
  }
}

void SetFont(WindowHandle window, const FontSpec& font) {
  if (SimWindow* found = FindLiving(window)) found->font = font;
}

void SetColours(WindowHandle window, Colour text, Colour background) {
  if (SimWindow* found = FindLiving(window)) found->editColours = std::pair{text, background};
}

void Invalidate(WindowHandle window) {
  if (SimWindow* found = FindLiving(window)) found->needsPaint = true;
}

void BeginTitleBarDrag(WindowHandle window) {
  if (SimWindow* found = FindLiving(window)) ++found->titleBarDrags;
}

std::intptr_t SendToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  return Send(window, message, wParam, lParam);
}

void SetEditLimit(WindowHandle edit, std::uint32_t maxLength) {
  if (SimWindow* found = FindLiving(edit)) found->editLimit = maxLength;
}

void SetEditPasswordChar(WindowHandle edit, std::uint16_t character) {
  if (SimWindow* found = FindLiving(edit)) found->passwordChar = character;
}

void SetEditSelection(WindowHandle edit, std::uint32_t start, std::uint32_t length) {
  if (SimWindow* found = FindLiving(edit)) found->editSelection = {start, length};
}

void SetEditTextBand(WindowHandle edit, std::int32_t top, std::int32_t height) {
  if (SimWindow* found = FindLiving(edit)) found->editTextBand = std::pair{top, height};
}

}  // namespace pelmora::platform
