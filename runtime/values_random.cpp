// The random-number generator of the value commands: a linear congruential generator whose
// 15-bit outputs are the same on every system, so a seed always gives the same numbers.
#include <algorithm>

#include "runtime/values.h"

namespace pelmora {

namespace {

TypedValue ArgumentAt(std::span<const TypedValue> arguments, std::size_t position) {
  return position < arguments.size() ? arguments[position] : TypedValue::Omitted();
}

std::uint32_t BoundOf(const TypedValue& argument, std::uint32_t whenOmitted) {
  if (!argument.IsGiven()) return whenOmitted;
  return static_cast<std::uint32_t>(std::max(argument.AsInt32(), 0));
}

std::uint32_t NextOutput(RandomState& random) {
  random.state = random.state * 214013u + 2531011u;
  return (random.state >> 16) & 0x7FFFu;
}

}  // namespace

void SeedRandom(ValueContext& context, TypedValue&, std::span<const TypedValue> arguments) {
  RandomState& random = context.random;
  const TypedValue seed = ArgumentAt(arguments, 0);
  if (seed.IsGiven()) {
    random.state = static_cast<std::uint32_t>(seed.low);
    return;
  }
  // Two seedings within the same millisecond would otherwise give the same numbers: the
  // counter moves by a varying step of at least 100 on every call. Unsigned sums wrap.
  const std::uint32_t ticks = context.tickCount();
  const std::uint32_t mixed = ticks + random.seedCounter;
  random.seedCounter += (mixed & 0xFFu) + 100u;
  random.state = mixed;
}

void RandomNumber(ValueContext& context, TypedValue& result,
                  std::span<const TypedValue> arguments) {
  const std::uint32_t lower = BoundOf(ArgumentAt(arguments, 0), 0);
  const std::uint32_t upper = BoundOf(ArgumentAt(arguments, 1), 2147483647u);
  const std::uint32_t lo = std::min(lower, upper);
  const std::uint32_t hi = std::max(lower, upper);
  if (lo == hi) {
    result.low = lo;
    return;
  }
  const std::uint32_t span = std::min(hi - lo, 2147483646u);
  result.low = lo + NextOutput(context.random) % (span + 1);
}

}  // namespace pelmora
