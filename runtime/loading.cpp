// LoadWindow: a live window and its controls made from a stored description.
#include <vector>

#include "runtime/runtime.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"

namespace pelmora {

namespace {

constexpr std::uint32_t kFirstChildId = 100;
constexpr std::uint32_t kChildIdStep = 10;

// Window events raised once the window is complete.
constexpr EventNumber kLoadEvents[] = {0, 3, 4};

// Controls that stand on pages other than the first of a page-holding control.
std::vector<bool> OnHiddenPages(const std::vector<ControlRecord>& records,
                                std::span<ControlKind* const> kinds) {
  std::vector<bool> hidden(records.size(), false);
  for (const auto& holder : records) {
    if (holder.IsMenuItem()) continue;
    const ControlKind* kind = FindKind(kinds, holder.description.kind);
    if (kind == nullptr || !kind->Attributes().holdsPages) continue;
    std::size_t page = 0;
    for (ControlId child : holder.description.childIds) {
      if (child == 0) {
        ++page;
        continue;
      }
      auto index = FindRecord(records, child);
      if (page > 0 && index) hidden[*index] = true;
    }
  }
  return hidden;
}

platform::WindowHandle HandleOf(const LoadedWindow& window, std::size_t index) {
  LiveControl* live = window.LiveAt(index);
  return live != nullptr ? live->Window() : platform::WindowHandle::None;
}

}  // namespace

void Runtime::LoadWindow(WindowId windowId) {
  LoadedWindow* found = state_->FindWindow(windowId);
  if (found == nullptr || found->description.records.empty() ||
      found->description.records.front().IsMenuItem()) {
    ReportRuntimeError(runtime_text::kStartupWindowFailed);
  }
  LoadedWindow& window = *found;

  if (LiveControl* live = window.LiveWindow()) {
    // Already live: nothing is created, the window comes to the front.
    if (platform::IsMinimized(live->Window())) {
      platform::ShowNativeWindow(live->Window(), vocab::Show::Restore);
    } else {
      platform::Activate(live->Window());
    }
    return;
  }

  SuppressEvents();
  window.loadTimeCopy = window.description.records;
  window.slots.assign(window.description.records.size(), LiveSlot{});
  CreateControls(window);

  const auto& records = window.description.records;
  const std::size_t count = records.size();
  const platform::WindowHandle frame = HandleOf(window, 0);

  // Each control into its container; without one (or when it is not live) it stays in the
  // window.
  for (std::size_t k = 1; k < count; ++k) {
    if (records[k].IsMenuItem() || HandleOf(window, k) == platform::WindowHandle::None) continue;
    ControlId container = records[k].description.containerId;
    if (container == 0) continue;
    auto index = FindRecord(records, container);
    if (!index || *index == 0) continue;
    platform::WindowHandle containerWindow = HandleOf(window, *index);
    if (containerWindow != platform::WindowHandle::None) {
      platform::Reparent(HandleOf(window, k), containerWindow);
    }
  }

  // Mouse pointers: pointer code 0, the default, makes no cursor of its own. Other codes would
  // name system or stored cursors; no kind of this program uses them, so none is made either,
  // and every LiveCursor stays empty.

  // Stacking: the stored order is the top-to-bottom order within each container.
  for (std::size_t k = 1; k < count; ++k) {
    platform::WindowHandle handle = HandleOf(window, k);
    if (handle == platform::WindowHandle::None) continue;
    platform::WindowHandle above = platform::WindowHandle::None;
    for (std::size_t j = k - 1; j >= 1; --j) {
      if (!records[j].IsMenuItem() &&
          records[j].description.containerId == records[k].description.containerId &&
          HandleOf(window, j) != platform::WindowHandle::None) {
        above = HandleOf(window, j);
        break;
      }
    }
    platform::PlaceBelow(handle, above);
  }

  // The window-complete notices. No kind of this program is bound to a data source or docks.
  for (std::size_t k = count; k-- > 0;) {
    if (platform::WindowHandle handle = HandleOf(window, k); handle != platform::WindowHandle::None) {
      platform::SendToWindow(handle, vocab::msg::DataRefresh, 0, 0);
    }
  }
  if (platform::WindowExists(frame)) {
    platform::SendToWindow(frame, vocab::msg::DockingLayout, 0, 0);
  }

  const std::vector<bool> hiddenPage = OnHiddenPages(records, image_.kinds);
  for (std::size_t k = 1; k < count; ++k) {
    platform::WindowHandle handle = HandleOf(window, k);
    if (handle == platform::WindowHandle::None) continue;
    const ControlKind* kind = FindKind(image_.kinds, records[k].description.kind);
    const bool visible = (records[k].description.stateFlags & state_flag::Visible) != 0 &&
                         !kind->Attributes().neverShown && !hiddenPage[k];
    platform::ShowNativeWindow(handle, visible ? vocab::Show::ShowNoActivate : vocab::Show::Hide);
  }

  // Accelerators are built from menu items, which this run time does not interpret: none.

  ResumeEvents();

  const ControlId ownId = records.front().controlId;
  for (EventNumber event : kLoadEvents) {
    if (!platform::WindowExists(frame)) break;
    EventNotice notice;
    notice.windowId = windowId;
    notice.controlId = ownId;
    notice.eventNumber = event;
    RaiseEvent(notice);
  }

  // The handlers above may have ended the window; `window` stays valid (the table does not
  // change size after start-up) but its slots may be gone.
  LiveControl* live = window.LiveWindow();
  if (live != nullptr &&
      (window.description.records.front().description.stateFlags & state_flag::Visible) != 0) {
    live->ShowAfterLoad();
  }

  const platform::WindowHandle focused = platform::FocusedWindow();
  for (std::size_t k = window.slots.size(); k-- > 0;) {
    if (platform::WindowHandle handle = HandleOf(window, k); handle != platform::WindowHandle::None) {
      platform::SendToWindow(handle, vocab::msg::PageRefresh, 0, 0);
    }
  }
  if (platform::FocusedWindow() != focused && platform::WindowExists(focused)) {
    platform::SetFocusTo(focused);
  }
}

void Runtime::CreateControls(LoadedWindow& window) {
  const auto& records = window.description.records;
  std::vector<std::size_t> order;
  order.push_back(0);
  for (std::size_t k = records.size(); k-- > 1;) order.push_back(k);

  std::uint32_t nextChildId = kFirstChildId;
  platform::WindowHandle frame = platform::WindowHandle::None;
  for (std::size_t k : order) {
    if (records[k].IsMenuItem()) continue;
    const ControlDescription& control = records[k].description;
    ControlKind* kind = nullptr;
    for (ControlKind* candidate : image_.kinds) {
      if (candidate != nullptr && candidate->Id() == control.kind) kind = candidate;
    }
    if (kind == nullptr) DestroyFailedLoad(window);

    KindCreation creation;
    creation.block = control.kindBlock;
    creation.style = CreationStyle(control, kind->Attributes());
    creation.parent = frame;
    creation.childId = k == 0 ? 0 : nextChildId;
    creation.left = control.left;
    creation.top = control.top;
    creation.width = control.width;
    creation.height = control.height;
    creation.windowId = window.description.windowId;
    creation.controlId = records[k].controlId;

    LiveControl* live = kind->CreateKindControl(*this, creation);
    if (live == nullptr) DestroyFailedLoad(window);
    window.slots[k] = LiveSlot{live, creation.childId};
    if (k == 0) {
      frame = live->Window();
      if (frame == platform::WindowHandle::None) DestroyFailedLoad(window);
    } else {
      nextChildId += kChildIdStep;
    }
  }
}

void Runtime::DestroyFailedLoad(LoadedWindow& window) {
  // What was made is taken down before the error box, so that no half-built window stays on
  // the screen while it is open. The kinds report each end; the window's own report puts the
  // description back.
  platform::WindowHandle frame = HandleOf(window, 0);
  if (frame != platform::WindowHandle::None) {
    platform::DestroyNativeWindow(frame);
  } else {
    for (std::size_t k = window.slots.size(); k-- > 1;) {
      if (platform::WindowHandle handle = HandleOf(window, k); handle != platform::WindowHandle::None) {
        platform::DestroyNativeWindow(handle);
      }
    }
  }
  // Also when a kind never reported the window's end, or the window was never made.
  window.Unload();
  ReportRuntimeError(runtime_text::kStartupWindowFailed);
}

}  // namespace pelmora
