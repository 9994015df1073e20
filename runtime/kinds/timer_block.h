// The stored block of a timer's own properties: a format version, then the period.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelmora {

struct TimerBlock {
  // Milliseconds. A stored value is taken as it is, even when negative: only writes of the
  // property correct it.
  std::int32_t period = 0;
};

// Empty bytes give the defaults. Null when the version is newer than this run time knows or
// the bytes end before the period.
std::optional<TimerBlock> ReadTimerBlock(std::span<const std::uint8_t> bytes);

// Always the newest format version, 8 bytes.
std::vector<std::uint8_t> WriteTimerBlock(const TimerBlock& block);

}  // namespace pelmora
