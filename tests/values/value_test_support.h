// Support for the value tests. The memory knows every block it handed out, so a leak, a double
// free or the free of a foreign pointer shows, and it can refuse the n-th allocation.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "runtime/value_memory.h"
#include "runtime/values.h"

namespace pelmora::testing {

// Thrown where the real AllocateValue would end the program through its error box.
struct AllocationRefused {
  std::size_t bytes;
};

class FakeValueMemory final : public ValueMemory {
 public:
  ~FakeValueMemory() {
    for (auto& [block, bytes] : live_) std::free(block);
  }

  void* AllocateValue(std::size_t bytes) override {
    ++allocationCount_;
    if (allocationCount_ == refuseAllocation_) throw AllocationRefused{bytes};
    // Never zeroed, like the real heap: fill with a marker so a missing terminator shows.
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw AllocationRefused{bytes};
    std::memset(block, 0xCD, bytes);
    live_[block] = bytes;
    requestedSizes_.push_back(bytes);
    return block;
  }

  void FreeValue(const void* value) override {
    if (value == nullptr) return;
    auto found = live_.find(const_cast<void*>(value));
    if (found == live_.end()) {
      ADD_FAILURE() << "FreeValue of a block that is not live (double or foreign free)";
      return;
    }
    std::free(found->first);
    live_.erase(found);
  }

  // The n-th allocation from now on (1 is the next one) throws AllocationRefused.
  void RefuseAllocation(std::size_t n) { refuseAllocation_ = allocationCount_ + n; }
  std::size_t LiveBlocks() const { return live_.size(); }
  std::size_t BlockSize(const void* block) const {
    auto found = live_.find(const_cast<void*>(block));
    return found == live_.end() ? 0 : found->second;
  }
  const std::vector<std::size_t>& RequestedSizes() const { return requestedSizes_; }

 private:
  std::map<void*, std::size_t> live_;
  std::vector<std::size_t> requestedSizes_;
  std::size_t allocationCount_ = 0;
  std::size_t refuseAllocation_ = 0;  // 0: refuse none
};

}  // namespace pelmora::testing

namespace pelmora::testing {

// What a value command needs, for a test: counting memory, a generator at its start state and
// a tick count the test sets (the system's stays out of unit tests).
struct TestValueContext {
  static inline std::uint32_t ticks = 0;
  static std::uint32_t Ticks() { return ticks; }

  FakeValueMemory memory;
  RandomState random;
  ValueContext context{memory, random, &Ticks};
};

}  // namespace pelmora::testing
