// The percentage an HTML viewer reports for the browser's progress.
#pragma once

#include <cstdint>

namespace pelmora {

// progress x 100 / maximum with a 64-bit intermediate, rounded to the nearest integer (halves
// away from zero), -1 when the result does not fit in 32 bits. A maximum of 0 means the
// browser has nothing left to load: 100.
std::int32_t ProgressPercentage(std::int32_t progress, std::int32_t maximum);

}  // namespace pelmora
