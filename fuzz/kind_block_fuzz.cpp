// Fuzzes the reading of one kind's property block (the kind is chosen at build time through
// PELMORA_FUZZ_LAYOUT, a function returning its BlockLayout): no crash and no read outside the
// bytes, and a block that reads is written back to a block that reads to the same values.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/kind_block.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/window_block.h"

#ifndef PELMORA_FUZZ_LAYOUT
#error "PELMORA_FUZZ_LAYOUT names the kind's layout function, e.g. pelmora::ButtonBlockLayout"
#endif

namespace {

bool SameValues(const pelmora::BlockLayout& layout, const pelmora::KindValues& a,
                const pelmora::KindValues& b) {
  using pelmora::FieldType;
  for (const pelmora::BlockField& field : layout.fields) {
    switch (field.type) {
      case FieldType::Number:
      case FieldType::Logical:
      case FieldType::Number16:
        if (a.Number(field.ownIndex) != b.Number(field.ownIndex)) return false;
        break;
      case FieldType::Text:
      case FieldType::Data:
      case FieldType::Font:
        if (a.Text(field.ownIndex) != b.Text(field.ownIndex)) return false;
        break;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  const BlockLayout& layout = PELMORA_FUZZ_LAYOUT();
  const std::vector<std::uint8_t> block(data, data + size);

  const std::optional<KindValues> first = ReadKindBlock(layout, block);
  if (!first) return 0;
  const std::vector<std::uint8_t> written = WriteKindBlock(layout, *first);
  const std::optional<KindValues> second = ReadKindBlock(layout, written);
  fuzz::Check(second.has_value(), "a written block reads");
  fuzz::Check(SameValues(layout, *first, *second), "a written block reads to the same values");
  fuzz::Check(WriteKindBlock(layout, *second) == written, "a written block is canonical");
  return 0;
}
