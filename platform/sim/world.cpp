// The one simulated world: lookup of windows, message sending, Reset and inspection.
#include <algorithm>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {

World& TheWorld() {
  static World world;
  return world;
}

SimWindow* Find(WindowHandle window) {
  auto& windows = TheWorld().windows;
  auto found = windows.find(static_cast<std::uintptr_t>(window));
  return found == windows.end() ? nullptr : found->second.get();
}

SimWindow* FindLiving(WindowHandle window) {
  SimWindow* found = Find(window);
  return found != nullptr && !found->destroying ? found : nullptr;
}

WindowHandle TopLevelOf(WindowHandle window) {
  SimWindow* current = Find(window);
  if (current == nullptr) return WindowHandle::None;
  while (current->parent != WindowHandle::None) {
    SimWindow* parent = Find(current->parent);
    if (parent == nullptr) break;
    current = parent;
  }
  return current->handle;
}

bool IsSameOrDescendant(WindowHandle window, WindowHandle ancestor) {
  if (ancestor == WindowHandle::None) return false;
  for (SimWindow* current = Find(window); current != nullptr; current = Find(current->parent)) {
    if (current->handle == ancestor) return true;
  }
  return false;
}

std::intptr_t Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) {
  SimWindow* target = Find(window);
  if (target == nullptr || target->procedure == nullptr) return 0;
  platform::WindowProcedure* procedure = target->procedure;
  return procedure->OnMessage(platform::Message{window, message, wParam, lParam});
}

std::vector<WindowHandle>& SiblingsOf(const SimWindow& window) {
  if (window.parent != WindowHandle::None) {
    if (SimWindow* parent = Find(window.parent)) return parent->children;
  }
  return TheWorld().topLevel;
}

}  // namespace pelmora::sim::detail

namespace pelmora::sim {

using namespace detail;

void Reset() {
  World& world = TheWorld();
  {
    // The kinds free their objects when their windows go; whatever they start or post
    // meanwhile is thrown away below.
    ++world.processingDepth;
    struct Leave {
      World& world;
      ~Leave() { --world.processingDepth; }
    } leave{world};
    while (!world.windows.empty()) {
      WindowHandle next = world.topLevel.empty()
                              ? static_cast<WindowHandle>(world.windows.begin()->first)
                              : world.topLevel.front();
      SimWindow* window = Find(next);
      if (window != nullptr && window->destroying) {
        // Half destroyed by an earlier failure (an exception out of a procedure): finish
        // without further messages.
        world.windows.erase(static_cast<std::uintptr_t>(next));
        std::erase(world.topLevel, next);
        continue;
      }
      platform::DestroyNativeWindow(next);
      if (Find(next) != nullptr && !Find(next)->destroying) {
        world.windows.erase(static_cast<std::uintptr_t>(next));
        std::erase(world.topLevel, next);
      }
    }
  }
  for (void* block : world.heapBlocks) std::free(block);
  world = World{};
}

std::optional<WindowInfo> Inspect(platform::WindowHandle handle) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return std::nullopt;
  WindowInfo info;
  info.handle = window->handle;
  info.windowClass = window->windowClass;
  info.className = window->className;
  info.style = platform::StyleOf(handle);
  info.exStyle = window->exStyle;
  info.bounds = window->bounds;
  info.parent = window->parent;
  info.owner = window->owner;
  info.childId = window->childId;
  info.text = window->text;
  info.visible = window->visible;
  info.enabled = window->enabled;
  info.minimized = window->minimized;
  info.maximized = window->maximized;
  info.topmost = window->topmost;
  info.movable = window->movable;
  info.shape = window->shape;
  info.font = window->font;
  info.editLimit = window->editLimit;
  info.passwordChar = window->passwordChar;
  info.editTextBand = window->editTextBand;
  for (const Timer& timer : TheWorld().timers) {
    if (timer.window == handle) info.runningTimers.push_back(timer.id);
  }
  info.iconSet = window->iconSet;
  info.icon = window->icon;
  info.editColours = window->editColours;
  info.editSelection = window->editSelection;
  info.titleBarDrags = window->titleBarDrags;
  info.needsPaint = window->needsPaint;
  info.pressed = window->pressed;
  return info;
}

std::vector<platform::WindowHandle> TopLevelWindows() { return TheWorld().topLevel; }

std::vector<platform::WindowHandle> ChildrenOf(platform::WindowHandle handle) {
  SimWindow* window = Find(handle);
  return window == nullptr ? std::vector<platform::WindowHandle>{} : window->children;
}

}  // namespace pelmora::sim
