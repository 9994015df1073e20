#include "runtime/kinds/kind_live_control.h"

#include <utility>

namespace pelmora {

StyleBits EdgeStyles(std::uint32_t borderStyle) {
  namespace ex = vocab::exstyle;
  switch (borderStyle) {
    case 1: return {0, ex::ClientEdge};
    case 2: return {0, ex::DialogModalFrame};
    case 3: return {0, ex::StaticEdge};
    case 4: return {0, ex::ClientEdge | ex::DialogModalFrame};
    case 5: return {vocab::style::Border, 0};
    default: return {0, 0};
  }
}

EventNotice MakeNotice(WindowId windowId, ControlId controlId, EventNumber event,
                       std::initializer_list<std::uint32_t> arguments) {
  EventNotice notice;
  notice.windowId = windowId;
  notice.controlId = controlId;
  notice.eventNumber = event;
  for (std::uint32_t argument : arguments) {
    if (notice.argumentCount == notice.arguments.size()) break;
    notice.arguments[notice.argumentCount++] = argument;
  }
  return notice;
}

KindLiveControl::KindLiveControl(Runtime& runtime, const KindCreation& creation,
                                 KindValues values)
    : runtime_(runtime),
      windowId_(creation.windowId),
      controlId_(creation.controlId),
      values_(std::move(values)) {}

LiveControl* KindLiveControl::CreateNative(KindLiveControl* control, platform::WindowSpec request) {
  request.procedure = control;
  platform::WindowHandle handle = platform::CreateNativeWindow(request);
  if (handle == platform::WindowHandle::None) {
    delete control;
    return nullptr;
  }
  control->window_ = handle;
  return control;
}

EventNotice KindLiveControl::Raise(EventNumber event,
                                   std::initializer_list<std::uint32_t> arguments) {
  EventNotice notice = MakeNotice(windowId_, controlId_, event, arguments);
  runtime_.RaiseEvent(notice);
  return notice;
}

std::intptr_t KindLiveControl::OnMessage(const platform::Message& message) {
  // Messages can arrive while the native window is still being created.
  if (window_ == platform::WindowHandle::None) window_ = message.window;

  if (message.id == vocab::msg::NcDestroy) {
    // The run time forgets the control first; then it goes, and nothing touches it again.
    runtime_.ControlDestroyed(windowId_, controlId_);
    delete this;
    return 0;
  }

  // A handler may destroy the window (and with it this control); stop then.
  platform::WindowHandle window = message.window;
  if (message.id == vocab::msg::SetFocus) {
    Raise(common_event::GotFocus);
    if (!platform::WindowExists(window)) return 0;
    FocusArrived();
    return 0;
  }
  if (message.id == vocab::msg::KillFocus) {
    Raise(common_event::LostFocus);
    return 0;
  }
  return Handle(message);
}

}  // namespace pelmora
