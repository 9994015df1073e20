#include "runtime/kinds/timer_kind.h"

#include <array>

#include "platform/platform.h"
#include "runtime/kinds/timer_block.h"
#include "runtime/runtime.h"

namespace pelmora {

namespace {

using platform::WindowHandle;

// One live timer. Its hidden window's procedure is the control itself; the control frees
// itself after the window's final message.
class TimerControl final : public LiveControl, public platform::WindowProcedure {
 public:
  TimerControl(Runtime& runtime, WindowId windowId, ControlId controlId, std::int32_t period)
      : runtime_(runtime), windowId_(windowId), controlId_(controlId), period_(period) {}

  WindowHandle Window() const override { return window_; }

  bool Create(const KindCreation& creation) {
    platform::WindowSpec request = ControlWindowRequest(creation, platform::WindowClass::TimerHost);
    request.style = creation.style | vocab::style::Child | vocab::style::ClipSiblings;
    request.procedure = this;
    window_ = platform::CreateNativeWindow(request);
    if (window_ == WindowHandle::None) return false;
    // A stored positive period runs from the moment the window exists, without any write.
    if (period_ > 0) Start(period_);
    return true;
  }

  std::int32_t Period() const { return period_; }

  void WritePeriod(std::int32_t value) {
    if (value < 0) value = 0;
    // Rewriting the current period must not disturb a running countdown.
    if (value == period_) return;
    period_ = value;
    if (running_) {
      platform::StopTimer(window_, timer::SystemTimerId);
      running_ = false;
    }
    // A new positive period restarts the countdown from this moment.
    if (value > 0) Start(value);
  }

  std::intptr_t OnMessage(const platform::Message& message) override {
    switch (message.id) {
      case vocab::msg::Timer:
        RaiseTick();  // may destroy the window and with it this control: touch nothing after
        return 0;
      case vocab::msg::Destroy:
        if (running_) {
          platform::StopTimer(message.window, timer::SystemTimerId);
          running_ = false;
        }
        return 0;
      case vocab::msg::NcDestroy:
        runtime_.ControlDestroyed(windowId_, controlId_);
        delete this;
        return 0;
      default:
        return 0;
    }
  }

 private:
  void Start(std::int32_t period) {
    // The result of setting a system timer is not checked: a timer that could not be set
    // still counts as running and reads back its period.
    platform::StartTimer(window_, timer::SystemTimerId, static_cast<std::uint32_t>(period));
    running_ = true;
  }

  void RaiseTick() {
    EventNotice notice;
    notice.windowId = windowId_;
    notice.controlId = controlId_;
    notice.eventNumber = timer::Tick;
    runtime_.RaiseEvent(notice);
  }

  Runtime& runtime_;
  const WindowId windowId_;
  const ControlId controlId_;
  std::int32_t period_;
  bool running_ = false;
  WindowHandle window_ = WindowHandle::None;
};

constexpr std::array<PropertyType, 9> kPropertyTypes = {
    PropertyType::Integer, PropertyType::Integer, PropertyType::Integer,
    PropertyType::Integer, PropertyType::Text,    PropertyType::Logical,
    PropertyType::Logical, PropertyType::MousePointer,
    PropertyType::Integer,  // Period
};

constexpr std::int32_t kPeriodIndex = timer::Period - common_property::FirstOwn;

class TimerKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::Timer; }
  std::string_view Name() const override { return "Timer"; }
  std::span<const PropertyType> PropertyTypes() const override { return kPropertyTypes; }
  KindAttributes Attributes() const override {
    KindAttributes attributes;
    attributes.neverShown = true;
    attributes.mayRaiseEvents = true;
    attributes.holdsPages = false;
    attributes.rebuildAllowed = false;
    attributes.takesFocus = false;
    return attributes;
  }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    const auto block = ReadTimerBlock(creation.block);
    if (!block) return nullptr;
    auto* control =
        new TimerControl(runtime, creation.windowId, creation.controlId, block->period);
    if (!control->Create(creation)) {
      delete control;  // no window: no message will ever free it
      return nullptr;
    }
    return control;
  }

  bool WriteOwnProperty(Runtime& /*runtime*/, LiveControl& control, std::int32_t ownIndex,
                        const OwnValue& value) override {
    // The run time passes an integer as its low 32 bits; read them as signed, so that
    // 3 x 10^9 arrives negative and stops the timer.
    if (ownIndex == kPeriodIndex) {
      static_cast<TimerControl&>(control).WritePeriod(static_cast<std::int32_t>(value.low));
    }
    return false;
  }

  bool ReadOwnProperty(Runtime& /*runtime*/, LiveControl& control, std::int32_t ownIndex,
                       OwnValue& value) override {
    if (ownIndex != kPeriodIndex) return false;
    value.low = static_cast<std::uint32_t>(static_cast<TimerControl&>(control).Period());
    return true;
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& control) override {
    return WriteTimerBlock({static_cast<TimerControl&>(control).Period()});
  }
};

}  // namespace

ControlKind& TimerKind() {
  static TimerKindImpl kind;
  return kind;
}

}  // namespace pelmora
