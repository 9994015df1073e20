// Values handed to the program's code: taken from the process heap, given back by FreeValue.
// The program's constant area is handed out as values too (its title text, its empty text), so
// FreeValue must recognise and keep it.
#include <functional>

#include "runtime/runtime.h"
#include "runtime/runtime_state.h"

namespace pelmora {

void* Runtime::AllocateValue(std::size_t bytes) {
  void* block = platform::HeapAllocate(bytes);
  if (block == nullptr) {
    ReportAllocationFailure(static_cast<std::int32_t>(bytes));
  }
  return block;
}

void Runtime::FreeValue(const void* value) {
  if (value == nullptr) return;
  const auto* address = static_cast<const std::byte*>(value);
  // std::less gives a total order even for addresses of unrelated objects.
  const std::less<const std::byte*> before;
  if (state_->constantsBegin != nullptr && !before(address, state_->constantsBegin) &&
      before(address, state_->constantsEnd)) {
    return;
  }
  platform::HeapRelease(const_cast<void*>(value));
}

}  // namespace pelmora
