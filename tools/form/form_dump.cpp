// From a block to its source form.
#include <string>

#include "runtime/byte_reader.h"
#include "runtime/description.h"
#include "tools/form/form_schema.h"
#include "tools/form/form_text.h"
#include "tools/form/form_tools.h"

namespace pelmora::form {
namespace {

// The reader resolves references to routines; the dumper only needs to know they exist.
HandlerResult NoRoutine(Runtime&, std::span<const std::uint32_t>) { return std::nullopt; }

std::string RoutineName(std::uint32_t reference, std::span<const NamedRoutine> routines) {
  if (reference == kNoHandler) return "none";
  for (const NamedRoutine& routine : routines) {
    if (routine.reference == reference) return std::string(routine.name);
  }
  return FormatNumber(reference);
}

std::string FlagWords(std::uint32_t flags) {
  std::string words;
  auto take = [&](std::uint32_t bit, const char* word) {
    if (flags & bit) {
      words += std::string(" ") + word;
      flags &= ~bit;
    }
  };
  take(state_flag::Visible, "visible");
  take(state_flag::Disabled, "disabled");
  take(state_flag::TabStop, "tabstop");
  if (flags != 0) words += " " + FormatNumber(flags);
  return words.empty() ? " none" : words;
}

// The block's fields by name, when the block reads exactly under the kind's layout; otherwise
// nothing and the dumper shows the raw bytes.
bool DumpKindBlock(const KindSchema& schema, std::span<const std::uint8_t> block, std::string& out) {
  ByteReader reader(block);
  std::uint32_t version = reader.U32();
  if (reader.Failed() || version > schema.layout->latestVersion) return false;
  std::string fields = "  block " + std::to_string(version) + "\n";
  for (const BlockField& field : schema.layout->fields) {
    if (version < field.sinceVersion) continue;
    std::string value;
    switch (field.type) {
      case FieldType::Number:
        value = FormatNumber(reader.U32());
        break;
      case FieldType::Logical: {
        std::uint32_t number = reader.U32();
        value = number == 0 ? "false" : number == 1 ? "true" : FormatNumber(number);
        break;
      }
      case FieldType::Number16:
        value = std::to_string(reader.U16());
        break;
      case FieldType::Text: {
        auto bytes = reader.CountedBytes();
        value = Quote({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        break;
      }
      case FieldType::Data:
      case FieldType::Font: {
        auto bytes = reader.CountedBytes();
        value = bytes.empty() ? "none" : FormatHexBytes(bytes);
        break;
      }
    }
    if (reader.Failed()) return false;
    fields += "    " + std::string(schema.FieldName(field.ownIndex)) + " " + value + "\n";
  }
  if (!reader.AtEnd()) return false;
  out += fields;
  return true;
}

void DumpControl(const ControlRecord& record, std::span<const NamedRoutine> routines, std::string& out) {
  if (record.IsMenuItem()) {
    out += "\nmenu-item " + FormatNumber(record.controlId) + " " + FormatHexBytes(record.menuItemBytes) + "\n";
    return;
  }
  const ControlDescription& c = record.description;
  const KindSchema* schema = SchemaOf(c.kind);
  out += "\ncontrol " + FormatNumber(record.controlId) + " " +
         (schema != nullptr ? std::string(schema->name) : FormatNumber(c.kind)) + "\n";
  out += "  name " + Quote(c.name) + "\n";
  out += "  place " + FormatSigned(c.left) + " " + FormatSigned(c.top) + " " + FormatSigned(c.width) +
         " " + FormatSigned(c.height) + "\n";
  out += "  flags" + FlagWords(c.stateFlags) + "\n";
  if (c.tabOrder != 0) out += "  taborder " + FormatSigned(c.tabOrder) + "\n";
  if (c.bindingSourceId != 0) out += "  binding-source " + FormatNumber(c.bindingSourceId) + "\n";
  if (c.containerId != 0) out += "  container " + FormatNumber(c.containerId) + "\n";
  if (!c.childIds.empty()) {
    out += "  children";
    for (ControlId id : c.childIds) out += " " + FormatNumber(id);
    out += "\n";
  }
  static const std::vector<std::uint8_t> kDefaultPointer(4, 0);
  if (c.mousePointer != kDefaultPointer) {
    out += "  pointer " + (c.mousePointer.empty() ? std::string("none") : FormatHexBytes(c.mousePointer)) + "\n";
  }
  if (!c.tag.empty()) out += "  tag " + Quote(c.tag) + "\n";
  if (!c.secondText.empty()) out += "  second-text " + Quote(c.secondText) + "\n";
  if (c.reserved != std::array<std::uint32_t, 4>{}) {
    out += "  reserved";
    for (std::uint32_t word : c.reserved) out += " " + FormatNumber(word);
    out += "\n";
  }
  if (c.reservedAfterTag != 0) out += "  reserved-after-tag " + FormatNumber(c.reservedAfterTag) + "\n";
  if (c.reservedTail != std::array<std::uint8_t, 20>{}) out += "  reserved-tail " + FormatHexBytes(c.reservedTail) + "\n";
  if (c.storedLiveObject != 0) out += "  live-object " + FormatNumber(c.storedLiveObject) + "\n";
  if (c.storedLiveCursor != 0) out += "  live-cursor " + FormatNumber(c.storedLiveCursor) + "\n";
  for (const EventBinding& binding : c.bindings) {
    out += "  on " + std::to_string(binding.eventNumber) + " " + RoutineName(binding.handlerReference, routines) + "\n";
  }
  if (c.kindBlock.empty()) return;
  if (schema == nullptr || !DumpKindBlock(*schema, c.kindBlock, out)) {
    out += "  block-bytes " + FormatHexBytes(c.kindBlock) + "\n";
  }
}

}  // namespace

std::variant<std::string, FormError> DumpForm(std::span<const std::uint8_t> block,
                                              std::span<const NamedRoutine> routines) {
  std::vector<HandlerEntry> table;
  for (const NamedRoutine& routine : routines) table.push_back({routine.reference, &NoRoutine});
  DescriptionReadResult read = ReadDescriptionBlock(block, table);
  if (!read.Ok()) {
    return FormError{"byte " + std::to_string(read.error->offset) + ": " + read.error->reason};
  }
  // The source form has no way to say where records lie in their buffer: it describes
  // records laid out one after the other, as the compiler writes them.
  std::vector<std::uint8_t> canonical = WriteDescriptionBlock(read.windows);
  if (canonical != std::vector<std::uint8_t>(block.begin(), block.end())) {
    std::size_t offset = 0;
    while (offset < canonical.size() && offset < block.size() && canonical[offset] == block[offset]) ++offset;
    return FormError{"byte " + std::to_string(offset) +
                     ": the records are not laid out one after the other; the source form cannot show that"};
  }
  std::string out = "# Window descriptions: compiled by pelmora-form into the program's window data.\n";
  for (const WindowDescription& window : read.windows) {
    out += "\nwindow " + FormatNumber(window.windowId) + "\n";
    if (window.placeholder != 0) out += "  placeholder " + FormatNumber(window.placeholder) + "\n";
    out += "  values " + FormatNumber(window.firstValue) + " " + FormatNumber(window.secondValue) + "\n";
    if (!window.firstText.empty() || !window.secondText.empty()) {
      out += "  texts " + Quote(window.firstText) + " " + Quote(window.secondText) + "\n";
    }
    for (const ControlRecord& record : window.records) DumpControl(record, routines, out);
  }
  return out;
}

}  // namespace pelmora::form
