// One run of the program on the simulated platform under a script, with its trace.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/sim_driver/script.h"

namespace pelmora::sim_driver {

// Runs the program until it ends or the script is done; every trace line goes to `emit`.
// Returns the program's exit code, or 0 after "end running".
int RunSession(const std::vector<Step>& steps, const std::function<void(const std::string&)>& emit);

}  // namespace pelmora::sim_driver
