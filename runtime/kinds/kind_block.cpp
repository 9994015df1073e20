#include "runtime/kinds/kind_block.h"

#include <algorithm>
#include <cstdio>

#include "runtime/byte_reader.h"

namespace pelmora {

KindValues::KindValues(const BlockLayout& layout) {
  auto place = [this](std::int32_t ownIndex) -> Slot& {
    auto index = static_cast<std::size_t>(ownIndex);
    if (slots_.size() <= index) slots_.resize(index + 1);
    return slots_[index];
  };
  for (const BlockField& field : layout.fields) {
    Slot& slot = place(field.ownIndex);
    slot.type = field.type;
    slot.present = true;
    slot.number = field.type == FieldType::Logical ? (field.defaultNumber != 0 ? 1u : 0u)
                                                    : field.defaultNumber;
    slot.bytes.assign(field.defaultText);
  }
  for (const UnstoredProperty& property : layout.unstored) {
    Slot& slot = place(property.ownIndex);
    slot.type = property.type;
    slot.present = true;
  }
}

const KindValues::Slot* KindValues::Find(std::int32_t ownIndex) const {
  if (ownIndex < 0 || static_cast<std::size_t>(ownIndex) >= slots_.size()) return nullptr;
  const Slot& slot = slots_[static_cast<std::size_t>(ownIndex)];
  return slot.present ? &slot : nullptr;
}

KindValues::Slot* KindValues::Find(std::int32_t ownIndex) {
  return const_cast<Slot*>(static_cast<const KindValues*>(this)->Find(ownIndex));
}

std::uint32_t KindValues::Number(std::int32_t ownIndex) const {
  const Slot* slot = Find(ownIndex);
  return slot ? slot->number : 0;
}

const std::string& KindValues::Text(std::int32_t ownIndex) const {
  static const std::string kNone;
  const Slot* slot = Find(ownIndex);
  return slot ? slot->bytes : kNone;
}

std::span<const std::uint8_t> KindValues::Data(std::int32_t ownIndex) const {
  const std::string& bytes = Text(ownIndex);
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

void KindValues::SetNumber(std::int32_t ownIndex, std::uint32_t value) {
  Slot* slot = Find(ownIndex);
  if (!slot) return;
  switch (slot->type) {
    case FieldType::Logical: slot->number = value != 0 ? 1u : 0u; break;
    case FieldType::Number16: slot->number = value & 0xFFFFu; break;
    default: slot->number = value; break;
  }
}

void KindValues::SetText(std::int32_t ownIndex, std::string_view text) {
  if (Slot* slot = Find(ownIndex)) slot->bytes.assign(text);
}

void KindValues::SetData(std::int32_t ownIndex, std::span<const std::uint8_t> data) {
  if (Slot* slot = Find(ownIndex)) slot->bytes.assign(data.begin(), data.end());
}

std::optional<FieldType> KindValues::TypeOf(std::int32_t ownIndex) const {
  const Slot* slot = Find(ownIndex);
  if (!slot) return std::nullopt;
  return slot->type;
}

bool KindValues::Store(std::int32_t ownIndex, const OwnValue& value) {
  auto type = TypeOf(ownIndex);
  if (!type) return false;
  switch (*type) {
    case FieldType::Text:
      SetText(ownIndex, value.text ? std::string_view(value.text) : std::string_view());
      break;
    case FieldType::Data:
      SetData(ownIndex, value.bytes ? std::span<const std::uint8_t>(value.bytes, value.byteCount)
                                    : std::span<const std::uint8_t>());
      break;
    case FieldType::Font:
      // A font arrives as a whole record only; a value in parts (two words) would leave the
      // font half-made, so the current font stays.
      if (value.bytes == nullptr) {
        std::fprintf(stderr, "pelmora: fonts can only be written as a whole font record\n");
        return true;
      }
      SetData(ownIndex, std::span<const std::uint8_t>(value.bytes, value.byteCount));
      break;
    default:
      SetNumber(ownIndex, value.low);
      break;
  }
  return true;
}

bool KindValues::Load(std::int32_t ownIndex, OwnValue& value) const {
  const Slot* slot = Find(ownIndex);
  if (!slot) return false;
  switch (slot->type) {
    case FieldType::Text:
      value.text = slot->bytes.c_str();
      break;
    case FieldType::Data:
    case FieldType::Font:
      value.bytes = reinterpret_cast<const std::uint8_t*>(slot->bytes.data());
      value.byteCount = static_cast<std::uint32_t>(slot->bytes.size());
      break;
    default:
      value.low = slot->number;
      break;
  }
  return true;
}

std::optional<KindValues> ReadKindBlock(const BlockLayout& layout,
                                        std::span<const std::uint8_t> block) {
  KindValues values(layout);
  if (block.empty()) return values;
  ByteReader reader(block);
  std::uint32_t version = reader.U32();
  if (reader.Failed() || version > layout.latestVersion) return std::nullopt;
  for (const BlockField& field : layout.fields) {
    if (version < field.sinceVersion) continue;
    switch (field.type) {
      case FieldType::Number:
      case FieldType::Logical:
        values.SetNumber(field.ownIndex, reader.U32());
        break;
      case FieldType::Number16:
        values.SetNumber(field.ownIndex, reader.U16());
        break;
      case FieldType::Text: {
        auto bytes = reader.CountedBytes();
        values.SetText(field.ownIndex,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        break;
      }
      case FieldType::Data:
      case FieldType::Font:
        values.SetData(field.ownIndex, reader.CountedBytes());
        break;
    }
    if (reader.Failed()) return std::nullopt;
  }
  return values;
}

std::vector<std::uint8_t> WriteKindBlock(const BlockLayout& layout, const KindValues& values) {
  ByteWriter writer;
  writer.U32(layout.latestVersion);
  for (const BlockField& field : layout.fields) {
    switch (field.type) {
      case FieldType::Number:
      case FieldType::Logical:
        writer.U32(values.Number(field.ownIndex));
        break;
      case FieldType::Number16:
        writer.U16(static_cast<std::uint16_t>(values.Number(field.ownIndex)));
        break;
      case FieldType::Text:
      case FieldType::Data:
      case FieldType::Font:
        writer.CountedBytes(values.Data(field.ownIndex));
        break;
    }
  }
  return writer.Take();
}

std::vector<PropertyType> CommonPropertyTypesThen(std::span<const PropertyType> own) {
  std::vector<PropertyType> types = {
      PropertyType::Integer, PropertyType::Integer, PropertyType::Integer,
      PropertyType::Integer, PropertyType::Text,    PropertyType::Logical,
      PropertyType::Logical, PropertyType::MousePointer,
  };
  types.insert(types.end(), own.begin(), own.end());
  return types;
}

platform::FontSpec FontFromData(std::span<const std::uint8_t> data) {
  platform::FontSpec font;
  constexpr std::size_t kFontRecordSize = 60;
  if (data.size() == kFontRecordSize) {
    std::array<std::uint8_t, kFontRecordSize> record{};
    std::copy(data.begin(), data.end(), record.begin());
    font.logFont = record;
  }
  return font;
}

platform::Colour ResolveColour(std::uint32_t stored) {
  return stored == kFaceColourMarker ? platform::FaceColour() : stored;
}

}  // namespace pelmora
