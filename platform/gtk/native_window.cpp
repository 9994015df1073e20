#include "platform/gtk/native_window.h"

#include <map>

namespace pelmora::gtk {
namespace {

struct Registry {
  std::uintptr_t lastHandle = 0;
  std::map<std::uintptr_t, std::unique_ptr<NativeWindow>> windows;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

constexpr const char* kHandleKey = "pelmora-window-handle";

}  // namespace

NativeWindow* Find(WindowHandle handle) {
  auto& windows = TheRegistry().windows;
  auto found = windows.find(static_cast<std::uintptr_t>(handle));
  return found == windows.end() ? nullptr : found->second.get();
}

NativeWindow* FindByWidget(GtkWidget* widget) {
  for (GtkWidget* at = widget; at != nullptr; at = gtk_widget_get_parent(at)) {
    auto key = reinterpret_cast<std::uintptr_t>(g_object_get_data(G_OBJECT(at), kHandleKey));
    if (key != 0) return Find(static_cast<WindowHandle>(key));
  }
  return nullptr;
}

WindowHandle Register(std::unique_ptr<NativeWindow> window) {
  Registry& registry = TheRegistry();
  auto key = ++registry.lastHandle;
  window->handle = static_cast<WindowHandle>(key);
  if (window->widget != nullptr) {
    g_object_set_data(G_OBJECT(window->widget), kHandleKey, reinterpret_cast<gpointer>(key));
  }
  registry.windows.emplace(key, std::move(window));
  return static_cast<WindowHandle>(key);
}

void Unregister(WindowHandle handle) {
  auto& windows = TheRegistry().windows;
  auto found = windows.find(static_cast<std::uintptr_t>(handle));
  if (found == windows.end()) return;
  if (GtkWidget* widget = found->second->widget; widget != nullptr) {
    g_object_set_data(G_OBJECT(widget), kHandleKey, nullptr);
  }
  windows.erase(found);
}

std::vector<WindowHandle> AllWindows() {
  std::vector<WindowHandle> handles;
  for (const auto& [key, window] : TheRegistry().windows) {
    handles.push_back(static_cast<WindowHandle>(key));
  }
  return handles;
}

bool IsTopLevel(const NativeWindow& window) { return window.parent == WindowHandle::None; }

NativeWindow* TopLevelOf(NativeWindow* window) {
  while (window != nullptr && !IsTopLevel(*window)) window = Find(window->parent);
  return window;
}

std::intptr_t Deliver(WindowHandle handle, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
  NativeWindow* window = Find(handle);
  if (window == nullptr || window->procedure == nullptr) return 0;
  return window->procedure->OnMessage(platform::Message{handle, message, wParam, lParam});
}

}  // namespace pelmora::gtk
