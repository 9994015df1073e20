// Where the values handed to the program's code come from and go back to. The run time is the
// one real implementation; the value operations only need this much of it.
#pragma once

#include <cstddef>

namespace pelmora {

class ValueMemory {
 public:
  // Never null: when memory cannot be had, the program ends through its error box.
  virtual void* AllocateValue(std::size_t bytes) = 0;
  // Ignores null and the program's own constants.
  virtual void FreeValue(const void* value) = 0;

 protected:
  ~ValueMemory() = default;
};

}  // namespace pelmora
