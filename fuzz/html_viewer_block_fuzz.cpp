// Fuzzes the reading of an HTML viewer's property block: no crash and no read outside the
// bytes, and a block that reads is written back to a block that reads to the same fields.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/kinds/html_viewer_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  const std::vector<std::uint8_t> bytes(data, data + size);
  const auto first = ReadHtmlViewerBlock(bytes);
  if (!first) return 0;
  const std::vector<std::uint8_t> written = WriteHtmlViewerBlock(*first);
  const auto second = ReadHtmlViewerBlock(written);
  fuzz::Check(second.has_value(), "a written viewer block reads");
  fuzz::Check(second->textSize == first->textSize && second->offline == first->offline &&
                  second->silent == first->silent && second->address == first->address,
              "a written viewer block keeps every field");
  fuzz::Check(WriteHtmlViewerBlock(*second) == written, "a written viewer block is canonical");
  return 0;
}
