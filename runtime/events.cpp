// Event delivery to the handlers bound in the descriptions, the suppression counter, and what
// happens when a kind reports that a live control's native window is gone.
#include <algorithm>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"

namespace pelmora {

namespace {

// Follows BindingSourceId links to the record whose bindings the control uses: each link must
// name a control of the same window and the same kind. A chain that comes back to a control
// already visited names no bindings at all; it yields nothing, and the event counts as unbound.
std::optional<std::size_t> BindingRecord(const std::vector<ControlRecord>& records,
                                         std::size_t start) {
  std::vector<bool> visited(records.size(), false);
  std::size_t current = start;
  visited[current] = true;
  for (;;) {
    const ControlRecord& record = records[current];
    if (record.IsMenuItem() || record.description.bindingSourceId == 0) return current;
    auto source = FindRecord(records, record.description.bindingSourceId);
    if (!source || records[*source].IsMenuItem() ||
        records[*source].description.kind != record.description.kind) {
      return current;
    }
    if (visited[*source]) return std::nullopt;
    visited[*source] = true;
    current = *source;
  }
}

}  // namespace

bool Runtime::RaiseEvent(EventNotice& notice) {
  if (eventsSuppressed_ > 0) return false;

  LoadedWindow* window = state_->FindWindow(notice.windowId);
  if (window == nullptr) ReportRuntimeError(runtime_text::kEventWindowUnknown);
  const auto& records = window->description.records;

  std::optional<std::size_t> index;
  if (notice.controlId == 0) {
    if (!records.empty()) index = 0;
  } else {
    index = FindRecord(records, notice.controlId);
  }
  if (!index) ReportRuntimeError(runtime_text::kEventControlUnknown);

  auto bound = BindingRecord(records, *index);
  if (!bound) return false;
  const ControlRecord& record = records[*bound];

  const ControlKind* kind =
      record.IsMenuItem() ? nullptr : FindKind(image_.kinds, record.description.kind);
  if (kind == nullptr || !kind->Attributes().mayRaiseEvents) {
    ReportRuntimeError(runtime_text::kEventControlInvalid);
  }

  const auto& bindings = record.description.bindings;
  auto match = std::find_if(bindings.begin(), bindings.end(), [&](const EventBinding& binding) {
    return binding.eventNumber == notice.eventNumber;
  });
  if (match == bindings.end() || match->handler == nullptr) return false;
  // Taken before the call: the handler may end the window and put its records back.
  const Handler handler = match->handler;

  state_->sourceWindow = notice.windowId;
  state_->sourceControl = notice.controlId != 0 ? notice.controlId : records.front().controlId;
  const std::size_t argumentCount =
      std::min<std::size_t>(notice.argumentCount, notice.arguments.size());
  HandlerResult result =
      handler(*this, std::span<const std::uint32_t>(notice.arguments.data(), argumentCount));
  state_->sourceWindow = 0;

  if (result) {
    notice.hasResult = 1;
    notice.result = *result;
  }
  return true;
}

void Runtime::SuppressEvents() {
  platform::PumpWaitingMessages();
  ++eventsSuppressed_;
}

void Runtime::ResumeEvents() {
  // The waiting messages are handled while events are still suppressed, so what they would
  // raise is dropped.
  platform::PumpWaitingMessages();
  if (eventsSuppressed_ > 0) --eventsSuppressed_;
}

void Runtime::ControlDestroyed(WindowId windowId, ControlId controlId) {
  if (state_->rebuilding) return;
  LoadedWindow* window = state_->FindWindow(windowId);
  if (window == nullptr || !window->IsLoaded()) return;
  auto& records = window->description.records;

  const bool isWindowItself =
      controlId == 0 || (!records.empty() && records.front().controlId == controlId);
  if (!isWindowItself) {
    auto index = FindRecord(records, controlId);
    if (!index || *index >= window->slots.size()) return;
    // The control's cursor (none is made, see the loader) goes with it.
    window->slots[*index].live = nullptr;
    return;
  }

  // Back to the stored state: every write made while loaded is discarded and nothing is live.
  // No accelerator table or cursor was made for it (see the loader).
  window->Unload();
  PostQuitWhenNoWindowIsLeft();
}

}  // namespace pelmora
