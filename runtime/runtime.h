// The form run time: one per process. It reads the program's stored window descriptions,
// creates windows and controls from them through their kinds, gives the program's code access
// to control properties by number, delivers events to the handlers bound in the descriptions,
// runs the message loop, and ends the process normally or through the run-time error box.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "runtime/control_kind.h"
#include "runtime/ids.h"
#include "runtime/value_memory.h"

namespace pelmora {

// How a kind hands an event to the run time.
struct EventNotice {
  WindowId windowId = 0;
  ControlId controlId = 0;  // 0: the window itself
  EventNumber eventNumber = 0;
  std::uint32_t argumentCount = 0;  // 0 to 5
  std::array<std::uint32_t, 5> arguments{};
  std::uint32_t hasResult = 0;  // set by RaiseEvent when the handler returned a value
  std::uint32_t result = 0;
};

// A handler returns no value or one 32-bit value.
using HandlerResult = std::optional<std::uint32_t>;
using Handler = HandlerResult (*)(Runtime& runtime, std::span<const std::uint32_t> arguments);

// The program's routines, by the reference numbers its descriptions store.
struct HandlerEntry {
  std::uint32_t reference = 0;
  Handler handler = nullptr;
};
inline constexpr std::uint32_t kNoHandler = 0xFFFFFFFFu;

using ExitRoutine = void (*)();

// A property value as it crosses ReadProperty and WriteProperty: two words. The low word is
// as wide as an address so that it can carry a value's address on 64-bit systems as well;
// integers use its low 32 bits.
struct PropertyWords {
  std::uintptr_t low = 0;
  std::uint32_t high = 0;
};

// Heap value of byte data: u32 1, u32 byte count, then the bytes.
struct ByteDataHeader {
  std::uint32_t one = 1;
  std::uint32_t byteCount = 0;
};

// State of the random-number generator of the value commands.
struct RandomState {
  std::uint32_t state = 1;
  std::uint32_t seedCounter = 0;
};

// What the program brings: its stored descriptions, its routines, its constant area, and the
// control kinds it links (each kind's module is told of start and end).
struct ProgramImage {
  std::span<const std::uint8_t> descriptionBlock;
  std::span<const HandlerEntry> handlers;
  std::span<const std::byte> constantArea;
  std::span<ControlKind* const> kinds;
};

// A control of a loaded window as the kinds see it (keyboard order, default buttons,
// mnemonics, common events).
struct ControlView {
  ControlId controlId = 0;
  std::size_t storedIndex = 0;  // 0 is the window itself
  const ControlKind* kind = nullptr;
  LiveControl* live = nullptr;  // null when not live
  std::uint32_t stateFlags = 0;
  std::int32_t tabOrder = 0;
};

namespace runtime_detail {
// The core's own state, defined by its implementation (runtime/runtime_state.h).
struct State;
struct LoadedWindow;
}  // namespace runtime_detail

// Ending the process goes through platform::EndProcess, which the simulated platform turns into
// the exception sim::ProcessEnded. A test that ends the process (or merely loads windows) must
// call sim::Reset(), which destroys the windows still alive so that their kinds free what they
// hold, before it destroys its Runtime.
class Runtime final : public platform::MessageFilter, public ValueMemory {
 public:
  explicit Runtime(ProgramImage image);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // ---- Start-up, loop and end ---------------------------------------------------------
  // Code 6: StartRuntime. Code 3: RegisterExitRoutine(routine). Other codes do nothing.
  void RuntimeService(int code, ExitRoutine routine = nullptr);
  void StartRuntime();
  void RegisterExitRoutine(ExitRoutine routine);
  // Creates the live window of a description. Failure is the run-time error
  // "载入启动窗口失败".
  void LoadWindow(WindowId windowId);
  // Returns when the loop has taken the quit request.
  void RunMessageLoop();
  // The exit code of a normal end: the quit request's wParam.
  int LastMessageExitCode() const;
  void ProgramCleanup();
  [[noreturn]] void EndProgram(int exitCode);
  [[noreturn]] void ReportRuntimeError(const char* message, std::int32_t code = 0);
  [[noreturn]] void ReportAllocationFailure(std::int32_t byteCount);

  // ---- Values --------------------------------------------------------------------------
  // Never null: a failed allocation ends the program through the error box.
  void* AllocateValue(std::size_t bytes) override;
  // Ignores null and values inside the program's constant area.
  void FreeValue(const void* value) override;
  RandomState& Random() { return random_; }

  // ---- Property access ------------------------------------------------------------------
  PropertyWords ReadProperty(WindowId windowId, ControlId controlId, PropertyNumber property,
                             std::int32_t index = -1);
  void WriteProperty(WindowId windowId, ControlId controlId, PropertyNumber property,
                     std::int32_t index, std::uintptr_t low, std::uint32_t high);

  // ---- Services for the kinds -------------------------------------------------------------
  // 1 when a handler ran, 0 when none is bound or events are suppressed.
  bool RaiseEvent(EventNotice& notice);
  void SuppressEvents();
  void ResumeEvents();
  bool EventsSuppressed() const { return eventsSuppressed_ > 0; }
  void ControlDestroyed(WindowId windowId, ControlId controlId);
  platform::WindowHandle HiddenOwner() const { return hiddenOwner_; }
  // Controls of a loaded window in stored order (index 0 is the window); empty when the
  // window is not loaded.
  std::vector<ControlView> ControlsOf(WindowId windowId) const;
  // The loaded window and control whose native window this is.
  std::optional<std::pair<WindowId, ControlView>> ControlOfNativeWindow(
      platform::WindowHandle window) const;

  // MessageFilter: offers the message to its target's control, then to each parent's.
  bool PreTranslate(platform::Message& message) override;

  // The event whose handler is running: its WindowId is 0 when none runs.
  std::pair<WindowId, ControlId> EventSource() const;
  // The program's folder as StartRuntime found it ("" when the path has no separator).
  const std::string& ProgramDirectory() const;

 private:
  // The core's own state (window table, load-time copies, exit routines, constant area,
  // loopRunning, lastMessage, EventSource) is defined by its implementation.
  void CreateControls(runtime_detail::LoadedWindow& window);
  [[noreturn]] void DestroyFailedLoad(runtime_detail::LoadedWindow& window);
  void RebuildControl(runtime_detail::LoadedWindow& window, std::size_t index);
  void PostQuitWhenNoWindowIsLeft();

  ProgramImage image_;
  std::unique_ptr<runtime_detail::State> state_;
  platform::WindowHandle hiddenOwner_ = platform::WindowHandle::None;
  std::int32_t eventsSuppressed_ = 0;
  RandomState random_;
};

}  // namespace pelmora
