// CallCommand and the conversions between texts and numbers.
#include <charconv>
#include <cstring>

#include "runtime/number_text.h"
#include "runtime/values.h"

namespace pelmora {

namespace {

// The argument at `position`, or an omitted one when the caller passed fewer.
TypedValue ArgumentAt(std::span<const TypedValue> arguments, std::size_t position) {
  return position < arguments.size() ? arguments[position] : TypedValue::Omitted();
}

char* CopyText(ValueMemory& memory, const char* text, std::size_t length) {
  auto* copy = static_cast<char*>(memory.AllocateValue(length + 1));
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

TypedValue CallCommand(ValueContext& context, ValueCommand command,
                       std::span<const TypedValue> arguments) {
  TypedValue result;
  command(context, result, arguments);
  return result;
}

void ToNumber(ValueContext&, TypedValue& result, std::span<const TypedValue> arguments) {
  const TypedValue text = ArgumentAt(arguments, 0);
  result.SetDouble(text.type == value_type::kText ? ReadNumberPrefix(text.AsText()) : 0.0);
}

void ToText(ValueContext& context, TypedValue& result, std::span<const TypedValue> arguments) {
  const TypedValue argument = ArgumentAt(arguments, 0);
  char* text = nullptr;
  if (argument.type == value_type::kInt32) {
    char digits[16];  // "-2147483648" is the longest
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, argument.AsInt32());
    *written.ptr = '\0';
    text = CopyText(context.memory, digits, static_cast<std::size_t>(written.ptr - digits));
  } else if (argument.type == value_type::kText && argument.AsText() != nullptr &&
             argument.AsText()[0] != '\0') {
    text = CopyText(context.memory, argument.AsText(), std::strlen(argument.AsText()));
  }
  result.low = reinterpret_cast<std::uintptr_t>(text);
}

}  // namespace pelmora
