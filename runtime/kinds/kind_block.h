// The stored block of a kind's own properties (KindPropertyBlock), shared by the window,
// edit box, label and button kinds. Each kind describes its block as a table of fields in
// stored order; reading starts from every default and overwrites the fields in that order, so
// a block written by an older format version keeps the defaults of the fields it lacks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "runtime/control_kind.h"

namespace pelmora {

enum class FieldType : std::uint8_t {
  Number,   // u32: integers, list choices, colours
  Logical,  // u32, held as 0 or 1
  Number16, // u16: the edit box's password character
  Text,     // u32 byte count, then the bytes (no terminator)
  Data,     // u32 byte count, then the bytes; 0 means none (pictures, icons, sounds)
  Font,     // stored as Data: a 60-byte font record, anything else means the default font
};

struct BlockField {
  std::int32_t ownIndex = 0;  // property number - 8
  FieldType type = FieldType::Number;
  std::uint32_t sinceVersion = 0;  // the first format version that stores it
  std::uint32_t defaultNumber = 0;
  std::string_view defaultText{};  // Text fields (code page 936)
};

// A property that is not stored in the block but still belongs to the kind's list.
struct UnstoredProperty {
  std::int32_t ownIndex = 0;
  FieldType type = FieldType::Text;
};

struct BlockLayout {
  std::uint32_t latestVersion = 0;  // higher versions are refused; written blocks carry it
  std::span<const BlockField> fields;  // in stored order
  std::span<const UnstoredProperty> unstored;
};

// The current value of every own property of a live control.
class KindValues {
 public:
  explicit KindValues(const BlockLayout& layout);

  std::uint32_t Number(std::int32_t ownIndex) const;
  bool Flag(std::int32_t ownIndex) const { return Number(ownIndex) != 0; }
  const std::string& Text(std::int32_t ownIndex) const;
  std::span<const std::uint8_t> Data(std::int32_t ownIndex) const;

  void SetNumber(std::int32_t ownIndex, std::uint32_t value);
  void SetText(std::int32_t ownIndex, std::string_view text);
  void SetData(std::int32_t ownIndex, std::span<const std::uint8_t> data);

  std::optional<FieldType> TypeOf(std::int32_t ownIndex) const;

  // The generic part of WriteOwnProperty / ReadOwnProperty: store or hand out the value by
  // the property's field type. False for an index the kind does not have.
  bool Store(std::int32_t ownIndex, const OwnValue& value);
  bool Load(std::int32_t ownIndex, OwnValue& value) const;

 private:
  struct Slot {
    FieldType type = FieldType::Number;
    bool present = false;
    std::uint32_t number = 0;
    std::string bytes;  // texts and data
  };
  const Slot* Find(std::int32_t ownIndex) const;
  Slot* Find(std::int32_t ownIndex);
  std::vector<Slot> slots_;  // indexed by own index
};

// Nothing when the version is above the layout's latest or the block ends before the last
// field its version stores. An empty block gives the defaults.
std::optional<KindValues> ReadKindBlock(const BlockLayout& layout,
                                        std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteKindBlock(const BlockLayout& layout, const KindValues& values);

// The property type list of a kind: the eight common properties, then its own ones.
std::vector<PropertyType> CommonPropertyTypesThen(std::span<const PropertyType> own);

// A stored font is used only when it is a whole 60-byte font record; anything else means the
// system's default GUI font.
platform::FontSpec FontFromData(std::span<const std::uint8_t> data);

// 0xFF000000 stands for the system's 3-D face colour.
inline constexpr std::uint32_t kFaceColourMarker = 0xFF000000u;
platform::Colour ResolveColour(std::uint32_t stored);

}  // namespace pelmora
