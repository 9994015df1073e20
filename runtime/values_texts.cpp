// Joining texts and measuring them.
#include <cstring>
#include <limits>

#include "runtime/values.h"

namespace pelmora {

std::uint32_t TextLength(const char* text) {
  return text == nullptr ? 0 : static_cast<std::uint32_t>(std::strlen(text));
}

char* JoinTexts(ValueMemory& memory, std::span<const char* const> texts) {
  // Measured in size_t rather than through the 32-bit TextLength, and summed with a check:
  // the same long text passed several times must not wrap the size around and have the copy
  // run past a too small block. A sum beyond any address space asks for a block no heap can
  // give, which ends the program through the allocation error.
  constexpr std::size_t kUnobtainable = std::numeric_limits<std::size_t>::max();
  std::size_t total = 1;  // the terminating zero
  for (const char* text : texts) {
    const std::size_t length = text == nullptr ? 0 : std::strlen(text);
    total = length > kUnobtainable - total ? kUnobtainable : total + length;
  }
  auto* joined = static_cast<char*>(memory.AllocateValue(total));
  char* end = joined;
  for (const char* text : texts) {
    if (text == nullptr) continue;
    const std::size_t length = std::strlen(text);
    std::memcpy(end, text, length);
    end += length;
  }
  *end = '\0';
  return joined;
}

}  // namespace pelmora
