// A live window of the window kind: its procedure (own events, painting, focus, closing) and
// its input pre-translation for itself and every control inside it.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/kinds/kind_live_control.h"
#include "runtime/kinds/window_block.h"

namespace pelmora {

using WindowStyles = StyleBits;

// The frame, title bar and box styles the window's properties ask for, on top of `base`.
// Used at creation and again whenever a property they depend on is written.
WindowStyles DeriveWindowStyles(const KindValues& values, WindowStyles base);

class WindowControl final : public KindLiveControl {
 public:
  using KindLiveControl::KindLiveControl;

  bool PreTranslate(platform::Message& message) override;
  void ShowAfterLoad() override;

  void NoteFocus(ControlId controlId) { lastFocused_ = controlId; }
  // Applies a written property to the live window.
  void Apply(std::int32_t ownIndex);
  // Shape, icon, font, topmost and the move command, as at creation.
  void ApplyCreationExtras();

 protected:
  std::intptr_t Handle(const platform::Message& message) override;
  void FocusArrived() override;

 private:
  void RederiveStyles();
  void ApplyShape();
  void Paint(platform::Canvas& canvas);
  // The close sequence: CloseRequested, MayClose, then the window goes.
  void RequestClose();

  // Pre-translation, step by step (window_input.cpp). Each returns true when it claimed the
  // message; after that this control may no longer exist.
  bool HandleKeyCommand(platform::Message& message);
  bool MoveFocus(bool backwards);
  bool RaiseClicked(const ControlView& button);
  bool HandleMnemonic(std::uint32_t virtualKey);
  bool OpenHelpFile();
  bool RaiseInputEvent(platform::Message& message);
  // The control of this window that the native window belongs to, searching up its parents.
  std::optional<ControlView> ControlContaining(platform::WindowHandle window) const;

  ControlId lastFocused_ = 0;
  bool activatedBefore_ = false;
};

}  // namespace pelmora
