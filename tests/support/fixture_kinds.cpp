#include "tests/support/fixture_kinds.h"

#include <algorithm>
#include <cstdio>

namespace pelmora::testing {

int CallLog::IndexOf(const std::string& entry) const {
  auto found = std::find(entries.begin(), entries.end(), entry);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

int CallLog::Count(const std::string& entry) const {
  return static_cast<int>(std::count(entries.begin(), entries.end(), entry));
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

namespace {

constexpr PropertyType kCommonTypes[] = {
    PropertyType::Integer, PropertyType::Integer, PropertyType::Integer,
    PropertyType::Integer, PropertyType::Text,    PropertyType::Logical,
    PropertyType::Logical, PropertyType::MousePointer};

// A native window and its procedure in one object, as the real kinds have it: it logs the
// private notices, reports its end and frees itself on its final message.
class FixtureControl final : public LiveControl, public platform::WindowProcedure {
 public:
  using PreTranslateHook = std::function<bool(ControlId, platform::Message&)>;

  FixtureControl(Runtime& runtime, CallLog& log, const KindCreation& creation, bool topLevel,
                 const PreTranslateHook& hook, bool raisesEvents)
      : block(creation.block.begin(), creation.block.end()),
        raisesEvents_(raisesEvents),
        hook_(hook),
        runtime_(runtime),
        log_(log),
        windowId_(creation.windowId),
        controlId_(creation.controlId),
        topLevel_(topLevel) {}

  bool Create(const KindCreation& creation) {
    platform::WindowSpec request;
    request.windowClass = topLevel_ ? platform::WindowClass::Frame : platform::WindowClass::Label;
    request.style = creation.style | (topLevel_ ? vocab::style::Caption : vocab::style::Child);
    request.rect = {creation.left, creation.top, creation.width, creation.height};
    request.parent = creation.parent;
    request.childId = creation.childId;
    request.procedure = this;
    window_ = platform::CreateNativeWindow(request);
    return window_ != platform::WindowHandle::None;
  }

  ControlId Id() const { return controlId_; }
  platform::WindowHandle Window() const override { return window_; }
  bool PreTranslate(platform::Message& message) override {
    return hook_ ? hook_(controlId_, message) : false;
  }
  void ShowAfterLoad() override {
    log_.Add("show " + Hex(controlId_));
    platform::ShowNativeWindow(window_, vocab::Show::Show);
  }

  std::intptr_t OnMessage(const platform::Message& message) override {
    switch (message.id) {
      case vocab::msg::Close:
        if (topLevel_) platform::DestroyNativeWindow(window_);
        break;
      case vocab::msg::DataRefresh:
      case vocab::msg::DockingLayout:
      case vocab::msg::PageRefresh: {
        log_.Add("message " + Hex(controlId_) + " " + Hex(message.id));
        // Raised as an event numbered like the notice, so a test can see whether events
        // were suppressed when it came.
        if (!raisesEvents_) break;
        EventNotice notice;
        notice.windowId = windowId_;
        notice.controlId = controlId_;
        notice.eventNumber = static_cast<EventNumber>(message.id);
        runtime_.RaiseEvent(notice);
        break;
      }
      case vocab::msg::Timer: {
        // Like a timer control: every timer message of its window is its event 0.
        if (!raisesEvents_) break;
        EventNotice notice;
        notice.windowId = windowId_;
        notice.controlId = controlId_;
        runtime_.RaiseEvent(notice);
        break;
      }
      case vocab::msg::NcDestroy:
        log_.Add("destroyed " + Hex(controlId_));
        runtime_.ControlDestroyed(windowId_, controlId_);
        delete this;
        break;
      default:
        break;
    }
    return 0;
  }

  std::string caption;
  std::vector<std::uint8_t> block;

 private:
  bool raisesEvents_;
  const PreTranslateHook& hook_;
  Runtime& runtime_;
  CallLog& log_;
  WindowId windowId_;
  ControlId controlId_;
  bool topLevel_;
  platform::WindowHandle window_ = platform::WindowHandle::None;
};

LiveControl* Create(Runtime& runtime, CallLog& log, const KindCreation& creation, bool topLevel,
                    const FixtureControl::PreTranslateHook& hook, bool raisesEvents) {
  auto* control = new FixtureControl(runtime, log, creation, topLevel, hook, raisesEvents);
  if (!control->Create(creation)) {
    delete control;
    return nullptr;
  }
  log.Add("create " + Hex(creation.controlId) + " child=" + std::to_string(creation.childId) +
          " style=" + Hex(creation.style));
  return control;
}

RecordedValue Record(const OwnValue& value) {
  RecordedValue recorded{value.low, value.high, value.text != nullptr,
                         value.text != nullptr ? value.text : "", value.bytes != nullptr, {}};
  if (value.bytes != nullptr) recorded.bytes.assign(value.bytes, value.bytes + value.byteCount);
  return recorded;
}

}  // namespace

std::span<const PropertyType> FixtureWindowKind::PropertyTypes() const {
  static const std::vector<PropertyType> types = [] {
    std::vector<PropertyType> all(std::begin(kCommonTypes), std::end(kCommonTypes));
    all.push_back(PropertyType::Text);
    return all;
  }();
  return types;
}

LiveControl* FixtureWindowKind::CreateKindControl(Runtime& runtime, const KindCreation& creation) {
  if (failCreation) return nullptr;
  return Create(runtime, log_, creation, true, onPreTranslate, true);
}

bool FixtureWindowKind::WriteOwnProperty(Runtime&, LiveControl& control, std::int32_t ownIndex,
                                         const OwnValue& value) {
  log_.Add("write " + Hex(static_cast<FixtureControl&>(control).Id()) + " " +
           std::to_string(ownIndex));
  if (ownIndex == 0) {
    static_cast<FixtureControl&>(control).caption = value.text;
    platform::SetText(control.Window(), value.text);
  }
  return false;
}

bool FixtureWindowKind::ReadOwnProperty(Runtime&, LiveControl& control, std::int32_t ownIndex,
                                        OwnValue& value) {
  if (ownIndex != 0) return false;
  value.text = static_cast<FixtureControl&>(control).caption.c_str();
  return true;
}

FixtureChildKind::FixtureChildKind(CallLog& log, KindId id, std::vector<PropertyType> ownTypes,
                                   KindAttributes attributes)
    : log_(log), id_(id), attributes_(attributes) {
  types_.assign(std::begin(kCommonTypes), std::end(kCommonTypes));
  types_.insert(types_.end(), ownTypes.begin(), ownTypes.end());
}

LiveControl* FixtureChildKind::CreateKindControl(Runtime& runtime, const KindCreation& creation) {
  blocks.emplace_back(creation.block.begin(), creation.block.end());
  if (creation.controlId == failCreationOf) return nullptr;
  return Create(runtime, log_, creation, false, onPreTranslate,
                attributes_.mayRaiseEvents);
}

bool FixtureChildKind::WriteOwnProperty(Runtime&, LiveControl& control, std::int32_t ownIndex,
                                        const OwnValue& value) {
  log_.Add("write " + Hex(static_cast<FixtureControl&>(control).Id()) + " " +
           std::to_string(ownIndex));
  written[ownIndex] = Record(value);
  return askRebuild;
}

bool FixtureChildKind::ReadOwnProperty(Runtime&, LiveControl&, std::int32_t ownIndex,
                                       OwnValue& value) {
  auto found = readValues.find(ownIndex);
  if (found == readValues.end()) return false;
  const RecordedValue& stored = found->second;
  value.low = stored.low;
  value.high = stored.high;
  if (stored.hasText) value.text = stored.text.c_str();
  if (stored.hasBytes) {
    value.bytes = stored.bytes.data();
    value.byteCount = static_cast<std::uint32_t>(stored.bytes.size());
  }
  return true;
}

std::vector<std::uint8_t> FixtureChildKind::SaveKindPropertyBlock(LiveControl& control) {
  // The saved block is the stored one with a generation byte added, so a test can tell a
  // rebuilt control from the original.
  auto block = static_cast<FixtureControl&>(control).block;
  block.push_back(0xB0);
  return block;
}

}  // namespace pelmora::testing
