// Seeding and drawing random numbers.
#include <gtest/gtest.h>

#include <set>

#include "platform/sim/sim.h"
#include "runtime/values.h"
#include "tests/values/value_test_support.h"

namespace pelmora {
namespace {

class RandomNumberTest : public ::testing::Test {
 protected:
  void Seed(std::int32_t seed) { CallCommand(context_, SeedRandom, {TypedValue::Int32(seed)}); }
  void SeedFromTicks() { CallCommand(context_, SeedRandom, {TypedValue::Omitted()}); }
  std::int32_t Draw(TypedValue lower, TypedValue upper) {
    const TypedValue result = CallCommand(context_, RandomNumber, {lower, upper});
    EXPECT_EQ(result.high, 0u);
    EXPECT_EQ(result.type, 0u);
    return static_cast<std::int32_t>(result.low);
  }
  std::int32_t DrawUnbounded() { return Draw(TypedValue::Omitted(), TypedValue::Omitted()); }

  testing::TestValueContext values_;
  RandomState& random_ = values_.random;
  ValueContext& context_ = values_.context;
};

TEST_F(RandomNumberTest, TheGeneratorStartsAtStateOneWithACounterOfZero) {
  EXPECT_EQ(random_.state, 1u);
  EXPECT_EQ(random_.seedCounter, 0u);
  EXPECT_EQ(DrawUnbounded(), 41) << "the first number without a seed is that of seed 1";
}

TEST_F(RandomNumberTest, TheFirstNumberAfterASeedIsFixedByTheSeed) {
  const std::pair<std::int32_t, std::int32_t> firstAfterSeed[] = {{0, 38}, {1, 41}, {1000, 3304}};
  for (const auto& [seed, expected] : firstAfterSeed) {
    Seed(seed);
    EXPECT_EQ(DrawUnbounded(), expected) << "seed " << seed;
  }
  // Reseeding repeats the sequence.
  Seed(1000);
  const std::int32_t sequence[] = {DrawUnbounded(), DrawUnbounded(), DrawUnbounded()};
  Seed(1000);
  for (std::int32_t expected : sequence) EXPECT_EQ(DrawUnbounded(), expected);
}

TEST_F(RandomNumberTest, SeedsWithinOneMillisecondDifferThroughTheCounter) {
  testing::TestValueContext::ticks = 1000;
  const std::pair<std::uint32_t, std::uint32_t> seedAndCounter[] = {
      {1000, 332}, {1332, 484}, {1484, 788}};
  for (const auto& [seed, counter] : seedAndCounter) {
    SeedFromTicks();
    EXPECT_EQ(random_.state, seed);
    EXPECT_EQ(random_.seedCounter, counter);
  }
}

TEST_F(RandomNumberTest, SeedingFromTicksWrapsAroundAt32Bits) {
  testing::TestValueContext::ticks = 0xFFFFFFF0u;
  random_.seedCounter = 0x20;
  SeedFromTicks();
  EXPECT_EQ(random_.state, 0x10u);
  EXPECT_EQ(random_.seedCounter, 0x20u + 0x10u + 100u);

  random_.seedCounter = 0xFFFFFFFFu;
  testing::TestValueContext::ticks = 2;
  SeedFromTicks();
  EXPECT_EQ(random_.state, 1u);
  EXPECT_EQ(random_.seedCounter, 0xFFFFFFFFu + 1u + 100u);
}

TEST_F(RandomNumberTest, AGivenSeedIsTakenAsItsLowWord) {
  Seed(-1);
  EXPECT_EQ(random_.state, 0xFFFFFFFFu);
  EXPECT_EQ(random_.seedCounter, 0u) << "only the omitted argument moves the counter";
}

struct BoundsCase {
  TypedValue lower, upper;
  std::int32_t lowest, highest;
};

TEST_F(RandomNumberTest, StaysWithinTheBoundsInEitherOrderAndReachesEveryValue) {
  const BoundsCase cases[] = {
      {TypedValue::Int32(10), TypedValue::Int32(1), 1, 10},
      {TypedValue::Int32(1), TypedValue::Int32(10), 1, 10},
      {TypedValue::Int32(-5), TypedValue::Int32(3), 0, 3},
      {TypedValue::Omitted(), TypedValue::Int32(4), 0, 4},
      {TypedValue::Int32(32760), TypedValue::Omitted(), 32760, 32760 + 32767},
      {TypedValue::Int32(100), TypedValue::Int32(105), 100, 105},
  };
  Seed(12345);
  for (const BoundsCase& c : cases) {
    std::set<std::int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
      const std::int32_t value = Draw(c.lower, c.upper);
      ASSERT_GE(value, c.lowest);
      ASSERT_LE(value, c.highest);
      seen.insert(value);
    }
    if (c.highest - c.lowest < 100) {
      EXPECT_EQ(seen.size(), static_cast<std::size_t>(c.highest - c.lowest + 1))
          << "bounds " << c.lowest << ".." << c.highest;
    }
  }
}

TEST_F(RandomNumberTest, UnboundedNumbersNeverExceed32767) {
  Seed(7);
  std::int32_t highest = 0;
  for (int i = 0; i < 100000; ++i) highest = std::max(highest, DrawUnbounded());
  EXPECT_LE(highest, 32767);
  EXPECT_GE(highest, 32700) << "the whole 15-bit range is used";
}

TEST_F(RandomNumberTest, TheDrawIsTheGeneratorOutputModuloTheSpanAboveTheLowerBound) {
  Seed(1);  // first output 41
  EXPECT_EQ(Draw(TypedValue::Int32(10), TypedValue::Int32(1)), 1 + 41 % 10);
  Seed(1000);  // first output 3304
  EXPECT_EQ(Draw(TypedValue::Int32(0), TypedValue::Int32(INT32_MAX)), 3304);
  Seed(1000);
  EXPECT_EQ(Draw(TypedValue::Int32(INT32_MAX), TypedValue::Int32(-1)), 3304)
      << "0 and 2^31-1: the span is capped, the number is the output itself";
}

TEST_F(RandomNumberTest, EqualBoundsGiveTheBoundWithoutAdvancingTheGenerator) {
  const std::pair<TypedValue, std::int32_t> equal[] = {
      {TypedValue::Int32(7), 7}, {TypedValue::Int32(-5), 0}, {TypedValue::Int32(0), 0}};
  for (const auto& [bound, expected] : equal) {
    Seed(1);
    EXPECT_EQ(Draw(bound, bound), expected);
    EXPECT_EQ(random_.state, 1u) << "the generator advanced";
  }
  Seed(1);
  EXPECT_EQ(Draw(TypedValue::Int32(-3), TypedValue::Int32(-9)), 0);
  EXPECT_EQ(DrawUnbounded(), 41) << "negative bounds are both 0: no draw";
}

// The seeding the program uses reads the system's tick count through the platform; here the
// simulated system's clock.
TEST(SeedRandomFromTheSystem, ReadsThePlatformTickCount) {
  sim::Reset();
  sim::SetTickCount(1000);
  testing::FakeValueMemory memory;
  RandomState random;
  ValueContext context{memory, random};  // the platform's tick count
  CallCommand(context, SeedRandom, {TypedValue::Omitted()});
  EXPECT_EQ(random.state, 1000u);
  sim::Advance(5);
  CallCommand(context, SeedRandom, {TypedValue::Omitted()});
  EXPECT_EQ(random.state, 1005u + 332u) << "five milliseconds later, plus the counter";
  sim::Reset();
}

}  // namespace
}  // namespace pelmora
