// Fuzzes the reading of a timer's property block: no crash and no read outside the bytes, and
// a block that reads is written back to an 8-byte block that reads to the same period.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/kinds/timer_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  const std::vector<std::uint8_t> bytes(data, data + size);
  const auto first = ReadTimerBlock(bytes);
  if (!first) return 0;
  const std::vector<std::uint8_t> written = WriteTimerBlock(*first);
  fuzz::Check(written.size() == 8, "a written timer block has 8 bytes");
  const auto second = ReadTimerBlock(written);
  fuzz::Check(second.has_value(), "a written timer block reads");
  fuzz::Check(second->period == first->period, "a written timer block keeps the period");
  return 0;
}
