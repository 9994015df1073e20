// The program's start-up routine and the process entry built on it.
#pragma once

#include "runtime/ids.h"
#include "runtime/runtime.h"

namespace pelmora {

// What the program supplies to start: its initialisation routine, its exit routine (run once
// by ProgramCleanup at a normal end) and the window it opens first.
struct ProgramRoutines {
  void (*programInit)() = nullptr;
  ExitRoutine programExit = nullptr;
  WindowId startupWindow = 0;
};

// Starts the run time, loads the start-up window and runs the message loop. Returns 0 once
// the loop has ended; every failure on the way ends the process through the error box.
int ProgramStart(Runtime& runtime, const ProgramRoutines& routines);

// The process entry: widens the system error mode, runs ProgramStart, then ends normally
// (ProgramCleanup, then the process ends with the quit request's exit code).
[[noreturn]] void RunProgram(Runtime& runtime, const ProgramRoutines& routines);

}  // namespace pelmora
