// The form compiler and the dumper: window descriptions as a readable source, and back.
// compile(dump(block)) gives the block again byte for byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/runtime.h"

namespace pelmora::form {

// A routine of the program, by the reference its descriptions store and its name in a source.
struct NamedRoutine {
  std::uint32_t reference = 0;
  std::string_view name;
};

struct FormError {
  std::string message;  // says where: "line 12: ..." or "byte 345: ..."
};

// The source form of a block, or why it has none.
std::variant<std::string, FormError> DumpForm(std::span<const std::uint8_t> block,
                                              std::span<const NamedRoutine> routines);

// The block a source describes, or the first problem with its line number.
std::variant<std::vector<std::uint8_t>, FormError> CompileForm(
    std::string_view source, std::span<const NamedRoutine> routines);

}  // namespace pelmora::form
