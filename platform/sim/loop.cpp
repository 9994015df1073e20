// The thread's queue and the virtual clock, and every loop of the sim: the program's message
// loop, the modal box's nested loop and the processing that follows a test's step.
#include <algorithm>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

struct ProcessingScope {
  ProcessingScope() { ++TheWorld().processingDepth; }
  ~ProcessingScope() { --TheWorld().processingDepth; }
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;
};

struct ModifierScope {
  explicit ModifierScope(std::uint32_t modifiers) : saved(TheWorld().currentModifiers) {
    TheWorld().currentModifiers = modifiers;
  }
  ~ModifierScope() { TheWorld().currentModifiers = saved; }
  ModifierScope(const ModifierScope&) = delete;
  ModifierScope& operator=(const ModifierScope&) = delete;
  std::uint32_t saved;
};

bool IsMouseMessage(std::uint32_t id) {
  return id >= vocab::msg::MouseMove && id <= vocab::msg::MouseWheel;
}

bool ReachableByMouse(WindowHandle handle) {
  if (!platform::IsShown(handle)) return false;
  for (SimWindow* window = Find(handle); window != nullptr; window = Find(window->parent)) {
    if (!window->enabled) return false;
  }
  return true;
}

void DispatchInput(QueuedItem& item) {
  World& world = TheWorld();
  ModifierScope modifiers(item.modifiers);
  platform::Message message = item.message;
  if (Find(message.window) == nullptr) return;
  if (IsMouseMessage(message.id) && !ReachableByMouse(message.window)) return;
  if (world.filter != nullptr && world.filter->PreTranslate(message)) return;
  if (Find(message.window) == nullptr) return;
  // The loop translates a key-down that got through into its character, which is taken next.
  if (message.id == vocab::msg::KeyDown) {
    if (auto character = CharacterOfKey(static_cast<std::uint32_t>(message.wParam), item.modifiers)) {
      QueuedItem characterItem;
      characterItem.kind = QueuedItem::Kind::Input;
      characterItem.message = {message.window, vocab::msg::Char, *character, message.lParam};
      characterItem.modifiers = item.modifiers;
      world.queue.push_front(std::move(characterItem));
    }
  }
  DefaultInputHandling(message);
}

void Dispatch(QueuedItem& item) {
  World& world = TheWorld();
  switch (item.kind) {
    case QueuedItem::Kind::Timer: {
      // Like every message the loop takes, a tick is offered for pre-translation first.
      platform::Message message = item.message;
      if (world.filter != nullptr && world.filter->PreTranslate(message)) break;
      Send(message.window, message.id, message.wParam, message.lParam);
      break;
    }
    case QueuedItem::Kind::UserAction:
      item.action();
      break;
    case QueuedItem::Kind::KeyboardInput:
      item.message.window = Find(world.focus) != nullptr ? world.focus : world.active;
      if (item.message.window == WindowHandle::None) break;
      DispatchInput(item);
      break;
    case QueuedItem::Kind::Input:
      DispatchInput(item);
      break;
    case QueuedItem::Kind::Quit:
      break;
  }
}

std::optional<QueuedItem> TakeNext(bool leaveQuit) {
  auto& queue = TheWorld().queue;
  for (auto entry = queue.begin(); entry != queue.end(); ++entry) {
    if (leaveQuit && entry->kind == QueuedItem::Kind::Quit) continue;
    QueuedItem item = std::move(*entry);
    queue.erase(entry);
    return item;
  }
  return MakeDueTimerMessage();
}

// Nothing to do now: time moves to the next timer if the time to reach allows it, else the
// user is asked for the next step.
void Wait() {
  World& world = TheWorld();
  const std::optional<std::uint64_t> next = NextDueTime();
  if (next && *next <= world.timeToReach) {
    world.now = std::max(world.now, *next);
    return;
  }
  world.now = std::max(world.now, world.timeToReach);
  world.timeToReach = world.now;
  if (!world.user) throw UserFinished{};
  const User user = world.user;  // a step may replace the user
  if (!user()) throw UserFinished{};
}

}  // namespace

void QueueFromUser(QueuedItem item) {
  TheWorld().queue.push_back(std::move(item));
  if (TheWorld().processingDepth == 0) ProcessWaiting();
}

void ProcessWaiting() {
  ProcessingScope scope;
  while (std::optional<QueuedItem> item = TakeNext(true)) Dispatch(*item);
}

void RunBoxLoop(std::size_t boxIndex) {
  ProcessingScope scope;
  World& world = TheWorld();
  auto open = [&] {
    return boxIndex < world.messageBoxes.size() && world.messageBoxes[boxIndex].open;
  };
  while (open()) {
    if (std::optional<QueuedItem> item = TakeNext(true)) {
      Dispatch(*item);
    } else if (world.answerBoxesAutomatically) {
      world.messageBoxes[boxIndex].open = false;
    } else {
      Wait();
    }
  }
}

void DropQueuedFor(WindowHandle window) {
  std::erase_if(TheWorld().queue, [window](const QueuedItem& item) {
    return (item.kind == QueuedItem::Kind::Input || item.kind == QueuedItem::Kind::Timer) &&
           item.message.window == window;
  });
}

}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

void InstallMessageFilter(MessageFilter* filter) { TheWorld().filter = filter; }

int RunMessageLoop() {
  ProcessingScope scope;
  for (;;) {
    std::optional<QueuedItem> item = TakeNext(false);
    if (!item) {
      Wait();
      continue;
    }
    if (item->kind == QueuedItem::Kind::Quit) return static_cast<int>(item->message.wParam);
    Dispatch(*item);
  }
}

void PumpWaitingMessages() { ProcessWaiting(); }

void PostQuit(int exitCode) {
  QueuedItem item;
  item.kind = QueuedItem::Kind::Quit;
  item.message = {WindowHandle::None, vocab::msg::Quit, static_cast<std::uintptr_t>(exitCode), 0};
  TheWorld().queue.push_back(std::move(item));
}

std::uint32_t ModifierKeys() { return TheWorld().currentModifiers; }

std::uint32_t TickCount() {
  const World& world = TheWorld();
  return static_cast<std::uint32_t>(world.tickCountBase + (world.now - world.tickCountSetAt));
}

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;

std::uint64_t Now() { return TheWorld().now; }

void SetTickCount(std::uint32_t ticks) {
  TheWorld().tickCountBase = ticks;
  TheWorld().tickCountSetAt = TheWorld().now;
}

void Advance(std::uint32_t ms) {
  World& world = TheWorld();
  if (world.processingDepth > 0) {
    // A step of the user: the waiting loop moves time on.
    world.timeToReach = std::max(world.timeToReach, world.now) + ms;
    return;
  }
  const std::uint64_t target = world.now + ms;
  world.timeToReach = target;
  ProcessWaiting();
  for (std::optional<std::uint64_t> next = NextDueTime(); next && *next <= target;
       next = NextDueTime()) {
    world.now = std::max(world.now, *next);
    ProcessWaiting();
  }
  world.now = std::max(world.now, target);
  world.timeToReach = world.now;
}

void RunUntilIdle() {
  if (TheWorld().processingDepth == 0) ProcessWaiting();
}

void Spend(std::uint32_t ms) { TheWorld().now += ms; }

void SetUser(User user) { TheWorld().user = std::move(user); }

}  // namespace pelmora::sim
