// The value operations the program's handlers use for their little arithmetic: a text to a
// number, a text or an integer to a new text, seeding and drawing random numbers (the value
// commands, called through CallCommand), joining texts, a text's length and the truncation of
// a floating-point product to an integer.
//
// Ownership: every text handed out comes from ValueMemory::AllocateValue and belongs to the
// caller, who gives it back with FreeValue. The empty text is handed out as null, except by
// JoinTexts, which always allocates. No operation takes over a text it is given.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "platform/platform.h"
#include "runtime/runtime.h"
#include "runtime/value_memory.h"

namespace pelmora {

// Type words of a TypedValue.
namespace value_type {
inline constexpr std::uint32_t kOmitted = 0;  // an argument left out
inline constexpr std::uint32_t kText = 0x80000004u;
inline constexpr std::uint32_t kInt32 = 0x80000301u;
inline constexpr std::uint32_t kDouble = 0x80000601u;
}  // namespace value_type

// Argument and result of a value command. The low word is as wide as an address so that it
// can carry a text's address on 64-bit systems too; integers use its low 32 bits, and a double
// keeps its low half in the low 32 bits of `low` and its high half in `high`.
struct TypedValue {
  std::uintptr_t low = 0;
  std::uint32_t high = 0;
  std::uint32_t type = value_type::kOmitted;

  static TypedValue Omitted() { return {}; }
  static TypedValue Text(const char* text) {
    return {reinterpret_cast<std::uintptr_t>(text), 0, value_type::kText};
  }
  static TypedValue Int32(std::int32_t value) {
    return {static_cast<std::uint32_t>(value), 0, value_type::kInt32};
  }
  static TypedValue Double(double value) {
    TypedValue typed{0, 0, value_type::kDouble};
    typed.SetDouble(value);
    return typed;
  }

  bool IsGiven() const { return type != value_type::kOmitted; }
  const char* AsText() const { return reinterpret_cast<const char*>(low); }
  // A text handed out to the caller: theirs to free.
  char* AsOwnedText() const { return reinterpret_cast<char*>(low); }
  std::int32_t AsInt32() const { return static_cast<std::int32_t>(static_cast<std::uint32_t>(low)); }
  double AsDouble() const {
    const std::uint64_t bits = (std::uint64_t{high} << 32) | static_cast<std::uint32_t>(low);
    return std::bit_cast<double>(bits);
  }
  void SetDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    low = static_cast<std::uint32_t>(bits);
    high = static_cast<std::uint32_t>(bits >> 32);
  }
};

// What the value commands work with: the value memory, the generator's state and the
// millisecond tick count that seeds it when no seed is given.
struct ValueContext {
  ValueMemory& memory;
  RandomState& random;
  std::uint32_t (*tickCount)() = &platform::TickCount;
};

// A value command fills the value words of `result` that it produces; it reads its arguments
// by position.
using ValueCommand = void (*)(ValueContext& context, TypedValue& result,
                              std::span<const TypedValue> arguments);

// Runs a command with a fresh all-zero result and hands that result back. A command that
// reads an argument beyond those passed sees it as omitted, never as memory past the list.
TypedValue CallCommand(ValueContext& context, ValueCommand command,
                       std::span<const TypedValue> arguments);
inline TypedValue CallCommand(ValueContext& context, ValueCommand command,
                              std::initializer_list<TypedValue> arguments) {
  return CallCommand(context, command, std::span<const TypedValue>(arguments.begin(), arguments.size()));
}

// ---- The value commands ---------------------------------------------------------------------
// Text -> double in the value words: the number at the start of the text (see number_text.h).
// A null text, or an argument that is no text, reads as the empty text: 0.
void ToNumber(ValueContext& context, TypedValue& result, std::span<const TypedValue> arguments);
// Text or 32-bit integer -> a new text in the low word. A null or empty text gives null;
// an integer its signed decimal form. Any other argument counts as the empty text.
void ToText(ValueContext& context, TypedValue& result, std::span<const TypedValue> arguments);
// 32-bit integer -> the generator's state. Omitted: seeded from the tick count, made distinct
// for calls within the same millisecond by a counter private to seeding.
void SeedRandom(ValueContext& context, TypedValue& result, std::span<const TypedValue> arguments);
// Lower and upper bound (32-bit integers, negative ones taken as 0; omitted: 0 and
// 2147483647) -> a number between them, in either order, drawn from the generator (0 to 32767
// above the smaller bound). Equal bounds give that bound without advancing the generator.
void RandomNumber(ValueContext& context, TypedValue& result, std::span<const TypedValue> arguments);

// ---- Routines of the program's own code ---------------------------------------------------------
// The texts one after another in a new text of their summed length, never null, even when
// every part is empty. A null text counts as empty.
char* JoinTexts(ValueMemory& memory, std::span<const char* const> texts);
inline char* JoinTexts(ValueMemory& memory, std::initializer_list<const char*> texts) {
  return JoinTexts(memory, std::span<const char* const>(texts.begin(), texts.size()));
}
// Bytes up to the first zero byte; 0 for null.
std::uint32_t TextLength(const char* text);
// Toward zero. NaN, infinities and values outside the signed 64-bit range give -2^63, whose
// low 32 bits are 0. Independent of the rounding mode in force.
std::int64_t TruncateToInt64(double value);
// A timer period from an interval in seconds: the product with 1000.0 rounded to a double,
// then TruncateToInt64. The timer takes the low 32 bits. 0.57 gives 570, 1.005 gives 1004.
std::int64_t PeriodFromSeconds(double seconds);

}  // namespace pelmora
