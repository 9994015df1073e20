// Fuzzes the reading of numbers from code page 936 texts: no crash, no read past the
// terminator (the input is copied into a block that ends right at its zero byte, so
// AddressSanitizer sees any over-read), and the same narrowed text and the same double as
// the plain reference reading.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/reference_number_reader.h"
#include "runtime/number_text.h"
#include "runtime/number_text_narrow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto text = std::make_unique<char[]>(size + 1);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';

  const std::string narrowed = pelmora::NarrowFullWidth(text.get());
  const std::string expectedNarrowed =
      pelmora::reference::Narrow(std::string_view(text.get(), size));
  if (narrowed != expectedNarrowed) {
    std::fprintf(stderr, "narrowed forms differ\n");
    std::abort();
  }

  const double value = pelmora::ReadNumberPrefix(text.get());
  const double expected = pelmora::reference::NumberPrefix(expectedNarrowed);
  if (std::bit_cast<std::uint64_t>(value) != std::bit_cast<std::uint64_t>(expected)) {
    std::fprintf(stderr, "read %.17g, reference %.17g\n", value, expected);
    std::abort();
  }
  return 0;
}
