// What the window, edit box, label and button controls share: a live control that is also the
// procedure of its native window, holds its own property values, raises its focus events and
// frees itself after its window's final message.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"
#include "runtime/control_kind.h"
#include "runtime/kinds/kind_block.h"
#include "runtime/runtime.h"

namespace pelmora {

struct StyleBits {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
};

// The edge of an edit box or a label by its BorderStyle: 0 none, 1 sunken, 2 raised modal
// frame, 3 thin, 4 sunken and raised, 5 single line. Other values give no edge.
StyleBits EdgeStyles(std::uint32_t borderStyle);
// The bits EdgeStyles may set, to clear them before applying a new edge.
inline constexpr StyleBits kEdgeStyleMask{vocab::style::Border,
                                          vocab::exstyle::ClientEdge |
                                              vocab::exstyle::DialogModalFrame |
                                              vocab::exstyle::StaticEdge};

EventNotice MakeNotice(WindowId windowId, ControlId controlId, EventNumber event,
                       std::initializer_list<std::uint32_t> arguments = {});

class KindLiveControl : public LiveControl, public platform::WindowProcedure {
 public:
  KindLiveControl(Runtime& runtime, const KindCreation& creation, KindValues values);

  platform::WindowHandle Window() const override { return window_; }
  std::intptr_t OnMessage(const platform::Message& message) final;

  WindowId OwnerWindowId() const { return windowId_; }
  ControlId Id() const { return controlId_; }
  KindValues& Values() { return values_; }
  const KindValues& Values() const { return values_; }

  // Creates the native window with this control as its procedure. On refusal the control
  // deletes itself and the result is null.
  static LiveControl* CreateNative(KindLiveControl* control, platform::WindowSpec request);

 protected:
  // The kind's own handling, after the shared one. Never called for the final message.
  virtual std::intptr_t Handle(const platform::Message& /*message*/) { return 0; }
  // The focus arrived at this control's window (after GotFocus was raised).
  virtual void FocusArrived() {}

  // Raises one of this control's events. The notice comes back with the handler's result.
  EventNotice Raise(EventNumber event, std::initializer_list<std::uint32_t> arguments = {});

  Runtime& runtime_;
  const WindowId windowId_;
  const ControlId controlId_;
  KindValues values_;
  platform::WindowHandle window_ = platform::WindowHandle::None;
};

}  // namespace pelmora
