#include "runtime/program_start.h"

namespace pelmora {

namespace {
constexpr int kStartRuntimeService = 6;
constexpr int kRegisterExitRoutineService = 3;
}  // namespace

int ProgramStart(Runtime& runtime, const ProgramRoutines& routines) {
  runtime.RuntimeService(kStartRuntimeService);
  // Conversions to integers rely on masked exceptions and round-to-nearest.
  platform::ResetFloatingPointEnvironment();
  if (routines.programInit != nullptr) routines.programInit();
  runtime.RuntimeService(kRegisterExitRoutineService, routines.programExit);
  runtime.LoadWindow(routines.startupWindow);
  runtime.RunMessageLoop();
  return 0;
}

void RunProgram(Runtime& runtime, const ProgramRoutines& routines) {
  platform::WidenErrorMode();
  ProgramStart(runtime, routines);
  runtime.ProgramCleanup();
  platform::EndProcess(runtime.LastMessageExitCode());
}

}  // namespace pelmora
