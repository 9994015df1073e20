// The run time's own state behind Runtime (the process-wide record of the form run time): the
// window table with each loaded window's live controls and load-time copy, the exit routines,
// the constant area and the loop's state. Only the run time's own files include this.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "runtime/control_kind.h"
#include "runtime/description.h"
#include "runtime/runtime.h"

namespace pelmora {

namespace runtime_detail {

// What the run time keeps of a live control beside its record.
struct LiveSlot {
  LiveControl* live = nullptr;  // the kind's object; the kind frees it after ControlDestroyed
  std::uint32_t childId = 0;    // the child-window identifier it was created with
};

struct LoadedWindow {
  WindowDescription description;
  // The control buffer as it was when the window was loaded; present only while loaded.
  // Writes of properties 0 to 7 change description.records, and the window's end puts this
  // copy back.
  std::optional<std::vector<ControlRecord>> loadTimeCopy;
  // Parallel to description.records while loaded, empty otherwise.
  std::vector<LiveSlot> slots;

  bool IsLoaded() const { return loadTimeCopy.has_value(); }
  // The kind's object while its native window exists.
  LiveControl* LiveAt(std::size_t index) const;
  LiveControl* LiveWindow() const { return LiveAt(0); }
  // Back to stored: the load-time copy becomes the buffer again, nothing is live.
  void Unload();
};

// The run time's own window, which owns top-level windows kept off the taskbar. It has nothing
// to do with any message.
class HiddenOwnerProcedure final : public platform::WindowProcedure {
 public:
  std::intptr_t OnMessage(const platform::Message&) override { return 0; }
};

struct State {
  std::vector<LoadedWindow> windows;
  std::vector<ExitRoutine> exitRoutines;
  const std::byte* constantsBegin = nullptr;
  const std::byte* constantsEnd = nullptr;
  bool oleInitialized = false;
  std::string programDirectory;
  bool loopRunning = false;
  int lastExitCode = 0;  // the quit request's code
  WindowId sourceWindow = 0;
  ControlId sourceControl = 0;
  // While RebuildControl destroys a replaced control, its ControlDestroyed is not about the
  // record's current control and must change nothing.
  bool rebuilding = false;
  HiddenOwnerProcedure hiddenOwnerProcedure;

  // Lookups by an invalid identifier find nothing.
  LoadedWindow* FindWindow(WindowId windowId);
};

}  // namespace runtime_detail

using runtime_detail::LoadedWindow;
using runtime_detail::LiveSlot;
using runtime_detail::State;

const ControlKind* FindKind(std::span<ControlKind* const> kinds, KindId kindId);

// The style bits the loader gives a control from its stored flags.
std::uint32_t CreationStyle(const ControlDescription& control, const KindAttributes& attributes);

}  // namespace pelmora
