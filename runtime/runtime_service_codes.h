// The codes of RuntimeService, the one entry through which the program's start-up code reaches
// the run time's start-up services. Codes 0, 1, 2, 4 and 5 name services this program does
// not use.
#pragma once

namespace pelmora::runtime_service {
inline constexpr int RegisterExitRoutine = 3;
inline constexpr int StartRuntime = 6;
}  // namespace pelmora::runtime_service
