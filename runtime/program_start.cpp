#include "runtime/program_start.h"

#include "runtime/runtime_service_codes.h"

namespace pelmora {

int ProgramStart(Runtime& runtime, const ProgramRoutines& routines) {
  runtime.RuntimeService(runtime_service::StartRuntime);
  // Conversions to integers rely on masked exceptions and round-to-nearest.
  platform::ResetFloatingPointEnvironment();
  if (routines.programInit != nullptr) routines.programInit();
  runtime.RuntimeService(runtime_service::RegisterExitRoutine, routines.programExit);
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
