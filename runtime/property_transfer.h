// How a property value crosses ReadProperty and WriteProperty as two words: what the kind
// receives from the caller's words, and what the caller receives from the kind's value. There
// is no conversion between kinds of value; the type only fixes the representation.
#pragma once

#include <cstdint>

#include "runtime/control_kind.h"
#include "runtime/runtime.h"
#include "runtime/value_memory.h"

namespace pelmora {

enum class TransferClass { Integer, Wide, Logical, Choice, Word, Text, Bytes, Font, None };

TransferClass TransferClassOf(PropertyType type);

// The caller's words prepared for the kind. Texts and byte data point into the caller's value,
// which stays the caller's: the kind copies what it keeps.
OwnValue PrepareForKind(PropertyType type, std::uintptr_t low, std::uint32_t high);

// The kind's value as the caller receives it. Texts and byte data are copied into new values
// from memory (a failed allocation ends the program there); an empty text or empty byte data
// gives null.
PropertyWords ConvertForCaller(PropertyType type, const OwnValue& value, ValueMemory& memory);

// New heap values: a TextValue of the text, a ByteData of the bytes. Null when empty.
char* NewTextValue(ValueMemory& memory, const char* text);
void* NewByteData(ValueMemory& memory, const std::uint8_t* bytes, std::uint32_t count);

}  // namespace pelmora
