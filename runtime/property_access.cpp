// ReadProperty and WriteProperty: the common properties 0 to 7 kept in the record (and applied
// to the live window), the kinds' own properties through their operations, each value carried
// across by the rules of its PropertyType.
#include <algorithm>
#include <string>

#include "runtime/property_transfer.h"
#include "runtime/runtime.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"

namespace pelmora {

namespace {

constexpr std::int32_t kPositionLimit = 32627;

// The property's type from the kind's list; the common ones are the same for every kind.
PropertyType TypeOf(const ControlKind* kind, PropertyNumber property) {
  if (kind == nullptr || property < 0) return PropertyType{0};
  auto types = kind->PropertyTypes();
  if (static_cast<std::size_t>(property) >= types.size()) return PropertyType{0};
  return types[static_cast<std::size_t>(property)];
}

struct Target {
  LoadedWindow* window = nullptr;
  std::size_t index = 0;
  ControlDescription* control = nullptr;
  const ControlKind* kind = nullptr;
};

// A ControlId that names no control of the window is a fault of the calling code. It is
// reported with the text of an unknown window: the control it means cannot be reached.
Target FindTarget(Runtime& runtime, State& state, std::span<ControlKind* const> kinds,
                  WindowId windowId, ControlId controlId) {
  Target target;
  target.window = state.FindWindow(windowId);
  if (target.window == nullptr) runtime.ReportRuntimeError(runtime_text::kWindowOfAccessUnknown);
  auto& records = target.window->description.records;
  auto index = FindRecord(records, controlId);
  if (!index || records[*index].IsMenuItem()) {
    runtime.ReportRuntimeError(runtime_text::kWindowOfAccessUnknown);
  }
  target.index = *index;
  target.control = &records[*index].description;
  target.kind = FindKind(kinds, target.control->kind);
  return target;
}

std::int32_t Clamp(std::uintptr_t low, std::int32_t minimum) {
  return std::clamp(static_cast<std::int32_t>(static_cast<std::uint32_t>(low)), minimum,
                    kPositionLimit);
}

void SetFlag(std::uint32_t& flags, std::uint32_t flag, bool on) {
  flags = on ? (flags | flag) : (flags & ~flag);
}

}  // namespace

void Runtime::WriteProperty(WindowId windowId, ControlId controlId, PropertyNumber property,
                            std::int32_t /*index: font parts only*/, std::uintptr_t low,
                            std::uint32_t high) {
  Target target = FindTarget(*this, *state_, image_.kinds, windowId, controlId);
  ControlDescription& control = *target.control;
  LiveControl* live = target.window->LiveAt(target.index);
  const platform::WindowHandle handle = live != nullptr ? live->Window() : platform::WindowHandle::None;
  const bool neverShown = target.kind != nullptr && target.kind->Attributes().neverShown;

  if (property >= 0 && property < common_property::FirstOwn) {
    switch (property) {
      case common_property::Left:
      case common_property::Top:
      case common_property::Width:
      case common_property::Height: {
        const bool isPosition = property <= common_property::Top;
        const std::int32_t value = Clamp(low, isPosition ? -kPositionLimit : 0);
        std::int32_t* stored[] = {&control.left, &control.top, &control.width, &control.height};
        *stored[property] = value;
        if (live != nullptr) {
          platform::Rect bounds = platform::BoundsOf(handle);
          std::int32_t* current[] = {&bounds.left, &bounds.top, &bounds.width, &bounds.height};
          *current[property] = value;
          platform::SetBounds(handle, bounds);
        }
        break;
      }
      case common_property::Tag:
        control.tag = low != 0 ? reinterpret_cast<const char*>(low) : "";
        break;
      case common_property::Visible:
        SetFlag(control.stateFlags, state_flag::Visible, static_cast<std::uint32_t>(low) != 0);
        // A kind that is never shown keeps its window hidden whatever the flag says.
        if (live != nullptr && !neverShown) {
          platform::ShowNativeWindow(handle, static_cast<std::uint32_t>(low) != 0
                                                 ? vocab::Show::ShowNoActivate
                                                 : vocab::Show::Hide);
        }
        break;
      case common_property::Disabled:
        SetFlag(control.stateFlags, state_flag::Disabled, static_cast<std::uint32_t>(low) != 0);
        if (live != nullptr) platform::EnableNativeWindow(handle, static_cast<std::uint32_t>(low) == 0);
        break;
      case common_property::MousePointer: {
        OwnValue data = PrepareForKind(PropertyType::MousePointer, low, high);
        control.mousePointer.assign(data.bytes, data.bytes + data.byteCount);
        // The cursor made from it would change here; pointer data makes none (see the loader).
        break;
      }
    }
    return;
  }

  if (live == nullptr || target.kind == nullptr) {
    ReportRuntimeError(runtime_text::kWindowNotLoaded);
  }
  ControlKind& kind = *const_cast<ControlKind*>(target.kind);
  const OwnValue value = PrepareForKind(TypeOf(target.kind, property), low, high);
  const bool rebuild = kind.WriteOwnProperty(*this, *live, property - common_property::FirstOwn, value);
  if (rebuild && target.index != 0 && kind.Attributes().rebuildAllowed &&
      target.window->LiveAt(target.index) == live) {
    RebuildControl(*target.window, target.index);
  }
}

PropertyWords Runtime::ReadProperty(WindowId windowId, ControlId controlId,
                                    PropertyNumber property, std::int32_t /*index*/) {
  Target target = FindTarget(*this, *state_, image_.kinds, windowId, controlId);
  const ControlDescription& control = *target.control;
  LiveControl* live = target.window->LiveAt(target.index);
  const platform::WindowHandle handle = live != nullptr ? live->Window() : platform::WindowHandle::None;

  auto integer = [](std::int32_t value) {
    return PropertyWords{static_cast<std::uint32_t>(value), 0};
  };
  if (property >= 0 && property < common_property::FirstOwn) {
    switch (property) {
      case common_property::Left:
      case common_property::Top:
      case common_property::Width:
      case common_property::Height: {
        if (live == nullptr) {
          const std::int32_t stored[] = {control.left, control.top, control.width, control.height};
          return integer(stored[property]);
        }
        const platform::Rect bounds = platform::BoundsOf(handle);
        const std::int32_t current[] = {bounds.left, bounds.top, bounds.width, bounds.height};
        return integer(current[property]);
      }
      case common_property::Tag:
        return {reinterpret_cast<std::uintptr_t>(NewTextValue(*this, control.tag.c_str())), 0};
      case common_property::Visible:
        return integer(live != nullptr ? platform::IsShown(handle)
                                       : (control.stateFlags & state_flag::Visible) != 0);
      case common_property::Disabled:
        return integer(live != nullptr ? !platform::IsEnabled(handle)
                                       : (control.stateFlags & state_flag::Disabled) != 0);
      default:  // MousePointer
        return {reinterpret_cast<std::uintptr_t>(NewByteData(
                    *this, control.mousePointer.data(),
                    static_cast<std::uint32_t>(control.mousePointer.size()))),
                0};
    }
  }

  if (live == nullptr || target.kind == nullptr) {
    ReportRuntimeError(runtime_text::kWindowNotLoaded);
  }
  OwnValue value;
  // The result is not looked at: an index the kind does not have reads as 0 or null.
  const_cast<ControlKind*>(target.kind)
      ->ReadOwnProperty(*this, *live, property - common_property::FirstOwn, value);
  return ConvertForCaller(TypeOf(target.kind, property), value, *this);
}

void Runtime::RebuildControl(LoadedWindow& window, std::size_t index) {
  platform::PumpWaitingMessages();
  ++eventsSuppressed_;

  // The pump may have ended the window or the control.
  LiveControl* old = window.LiveAt(index);
  if (old != nullptr) {
    const ControlRecord& record = window.description.records[index];
    ControlKind* kind = nullptr;
    for (ControlKind* candidate : image_.kinds) {
      if (candidate != nullptr && candidate->Id() == record.description.kind) kind = candidate;
    }
    const platform::WindowHandle oldWindow = old->Window();
    const platform::Rect bounds = platform::BoundsOf(oldWindow);
    const std::vector<std::uint8_t> block = kind->SaveKindPropertyBlock(*old);

    KindCreation creation;
    creation.block = block;
    creation.style = CreationStyle(record.description, kind->Attributes()) &
                     ~vocab::style::Disabled;
    if (!platform::IsEnabled(oldWindow)) creation.style |= vocab::style::Disabled;
    creation.parent = platform::ParentOf(oldWindow);
    creation.childId = window.slots[index].childId;
    creation.left = bounds.left;
    creation.top = bounds.top;
    creation.width = bounds.width;
    creation.height = bounds.height;
    creation.windowId = window.description.windowId;
    creation.controlId = record.controlId;

    // When the kind cannot make the new control, the old one stays: the value written is lost,
    // but the control and everything else in the window still work.
    if (LiveControl* replacement = kind->CreateKindControl(*this, creation)) {
      const platform::WindowHandle newWindow = replacement->Window();
      const bool wasShown = platform::IsShown(oldWindow);
      const bool hadFocus = platform::FocusedWindow() == oldWindow;
      window.slots[index].live = replacement;
      platform::PlaceBelow(newWindow, oldWindow);
      platform::SendToWindow(newWindow, vocab::msg::DataRefresh, 0, 0);
      platform::SendToWindow(newWindow, vocab::msg::PageRefresh, 0, 0);
      if (wasShown) platform::ShowNativeWindow(newWindow, vocab::Show::ShowNoActivate);
      state_->rebuilding = true;
      platform::DestroyNativeWindow(oldWindow);
      state_->rebuilding = false;
      if (hadFocus && platform::WindowExists(newWindow)) platform::SetFocusTo(newWindow);
    }
  }

  platform::PumpWaitingMessages();
  if (eventsSuppressed_ > 0) --eventsSuppressed_;
}

}  // namespace pelmora
