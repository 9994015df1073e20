// Floating-point values to integers.
#include <limits>

#include "runtime/values.h"

namespace pelmora {

std::int64_t TruncateToInt64(double value) {
  constexpr std::int64_t kInvalid = std::numeric_limits<std::int64_t>::min();
  // 2^63 is exact as a double; the comparisons are false for NaN, so it falls out too.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(value >= -kLimit && value < kLimit)) return kInvalid;
  // A conversion in C++ truncates toward zero whatever rounding mode is in force: the
  // compiler sets the mode around the one instruction where the processor needs it.
  return static_cast<std::int64_t>(value);
}

std::int64_t PeriodFromSeconds(double seconds) {
  // The product must be rounded to a double before it is truncated: 0.57 * 1000.0 lies a
  // hair below 570 and rounds to exactly 570.0. x87 code would keep the unrounded product in
  // an extended register and give 569; a store to a double in memory rounds it everywhere.
  volatile double milliseconds = seconds * 1000.0;
  return TruncateToInt64(milliseconds);
}

}  // namespace pelmora
