// Fuzzes the reading of window descriptions with the page refresher's own routine table: no
// crash and no read outside the bytes (the input sits in a block of its exact size), and a
// description that reads is written back to a block that reads to the same windows, and that
// block is canonical (writing it again gives the same bytes).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "refresher/handlers.h"
#include "runtime/description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  const std::vector<std::uint8_t> block(data, data + size);
  const auto handlers = refresher::HandlerTable();

  const DescriptionReadResult first = ReadDescriptionBlock(block, handlers);
  if (!first.Ok()) {
    fuzz::Check(first.error->offset <= size, "a failure points inside the block");
    return 0;
  }
  const std::vector<std::uint8_t> written = WriteDescriptionBlock(first.windows);
  const DescriptionReadResult second = ReadDescriptionBlock(written, handlers);
  fuzz::Check(second.Ok(), "a written description reads");
  fuzz::Check(second.windows == first.windows, "a written description reads to the same windows");
  fuzz::Check(WriteDescriptionBlock(second.windows) == written, "a written description is canonical");
  return 0;
}
