// From a source to its block.
#include <map>
#include <optional>
#include <string>

#include "runtime/byte_reader.h"
#include "runtime/description.h"
#include "tools/form/form_schema.h"
#include "tools/form/form_text.h"
#include "tools/form/form_tools.h"

namespace pelmora::form {
namespace {

struct SourceError {
  std::string message;
};

// The kind block being written: its version and the values given so far, by field.
struct PendingBlock {
  const KindSchema* schema = nullptr;
  std::uint32_t version = 0;
  std::map<std::int32_t, std::vector<std::uint8_t>> given;  // own index -> encoded field
};

class Compiler {
 public:
  explicit Compiler(std::span<const NamedRoutine> routines) : routines_(routines) {}

  void Line(const std::vector<Word>& words) {
    const std::string& key = words[0].text;
    if (key == "window") return StartWindow(words);
    if (key == "control") return StartControl(words);
    if (key == "menu-item") return MenuItem(words);
    if (window_ == nullptr) throw SourceError{"'" + key + "' before any 'window'"};
    if (control_ == nullptr) return WindowField(words);
    if (block_.has_value()) return BlockFieldLine(words);
    ControlField(words);
  }

  std::vector<WindowDescription> Finish() {
    FinishControl();
    return std::move(windows_);
  }

 private:
  static void Expect(const std::vector<Word>& words, std::size_t count) {
    if (words.size() != count) {
      throw SourceError{"'" + words[0].text + "' takes " + std::to_string(count - 1) + " value(s)"};
    }
  }
  static std::uint32_t Number(const Word& word) {
    auto value = ParseNumber(word.text);
    if (word.quoted || !value) throw SourceError{"'" + word.text + "' is not a number"};
    return *value;
  }
  static std::string Text(const Word& word) {
    if (!word.quoted) throw SourceError{"'" + word.text + "' should be a quoted text"};
    return word.text;
  }
  static std::vector<std::uint8_t> Hex(const Word& word) {
    auto bytes = ParseHexBytes(word.text);
    if (word.quoted || !bytes) throw SourceError{"'" + word.text + "' is not hexadecimal bytes"};
    return *bytes;
  }

  void StartWindow(const std::vector<Word>& words) {
    Expect(words, 2);
    FinishControl();
    windows_.push_back({});
    window_ = &windows_.back();
    window_->windowId = Number(words[1]);
  }

  void WindowField(const std::vector<Word>& words) {
    const std::string& key = words[0].text;
    if (key == "placeholder") {
      Expect(words, 2);
      window_->placeholder = Number(words[1]);
    } else if (key == "values") {
      Expect(words, 3);
      window_->firstValue = Number(words[1]);
      window_->secondValue = Number(words[2]);
    } else if (key == "texts") {
      Expect(words, 3);
      window_->firstText = Text(words[1]);
      window_->secondText = Text(words[2]);
    } else {
      throw SourceError{"unknown window field '" + key + "'"};
    }
  }

  void StartControl(const std::vector<Word>& words) {
    Expect(words, 3);
    if (window_ == nullptr) throw SourceError{"'control' before any 'window'"};
    FinishControl();
    window_->records.push_back({});
    control_ = &window_->records.back();
    control_->controlId = Number(words[1]);
    if (const KindSchema* schema = SchemaNamed(words[2].text)) {
      control_->description.kind = schema->kindId;
    } else {
      control_->description.kind = Number(words[2]);
    }
    control_->description.mousePointer.assign(4, 0);  // the default pointer
  }

  void MenuItem(const std::vector<Word>& words) {
    Expect(words, 3);
    if (window_ == nullptr) throw SourceError{"'menu-item' before any 'window'"};
    FinishControl();
    ControlRecord record;
    record.controlId = Number(words[1]);
    if (!record.IsMenuItem()) throw SourceError{"'" + words[1].text + "' is no menu item's identifier"};
    record.menuItemBytes = Hex(words[2]);
    window_->records.push_back(std::move(record));
  }

