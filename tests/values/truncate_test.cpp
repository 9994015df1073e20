// Floating-point values to 64-bit integers, and the timer period from seconds.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "runtime/values.h"
#include "tests/values/value_test_support.h"

namespace pelmora {
namespace {

constexpr std::int64_t kInvalid = std::numeric_limits<std::int64_t>::min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct TruncateCase {
  double value;
  std::int64_t expected;
};

const TruncateCase kTruncateCases[] = {
    {5000.0, 5000},
    {2.9, 2},
    {-2.9, -2},
    {-0.5, 0},
    {4294967296.5, 4294967296},  // low 32 bits 0
    {-4294967297.75, -4294967297},
    {9223372036854774784.0, 9223372036854774784},  // the largest double below 2^63
    {-9223372036854775808.0, kInvalid},            // -2^63 itself is in range
    {9223372036854775808.0, kInvalid},             // 2^63 is not
    {1e19, kInvalid},
    {-1e19, kInvalid},
    {kInfinity, kInvalid},
    {-kInfinity, kInvalid},
    {std::numeric_limits<double>::quiet_NaN(), kInvalid},
    {-std::numeric_limits<double>::quiet_NaN(), kInvalid},
};

TEST(TruncateToInt64, TruncatesTowardZeroAndGivesTheSmallestIntegerOutsideTheRange) {
  for (const TruncateCase& c : kTruncateCases) {
    EXPECT_EQ(TruncateToInt64(c.value), c.expected) << c.value;
  }
  EXPECT_EQ(static_cast<std::uint32_t>(TruncateToInt64(kInfinity)), 0u);
}

// The caller's rounding mode must not leak into the conversion, nor be changed by it.
TEST(TruncateToInt64, IgnoresTheRoundingModeInForceAndLeavesItAsItWas) {
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    const std::int64_t up = TruncateToInt64(2.9);
    const std::int64_t down = TruncateToInt64(-2.9);
    const std::int64_t half = TruncateToInt64(2.5);
    const int after = std::fegetround();
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(up, 2) << "mode " << mode;
    EXPECT_EQ(down, -2) << "mode " << mode;
    EXPECT_EQ(half, 2) << "mode " << mode;
    EXPECT_EQ(after, mode);
  }
}

TEST(PeriodFromSeconds, RoundsTheProductToADoubleBeforeTruncating) {
  const TruncateCase cases[] = {
      {0.57, 570},    // the product lies a hair below 570 and rounds to it
      {1.005, 1004},  // 1004.9999999999999 as a double: truncated, not rounded up
      {5.0, 5000},
      {0.0, 0},
      {0.0004, 0},
      {-1.5, -1500},
      {4294967.296, 4294967296},
      {kInfinity, kInvalid},
      {1e17, kInvalid},
  };
  for (const TruncateCase& c : cases) {
    EXPECT_EQ(PeriodFromSeconds(c.value), c.expected) << c.value;
  }
}

// The interval box's text as the handler reads it, through to the period.
TEST(PeriodFromSeconds, OfTheIntervalTextsAUserTypes) {
  testing::TestValueContext values;
  const std::pair<const char*, std::int64_t> cases[] = {
      {"0.57", 570}, {"1.005", 1004}, {"5", 5000}, {"\xA3\xB2", 2000} /* ２ */,
      {"", 0}, {"abc", 0}, {"1e400", kInvalid}};
  for (const auto& [text, expected] : cases) {
    const double seconds = CallCommand(values.context, ToNumber, {TypedValue::Text(text)}).AsDouble();
    EXPECT_EQ(PeriodFromSeconds(seconds), expected) << text;
  }
}

}  // namespace
}  // namespace pelmora
