#include "runtime/kinds/html_viewer_progress.h"

#include <cstdlib>
#include <limits>

namespace pelmora {

std::int32_t ProgressPercentage(std::int32_t progress, std::int32_t maximum) {
  if (maximum == 0) return 100;
  const std::int64_t product = static_cast<std::int64_t>(progress) * 100;
  const std::int64_t divisor = maximum;
  const bool negative = (product < 0) != (divisor < 0);
  const std::int64_t magnitude = (std::llabs(product) + std::llabs(divisor) / 2) / std::llabs(divisor);
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<std::int32_t>::max() ||
      result < -std::numeric_limits<std::int32_t>::max()) {
    return -1;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace pelmora
