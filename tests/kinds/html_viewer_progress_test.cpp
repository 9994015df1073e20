#include "runtime/kinds/html_viewer_progress.h"

#include <gtest/gtest.h>

#include <climits>

namespace pelmora {
namespace {

struct ProgressCase {
  std::int32_t progress;
  std::int32_t maximum;
  std::int32_t percentage;
};

TEST(ProgressPercentage, RoundsToTheNearestWithAWideIntermediate) {
  const ProgressCase cases[] = {
      {0, 0, 100},               // nothing left to load
      {12345, 0, 100},
      {-1, 0, 100},
      {0, 10000, 0},
      {5000, 10000, 50},
      {10000, 10000, 100},
      {1, 3, 33},                // 33.3 down
      {2, 3, 67},                // 66.7 up
      {1, 200, 1},               // 0.5: halves go away from zero
      {1, 201, 0},               // 0.4975
      {-1, 200, -1},             // -0.5 away from zero
      {-1, 10000, 0},            // the browser's "done" progress
      {1, -200, -1},             // a negative maximum flips the sign
      {-1, -200, 1},
      {INT_MAX, INT_MAX, 100},   // progress x 100 does not fit in 32 bits
      {INT_MAX / 2, INT_MAX, 50},
      {INT_MAX, 1, -1},          // the result does not fit: -1
      {INT_MIN, 1, -1},
      {INT_MAX, 100, INT_MAX},   // the largest result that fits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.progress << " of " << c.maximum);
    EXPECT_EQ(ProgressPercentage(c.progress, c.maximum), c.percentage);
  }
}

}  // namespace
}  // namespace pelmora
