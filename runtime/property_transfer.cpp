#include "runtime/property_transfer.h"

#include <cstring>

namespace pelmora {

TransferClass TransferClassOf(PropertyType type) {
  switch (static_cast<std::uint16_t>(type)) {
    case 1000:
    case 1001:
      return TransferClass::Integer;
    case 1002:
    case 1004:
      return TransferClass::Wide;
    case 1003:
      return TransferClass::Logical;
    case 1006:
      return TransferClass::Choice;
    case 1014:
    case 1015:
    case 1017:
      return TransferClass::Word;
    case 1005:
    case 1007:
    case 1008:
    case 1016:
    case 1018:
    case 1019:
    case 1020:
    case 1021:
    case 1022:
      return TransferClass::Text;
    case 1009:
    case 1010:
    case 1012:
    case 1023:
    case 1024:
    // Mouse-pointer data travels as plain byte data: its pointer code is passed through
    // unchanged, as no kind of this program has a pointer of its own to translate it for.
    case 1011:
      return TransferClass::Bytes;
    case 1013:
      return TransferClass::Font;
    default:
      return TransferClass::None;
  }
}

OwnValue PrepareForKind(PropertyType type, std::uintptr_t low, std::uint32_t high) {
  OwnValue value;
  const auto lowWord = static_cast<std::uint32_t>(low);
  switch (TransferClassOf(type)) {
    case TransferClass::Integer:
    case TransferClass::Word:
      value.low = lowWord;
      break;
    case TransferClass::Wide:
    case TransferClass::Font:
      // Font parts are not interpreted here (no kind of this program has a font property):
      // both words reach the kind as they are.
      value.low = lowWord;
      value.high = high;
      break;
    case TransferClass::Logical:
      value.low = lowWord != 0 ? 1 : 0;
      break;
    case TransferClass::Choice:
      value.low = static_cast<std::int32_t>(lowWord) < 0 ? 0 : lowWord;
      break;
    case TransferClass::Text:
      value.text = low != 0 ? reinterpret_cast<const char*>(low) : "";
      break;
    case TransferClass::Bytes:
      if (low != 0) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(low);
        ByteDataHeader header;
        std::memcpy(&header, data, sizeof header);
        value.bytes = data + sizeof header;
        value.byteCount = header.byteCount;
      }
      break;
    case TransferClass::None:
      break;
  }
  return value;
}

char* NewTextValue(ValueMemory& memory, const char* text) {
  if (text == nullptr || text[0] == '\0') return nullptr;
  const std::size_t length = std::strlen(text);
  auto* copy = static_cast<char*>(memory.AllocateValue(length + 1));
  std::memcpy(copy, text, length + 1);
  return copy;
}

void* NewByteData(ValueMemory& memory, const std::uint8_t* bytes, std::uint32_t count) {
  if (bytes == nullptr || count == 0) return nullptr;
  auto* block = static_cast<std::uint8_t*>(memory.AllocateValue(sizeof(ByteDataHeader) + count));
  ByteDataHeader header;
  header.byteCount = count;
  std::memcpy(block, &header, sizeof header);
  std::memcpy(block + sizeof header, bytes, count);
  return block;
}

PropertyWords ConvertForCaller(PropertyType type, const OwnValue& value, ValueMemory& memory) {
  PropertyWords words;
  switch (TransferClassOf(type)) {
    case TransferClass::Integer:
    case TransferClass::Word:
    case TransferClass::Choice:
      words.low = value.low;
      break;
    case TransferClass::Wide:
    case TransferClass::Font:
      words.low = value.low;
      words.high = value.high;
      break;
    case TransferClass::Logical:
      words.low = value.low == 1 ? 1 : 0;
      break;
    case TransferClass::Text:
      words.low = reinterpret_cast<std::uintptr_t>(NewTextValue(memory, value.text));
      break;
    case TransferClass::Bytes:
      words.low = reinterpret_cast<std::uintptr_t>(NewByteData(memory, value.bytes, value.byteCount));
      break;
    case TransferClass::None:
      break;
  }
  return words;
}

}  // namespace pelmora
