// Creation and destruction of simulated windows, and moving a child to another parent.
#include <algorithm>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

// Handles count up for the whole process, across Reset, so a stale handle never names a
// newer window.
std::uintptr_t nextHandle = 0x10000;

constexpr std::uint32_t kStateBits = vocab::style::Visible | vocab::style::Disabled |
                                     vocab::style::Minimize | vocab::style::Maximize;

void CollectSubtree(WindowHandle window, std::vector<WindowHandle>& parentsFirst) {
  SimWindow* found = FindLiving(window);
  if (found == nullptr) return;
  parentsFirst.push_back(window);
  const std::vector<WindowHandle> children = found->children;
  for (WindowHandle child : children) CollectSubtree(child, parentsFirst);
}

// The final message, then the record goes. The procedure is detached before the call: it
// may free itself while handling NcDestroy.
void Finish(WindowHandle handle) {
  SimWindow* window = Find(handle);
  if (window == nullptr) return;
  // Children made while the window was being destroyed go with it.
  const std::vector<WindowHandle> children = window->children;
  for (WindowHandle child : children) {
    if (FindLiving(child) != nullptr) platform::DestroyNativeWindow(child);
  }
  RemoveTimersOf(handle);
  DropQueuedFor(handle);
  window = Find(handle);
  if (window == nullptr) return;
  platform::WindowProcedure* procedure = window->procedure;
  window->procedure = nullptr;
  if (procedure != nullptr) {
    procedure->OnMessage(platform::Message{handle, vocab::msg::NcDestroy, 0, 0});
  }
  window = Find(handle);
  if (window == nullptr) return;
  std::erase(SiblingsOf(*window), handle);
  World& world = TheWorld();
  if (world.focus == handle) world.focus = WindowHandle::None;
  if (world.active == handle) world.active = WindowHandle::None;
  RemoveTimersOf(handle);
  DropQueuedFor(handle);
  world.windows.erase(static_cast<std::uintptr_t>(handle));
}

}  // namespace
}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

WindowHandle CreateNativeWindow(const WindowSpec& request) {
  World& world = TheWorld();
  if (world.refusedClasses.contains(request.windowClass)) return WindowHandle::None;
  if (request.parent != WindowHandle::None && FindLiving(request.parent) == nullptr) {
    return WindowHandle::None;
  }
  // As on Windows: a child window needs a parent.
  if ((request.style & vocab::style::Child) != 0 && request.parent == WindowHandle::None) {
    return WindowHandle::None;
  }
  auto window = std::make_unique<SimWindow>();
  window->handle = static_cast<WindowHandle>(nextHandle++);
  window->windowClass = request.windowClass;
  window->className = std::string(request.className);
  window->style = request.style & ~kStateBits;
  window->exStyle = request.exStyle;
  window->topmost = (request.exStyle & vocab::exstyle::Topmost) != 0;
  window->visible = (request.style & vocab::style::Visible) != 0;
  window->enabled = (request.style & vocab::style::Disabled) == 0;
  window->minimized = (request.style & vocab::style::Minimize) != 0;
  window->maximized = (request.style & vocab::style::Maximize) != 0;
  window->bounds = request.rect;
  window->restoredBounds = request.rect;
  window->parent = request.parent;
  window->owner = request.owner;
  window->childId = request.childId;
  window->text = std::string(request.text);
  window->procedure = request.procedure;
  const WindowHandle handle = window->handle;
  if (request.parent != WindowHandle::None) {
    // A new child goes to the bottom of its siblings, so creation order is stacking order.
    Find(request.parent)->children.push_back(handle);
  } else {
    world.topLevel.insert(world.topLevel.begin(), handle);
  }
  world.windows.emplace(static_cast<std::uintptr_t>(handle), std::move(window));
  return handle;
}

void DestroyNativeWindow(WindowHandle handle) {
  if (FindLiving(handle) == nullptr) return;
  World& world = TheWorld();
  // Owned windows go before their owner.
  std::vector<WindowHandle> owned;
  for (const auto& [key, window] : world.windows) {
    if (window->owner == handle && !window->destroying) owned.push_back(window->handle);
  }
  for (WindowHandle window : owned) DestroyNativeWindow(window);
  if (FindLiving(handle) == nullptr) return;

  // The focus and the activation leave the windows while they still fully exist.
  LeaveSubtree(handle, true);
  std::vector<WindowHandle> parentsFirst;
  CollectSubtree(handle, parentsFirst);
  for (WindowHandle window : parentsFirst) {
    if (SimWindow* found = Find(window)) found->destroying = true;
  }
  for (WindowHandle window : parentsFirst) Send(window, vocab::msg::Destroy);
  for (auto window = parentsFirst.rbegin(); window != parentsFirst.rend(); ++window) {
    Finish(*window);
  }
}

bool WindowExists(WindowHandle window) { return Find(window) != nullptr; }

WindowHandle ParentOf(WindowHandle window) {
  SimWindow* found = Find(window);
  return found == nullptr ? WindowHandle::None : found->parent;
}

void Reparent(WindowHandle handle, WindowHandle newParent) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr || window->parent == newParent) return;
  if (newParent != WindowHandle::None &&
      (FindLiving(newParent) == nullptr || IsSameOrDescendant(newParent, handle))) {
    return;
  }
  std::erase(SiblingsOf(*window), handle);
  window->parent = newParent;
  std::vector<WindowHandle>& siblings = SiblingsOf(*window);
  siblings.insert(siblings.begin(), handle);
}

}  // namespace pelmora::platform
