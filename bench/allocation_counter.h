// Counts heap allocations made by the benchmarked code: every global operator new (the
// containers and strings of the run time, its kinds and the simulated platform) and every
// malloc called from the statically linked Pelmora code (the run time's value heap of the
// simulated platform calls malloc directly).
#pragma once

#include <cstdint>

namespace pelmora::bench {

struct AllocationCounts {
  std::uint64_t operatorNew = 0;
  std::uint64_t malloc = 0;
};

AllocationCounts AllocationsSoFar();

}  // namespace pelmora::bench
