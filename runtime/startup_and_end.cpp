// Start-up, the message loop and the two ways the program ends: normally once the last loaded
// window is gone, or through the run-time error box.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "runtime/program_directory.h"
#include "runtime/runtime.h"
#include "runtime/runtime_service_codes.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"

namespace pelmora {

void Runtime::RuntimeService(int code, ExitRoutine routine) {
  switch (code) {
    case runtime_service::StartRuntime:
      StartRuntime();
      break;
    case runtime_service::RegisterExitRoutine:
      RegisterExitRoutine(routine);
      break;
    default:
      // The other codes name services this program does not use.
      break;
  }
}

void Runtime::StartRuntime() {
  State& state = *state_;
  // The process heap is the platform's; nothing to take hold of here.
  if (!state.oleInitialized) {
    // Only services that really started are stopped again at the end. A browser that needs
    // them fails on its own when its window is loaded.
    state.oleInitialized = platform::StartComponentServices();
  }

  state.programDirectory = FolderOfProgram(platform::ProgramPath(), platform::PathSeparator());
  // Relative names resolve against the program's folder from here on; a failure leaves the
  // directory as it was.
  platform::ChangeDirectory(state.programDirectory);

  if (!platform::WindowExists(hiddenOwner_)) {
    platform::WindowSpec owner;
    owner.windowClass = platform::WindowClass::HiddenOwner;
    owner.exStyle = vocab::exstyle::ToolWindow;
    owner.procedure = &state.hiddenOwnerProcedure;
    hiddenOwner_ = platform::CreateNativeWindow(owner);
  }

  if (!image_.constantArea.empty()) {
    state.constantsBegin = image_.constantArea.data();
    state.constantsEnd = image_.constantArea.data() + image_.constantArea.size();
  }

  platform::InstallMessageFilter(this);
  for (ControlKind* kind : image_.kinds) {
    if (kind != nullptr) kind->ProgramStarting(*this);
  }

  DescriptionReadResult read;
  try {
    read = ReadDescriptionBlock(image_.descriptionBlock, image_.handlers);
  } catch (const std::bad_alloc&) {
    read.error = DescriptionReadError{0, "out of memory"};
  }
  if (!read.Ok()) ReportRuntimeError(runtime_text::kBadDescriptionBlock);
  state.windows.clear();
  for (auto& description : read.windows) {
    state.windows.push_back(LoadedWindow{std::move(description), std::nullopt, {}});
  }
}

void Runtime::RegisterExitRoutine(ExitRoutine routine) {
  auto& routines = state_->exitRoutines;
  if (routine == nullptr) return;
  if (std::find(routines.begin(), routines.end(), routine) == routines.end()) {
    routines.push_back(routine);
  }
}

void Runtime::RunMessageLoop() {
  state_->loopRunning = true;
  const bool anyWindowLive = std::any_of(state_->windows.begin(), state_->windows.end(),
                                         [](const LoadedWindow& w) { return w.LiveWindow(); });
  if (!anyWindowLive) return;
  state_->lastExitCode = platform::RunMessageLoop();
}

int Runtime::LastMessageExitCode() const { return state_->lastExitCode; }

void Runtime::PostQuitWhenNoWindowIsLeft() {
  if (!state_->loopRunning) return;
  for (const auto& window : state_->windows) {
    if (window.LiveWindow() != nullptr) return;
  }
  platform::PostQuit(0);
}

void Runtime::ProgramCleanup() {
  State& state = *state_;
  // For good: nothing reaches a handler while the program ends.
  ++eventsSuppressed_;
  state.windows.clear();

  // A routine may, in principle, register another; the list is taken first so that each
  // registered routine runs once.
  auto routines = std::move(state.exitRoutines);
  state.exitRoutines.clear();
  for (ExitRoutine routine : routines) routine();

  for (ControlKind* kind : image_.kinds) {
    if (kind != nullptr) kind->ProgramEnding(*this);
  }
  state.constantsBegin = nullptr;
  state.constantsEnd = nullptr;

  if (hiddenOwner_ != platform::WindowHandle::None && platform::WindowExists(hiddenOwner_)) {
    platform::DestroyNativeWindow(hiddenOwner_);
  }
  hiddenOwner_ = platform::WindowHandle::None;

  if (state.oleInitialized) {
    platform::StopComponentServices();
    state.oleInitialized = false;
  }
}

void Runtime::EndProgram(int exitCode) {
  ProgramCleanup();
  platform::EndProcess(exitCode);
}

void Runtime::ReportRuntimeError(const char* message, std::int32_t code) {
  // From here on no event reaches a handler, although the windows stay and keep receiving
  // their messages while the box is open.
  ++eventsSuppressed_;

  std::string text = runtime_text::kErrorHeading;
  if (code != 0) {
    text += runtime_text::kErrorCodeLabel;
    text += std::to_string(code);
    text += "\r\n\r\n";
  }
  if (message != nullptr && message[0] != '\0') {
    text += runtime_text::kErrorMessageLabel;
    text += message;
    text += "\r\n";
  }
  platform::ShowErrorBox(runtime_text::kErrorCaption, text);

  // Registered exit routines do not run after an error.
  state_->exitRoutines.clear();
  EndProgram(-1);
}

void Runtime::ReportAllocationFailure(std::int32_t byteCount) {
  char message[100];
  std::snprintf(message, sizeof message, runtime_text::kAllocationFailedFormat, byteCount);
  ReportRuntimeError(message);
}

}  // namespace pelmora
