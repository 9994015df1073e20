// What the form tools know of each kind: its name in a form source, and the names of the
// fields of its stored block, in stored order.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "runtime/ids.h"
#include "runtime/kinds/kind_block.h"

namespace pelmora::form {

struct KindSchema {
  KindId kindId = 0;
  std::string_view name;
  const BlockLayout* layout = nullptr;
  // Indexed by own index (property number - 8).
  std::span<const std::string_view> propertyNames;

  std::string_view FieldName(std::int32_t ownIndex) const;
  const BlockField* FieldNamed(std::string_view fieldName) const;
};

std::span<const KindSchema> KindSchemas();
const KindSchema* SchemaOf(KindId kindId);
const KindSchema* SchemaNamed(std::string_view name);

}  // namespace pelmora::form
