// The page refresher as a program of the form run time: its window data, its routines, its
// constants and the control kinds it uses.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/control_kind.h"
#include "runtime/program_start.h"
#include "runtime/runtime.h"

namespace pelmora::refresher {

// The compiled main window description (built from main_window.form).
std::span<const std::uint8_t> MainWindowBlock();

std::span<ControlKind* const> ProgramKinds();
ProgramImage Image();
ProgramRoutines Routines();

// The program's own initialisation and exit routines: nothing to do in this program.
void ProgramInit();
void ProgramExit();

}  // namespace pelmora::refresher