  void ControlField(const std::vector<Word>& words) {
    ControlDescription& c = control_->description;
    const std::string& key = words[0].text;
    if (key == "name") {
      Expect(words, 2);
      c.name = Text(words[1]);
    } else if (key == "place") {
      Expect(words, 5);
      c.left = static_cast<std::int32_t>(Number(words[1]));
      c.top = static_cast<std::int32_t>(Number(words[2]));
      c.width = static_cast<std::int32_t>(Number(words[3]));
      c.height = static_cast<std::int32_t>(Number(words[4]));
    } else if (key == "flags") {
      c.stateFlags = 0;
      for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& flag = words[i].text;
        if (flag == "visible") c.stateFlags |= state_flag::Visible;
        else if (flag == "disabled") c.stateFlags |= state_flag::Disabled;
        else if (flag == "tabstop") c.stateFlags |= state_flag::TabStop;
        else if (flag != "none") c.stateFlags |= Number(words[i]);
      }
    } else if (key == "taborder") {
      Expect(words, 2);
      c.tabOrder = static_cast<std::int32_t>(Number(words[1]));
    } else if (key == "binding-source") {
      Expect(words, 2);
      c.bindingSourceId = Number(words[1]);
    } else if (key == "container") {
      Expect(words, 2);
      c.containerId = Number(words[1]);
    } else if (key == "children") {
      for (std::size_t i = 1; i < words.size(); ++i) c.childIds.push_back(Number(words[i]));
    } else if (key == "pointer") {
      Expect(words, 2);
      c.mousePointer = words[1].text == "none" ? std::vector<std::uint8_t>{} : Hex(words[1]);
    } else if (key == "tag") {
      Expect(words, 2);
      c.tag = Text(words[1]);
    } else if (key == "second-text") {
      Expect(words, 2);
      c.secondText = Text(words[1]);
    } else if (key == "reserved") {
      Expect(words, 5);
      for (std::size_t i = 0; i < 4; ++i) c.reserved[i] = Number(words[i + 1]);
    } else if (key == "reserved-after-tag") {
      Expect(words, 2);
      c.reservedAfterTag = Number(words[1]);
    } else if (key == "reserved-tail") {
      Expect(words, 2);
      auto bytes = Hex(words[1]);
      if (bytes.size() != c.reservedTail.size()) throw SourceError{"'reserved-tail' takes 20 bytes"};
      std::copy(bytes.begin(), bytes.end(), c.reservedTail.begin());
    } else if (key == "live-object") {
      Expect(words, 2);
      c.storedLiveObject = Number(words[1]);
    } else if (key == "live-cursor") {
      Expect(words, 2);
      c.storedLiveCursor = Number(words[1]);
    } else if (key == "on") {
      Expect(words, 3);
      c.bindings.push_back({static_cast<EventNumber>(Number(words[1])), Reference(words[2]), nullptr});
    } else if (key == "block-bytes") {
      Expect(words, 2);
      c.kindBlock = Hex(words[1]);
    } else if (key == "block") {
      Expect(words, 2);
      const KindSchema* schema = SchemaOf(c.kind);
      if (schema == nullptr) throw SourceError{"this kind has no known block layout: use 'block-bytes'"};
      std::uint32_t version = Number(words[1]);
      if (version > schema->layout->latestVersion) {
        throw SourceError{"the " + std::string(schema->name) + " block has no version " + words[1].text};
      }
      block_ = PendingBlock{schema, version, {}};
    } else {
      throw SourceError{"unknown control field '" + key + "'"};
    }
  }

  std::uint32_t Reference(const Word& word) const {
    if (word.text == "none") return kNoHandler;
    for (const NamedRoutine& routine : routines_) {
      if (routine.name == word.text) return routine.reference;
    }
    if (auto number = ParseNumber(word.text)) return *number;
    throw SourceError{"no routine is named '" + word.text + "'"};
  }

  void BlockFieldLine(const std::vector<Word>& words) {
    Expect(words, 2);
    const BlockField* field = block_->schema->FieldNamed(words[0].text);
    if (field == nullptr) {
      throw SourceError{"the " + std::string(block_->schema->name) + " block has no field '" + words[0].text + "'"};
    }
    if (block_->version < field->sinceVersion) {
      throw SourceError{"'" + words[0].text + "' is not stored by block version " + std::to_string(block_->version)};
    }
    const Word& value = words[1];
    ByteWriter writer;
    switch (field->type) {
      case FieldType::Number:
        writer.U32(Number(value));
        break;
      case FieldType::Logical:
        writer.U32(value.text == "true" && !value.quoted ? 1u
                   : value.text == "false" && !value.quoted ? 0u
                                                            : Number(value));
        break;
      case FieldType::Number16: {
        std::uint32_t number = Number(value);
        if (number > 0xFFFF) throw SourceError{"'" + words[0].text + "' holds 16 bits"};
        writer.U16(static_cast<std::uint16_t>(number));
        break;
      }
      case FieldType::Text:
        writer.CountedText(Text(value));
        break;
      case FieldType::Data:
      case FieldType::Font:
        writer.CountedBytes(value.text == "none" && !value.quoted ? std::vector<std::uint8_t>{} : Hex(value));
        break;
    }
    if (!block_->given.emplace(field->ownIndex, writer.Take()).second) {
      throw SourceError{"'" + words[0].text + "' is given twice"};
    }
  }

  void FinishControl() {
    if (control_ != nullptr && block_.has_value()) {
      ByteWriter writer;
      writer.U32(block_->version);
      for (const BlockField& field : block_->schema->layout->fields) {
        if (block_->version < field.sinceVersion) continue;
        auto given = block_->given.find(field.ownIndex);
        if (given != block_->given.end()) {
          writer.Bytes(given->second);
          continue;
        }
        switch (field.type) {
          case FieldType::Number:
          case FieldType::Logical: writer.U32(field.defaultNumber); break;
          case FieldType::Number16: writer.U16(static_cast<std::uint16_t>(field.defaultNumber)); break;
          case FieldType::Text: writer.CountedText(std::string(field.defaultText)); break;
          case FieldType::Data:
          case FieldType::Font: writer.U32(0); break;
        }
      }
      control_->description.kindBlock = writer.Take();
    }
    control_ = nullptr;
    block_.reset();
  }

  std::span<const NamedRoutine> routines_;
  std::vector<WindowDescription> windows_;
  WindowDescription* window_ = nullptr;
  ControlRecord* control_ = nullptr;
  std::optional<PendingBlock> block_;
};

}  // namespace

std::variant<std::vector<std::uint8_t>, FormError> CompileForm(std::string_view source,
                                                               std::span<const NamedRoutine> routines) {
  Compiler compiler(routines);
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  try {
    while (start <= source.size()) {
      std::size_t end = source.find('\n', start);
      if (end == std::string_view::npos) end = source.size();
      ++lineNumber;
      std::string error;
      auto words = SplitWords(source.substr(start, end - start), error);
      if (!words) throw SourceError{error};
      if (!words->empty()) compiler.Line(*words);
      start = end + 1;
    }
    return WriteDescriptionBlock(compiler.Finish());
  } catch (const SourceError& error) {
    return FormError{"line " + std::to_string(lineNumber) + ": " + error.message};
  }
}

}  // namespace pelmora::form
