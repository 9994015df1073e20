// The Runtime object itself: its state, the lookups every other part of the core shares, the
// views the kinds get of a loaded window, and the pre-translation of the message loop.
#include "runtime/runtime.h"

#include <vector>

#include "runtime/runtime_state.h"

namespace pelmora {

LiveControl* LoadedWindow::LiveAt(std::size_t index) const {
  if (index >= slots.size()) return nullptr;
  LiveControl* live = slots[index].live;
  if (live == nullptr || !platform::WindowExists(live->Window())) return nullptr;
  return live;
}

void LoadedWindow::Unload() {
  if (!loadTimeCopy) return;
  description.records = std::move(*loadTimeCopy);
  loadTimeCopy.reset();
  slots.clear();
}

LoadedWindow* runtime_detail::State::FindWindow(WindowId windowId) {
  if (!IsValidId(windowId)) return nullptr;
  for (auto& window : windows) {
    if (window.description.windowId == windowId) return &window;
  }
  return nullptr;
}

const ControlKind* FindKind(std::span<ControlKind* const> kinds, KindId kindId) {
  for (const ControlKind* kind : kinds) {
    if (kind != nullptr && kind->Id() == kindId) return kind;
  }
  return nullptr;
}

std::uint32_t CreationStyle(const ControlDescription& control, const KindAttributes& attributes) {
  std::uint32_t style = 0;
  if ((control.stateFlags & state_flag::TabStop) != 0) style |= vocab::style::TabStop;
  if (!attributes.neverShown && (control.stateFlags & state_flag::Disabled) != 0) {
    style |= vocab::style::Disabled;
  }
  return style;
}

Runtime::Runtime(ProgramImage image) : image_(image), state_(std::make_unique<State>()) {}

Runtime::~Runtime() { platform::InstallMessageFilter(nullptr); }

std::pair<WindowId, ControlId> Runtime::EventSource() const {
  return {state_->sourceWindow, state_->sourceControl};
}

const std::string& Runtime::ProgramDirectory() const { return state_->programDirectory; }

std::vector<ControlView> Runtime::ControlsOf(WindowId windowId) const {
  std::vector<ControlView> views;
  LoadedWindow* window = state_->FindWindow(windowId);
  if (window == nullptr || !window->IsLoaded()) return views;
  const auto& records = window->description.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].IsMenuItem()) continue;
    const ControlDescription& control = records[i].description;
    views.push_back(ControlView{records[i].controlId, i, FindKind(image_.kinds, control.kind),
                                window->LiveAt(i), control.stateFlags, control.tabOrder});
  }
  return views;
}

std::optional<std::pair<WindowId, ControlView>> Runtime::ControlOfNativeWindow(
    platform::WindowHandle nativeWindow) const {
  if (nativeWindow == platform::WindowHandle::None) return std::nullopt;
  for (const auto& window : state_->windows) {
    for (std::size_t i = 0; i < window.slots.size(); ++i) {
      LiveControl* live = window.slots[i].live;
      if (live == nullptr || live->Window() != nativeWindow) continue;
      const ControlRecord& record = window.description.records[i];
      return std::pair{window.description.windowId,
                       ControlView{record.controlId, i,
                                   FindKind(image_.kinds, record.description.kind), live,
                                   record.description.stateFlags, record.description.tabOrder}};
    }
  }
  return std::nullopt;
}

bool Runtime::PreTranslate(platform::Message& message) {
  // The chain from the target up to its top-level window is taken before any control sees the
  // message: a handler run by a claim may destroy windows, and a destroyed window has no
  // parent to ask any more.
  std::vector<platform::WindowHandle> chain;
  for (auto window = message.window; window != platform::WindowHandle::None;
       window = platform::ParentOf(window)) {
    chain.push_back(window);
  }
  for (platform::WindowHandle window : chain) {
    if (!platform::WindowExists(window)) continue;
    // Looked up afresh each time: an earlier offer may have freed controls.
    auto control = ControlOfNativeWindow(window);
    if (!control || control->second.live == nullptr) continue;
    if (control->second.live->PreTranslate(message)) return true;
    // The target is gone: nothing is left to hand the message to.
    if (!platform::WindowExists(message.window)) return true;
  }
  return false;
}

}  // namespace pelmora
