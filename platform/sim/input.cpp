// The scripted user's hands: mouse, keys, typing and the title bar's buttons. Everything is
// queued as the system queues input; called from a test, it is processed before returning.
#include "platform/sim/world.h"

namespace pelmora::sim {

using namespace detail;
using platform::Point;
using platform::WindowHandle;

namespace {

constexpr std::uint32_t kAlt = 4;

Point PointIn(WindowHandle target, std::optional<Point> at) {
  if (at) return *at;
  SimWindow* window = Find(target);
  if (window == nullptr) return Point{};
  const platform::Size client = ClientSize(*window);
  return Point{client.width / 2, client.height / 2};
}

QueuedItem Mouse(WindowHandle target, std::uint32_t id, std::uint32_t keys, Point at) {
  QueuedItem item;
  item.kind = QueuedItem::Kind::Input;
  item.message = {target, id, keys, PackPoint(at.x, at.y)};
  return item;
}

QueuedItem Key(std::uint32_t id, std::uint32_t key, std::uint32_t modifiers, bool release) {
  QueuedItem item;
  item.kind = QueuedItem::Kind::KeyboardInput;
  // Repeat count 1; the context bit tells that Alt is held; a release has the previous-state
  // and transition bits.
  std::uint32_t flags = 1;
  if ((modifiers & kAlt) != 0) flags |= 1u << 29;
  if (release) flags |= 3u << 30;
  item.message = {WindowHandle::None, id, key, static_cast<std::intptr_t>(static_cast<std::int32_t>(flags))};
  item.modifiers = modifiers;
  return item;
}

QueuedItem Action(std::function<void()> action) {
  QueuedItem item;
  item.kind = QueuedItem::Kind::UserAction;
  item.action = std::move(action);
  return item;
}

// The whole series is queued before any of it is processed, as fast hands would do it.
void QueueAll(std::vector<QueuedItem> items) {
  World& world = TheWorld();
  for (QueuedItem& item : items) world.queue.push_back(std::move(item));
  if (world.processingDepth == 0) ProcessWaiting();
}

}  // namespace

void Click(WindowHandle target, std::optional<Point> at) {
  const Point point = PointIn(target, at);
  QueueAll({Mouse(target, vocab::msg::LButtonDown, vocab::mk::LButton, point),
            Mouse(target, vocab::msg::LButtonUp, 0, point)});
}

void DoubleClick(WindowHandle target, std::optional<Point> at) {
  const Point point = PointIn(target, at);
  SimWindow* window = Find(target);
  const bool doubleClicks = window != nullptr && AcceptsDoubleClicks(window->windowClass);
  QueueAll({Mouse(target, vocab::msg::LButtonDown, vocab::mk::LButton, point),
            Mouse(target, vocab::msg::LButtonUp, 0, point),
            Mouse(target, doubleClicks ? vocab::msg::LButtonDblClk : vocab::msg::LButtonDown,
                  vocab::mk::LButton, point),
            Mouse(target, vocab::msg::LButtonUp, 0, point)});
}

void RightClick(WindowHandle target, std::optional<Point> at) {
  const Point point = PointIn(target, at);
  QueueAll({Mouse(target, vocab::msg::RButtonDown, vocab::mk::RButton, point),
            Mouse(target, vocab::msg::RButtonUp, 0, point)});
}

void MouseDown(WindowHandle target, std::optional<Point> at) {
  QueueAll({Mouse(target, vocab::msg::LButtonDown, vocab::mk::LButton, PointIn(target, at))});
}

void MouseUp(WindowHandle target, std::optional<Point> at) {
  QueueAll({Mouse(target, vocab::msg::LButtonUp, 0, PointIn(target, at))});
}

void MoveMouse(WindowHandle target, Point at) {
  QueueAll({Mouse(target, vocab::msg::MouseMove, 0, at)});
}

void TurnWheel(WindowHandle target, std::int32_t delta) {
  // The wheel message carries the delta in the high word and a screen position.
  const Point screen = ClientToScreen(target, PointIn(target, std::nullopt));
  QueuedItem item = Mouse(target, vocab::msg::MouseWheel,
                          static_cast<std::uint32_t>(static_cast<std::uint16_t>(delta)) << 16,
                          screen);
  QueueAll({std::move(item)});
}

void PressKey(std::uint32_t virtualKey, std::uint32_t modifiers) {
  const bool alt = (modifiers & kAlt) != 0;
  QueueAll({Key(alt ? vocab::msg::SysKeyDown : vocab::msg::KeyDown, virtualKey, modifiers, false),
            Key(alt ? vocab::msg::SysKeyUp : vocab::msg::KeyUp, virtualKey, modifiers, true)});
}

void KeyDown(std::uint32_t virtualKey, std::uint32_t modifiers) {
  const bool alt = (modifiers & kAlt) != 0;
  QueueAll({Key(alt ? vocab::msg::SysKeyDown : vocab::msg::KeyDown, virtualKey, modifiers, false)});
}

void KeyUp(std::uint32_t virtualKey, std::uint32_t modifiers) {
  const bool alt = (modifiers & kAlt) != 0;
  QueueAll({Key(alt ? vocab::msg::SysKeyUp : vocab::msg::KeyUp, virtualKey, modifiers, true)});
}

void TypeText(WindowHandle edit, std::string_view text) {
  QueueAll({Action([edit, typed = std::string(text)] {
    SimWindow* window = FindLiving(edit);
    if (window == nullptr || window->windowClass != platform::WindowClass::Edit) return;
    if ((window->style & vocab::edit_style::ReadOnly) != 0) return;
    std::string content = typed;
    if (window->editLimit != 0 && content.size() > window->editLimit) {
      content.resize(WholeCharactersWithin(content, window->editLimit));
    }
    window->text = std::move(content);
    NotifyEditChanged(edit);
  })});
}

void PressCloseButton(WindowHandle window) {
  QueueAll({Action([window] { Send(TopLevelOf(window), vocab::msg::Close); })});
}

void Minimize(WindowHandle window) {
  QueueAll({Action([window] {
    const WindowHandle topLevel = TopLevelOf(window);
    SimWindow* found = FindLiving(topLevel);
    if (found == nullptr || found->minimized) return;
    found->minimized = true;
    Send(topLevel, vocab::msg::Size, 1, 0);
    LeaveSubtree(topLevel, true);
  })});
}

void Restore(WindowHandle window) {
  QueueAll({Action([window] {
    platform::ShowNativeWindow(TopLevelOf(window), vocab::Show::Restore);
  })});
}

}  // namespace pelmora::sim
