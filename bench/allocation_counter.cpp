#include "bench/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The link wraps malloc (-Wl,--wrap=malloc) for the objects of this program, so calls from
// the static Pelmora libraries land in __wrap_malloc; the C++ library's own calls do not.
extern "C" void* __real_malloc(std::size_t bytes);
extern "C" void* __wrap_malloc(std::size_t bytes);

namespace {

std::atomic<std::uint64_t> operatorNewCalls{0};
std::atomic<std::uint64_t> mallocCalls{0};

void* Allocate(std::size_t bytes) {
  operatorNewCalls.fetch_add(1, std::memory_order_relaxed);
  if (void* block = __real_malloc(bytes == 0 ? 1 : bytes)) return block;
  throw std::bad_alloc();
}

}  // namespace

extern "C" void* __wrap_malloc(std::size_t bytes) {
  mallocCalls.fetch_add(1, std::memory_order_relaxed);
  return __real_malloc(bytes);
}

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace pelmora::bench {

AllocationCounts AllocationsSoFar() {
  return {operatorNewCalls.load(std::memory_order_relaxed), mallocCalls.load(std::memory_order_relaxed)};
}

}  // namespace pelmora::bench
