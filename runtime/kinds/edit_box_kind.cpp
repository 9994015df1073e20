#include "runtime/kinds/edit_box_kind.h"

#include <array>
#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/kinds/kind_live_control.h"
#include "runtime/kinds/window_kind.h"

namespace pelmora {
namespace {

namespace ep = edit_box_property;
namespace es = vocab::edit_style;
namespace st = vocab::style;

constexpr FieldType N = FieldType::Number;
constexpr FieldType L = FieldType::Logical;
constexpr FieldType T = FieldType::Text;

// Stored order. The 16-bit password character leaves the fields after it unaligned.
constexpr std::array kEditBoxFields = {
    BlockField{ep::BorderStyle, N, 0, 1},
    BlockField{ep::TextColor, N, 0, 0x000000},
    BlockField{ep::BackColor, N, 0, 0xFFFFFF},
    BlockField{ep::HideSelection, L, 0, 1},
    BlockField{ep::MaxLength, N, 0, 0},
    BlockField{ep::MultiLine, L, 0, 0},
    BlockField{ep::ScrollBars, N, 0, 0},
    BlockField{ep::Alignment, N, 0, 0},
    BlockField{ep::InputMode, N, 0, 0},
    BlockField{ep::PasswordChar, FieldType::Number16, 0, '*'},
    BlockField{ep::CaseConversion, N, 0, 0},
    BlockField{ep::SpinMode, N, 0, 0},
    BlockField{ep::SpinMinimum, N, 0, 0},
    BlockField{ep::SpinMaximum, N, 0, 100},
    BlockField{ep::SelectionStart, N, 0, 0},
    BlockField{ep::SelectionLength, N, 0, 0},
    BlockField{ep::Font, FieldType::Font, 0, 0},
    BlockField{ep::Content, T, 0, 0},
    BlockField{ep::DataSource, T, 2, 0},
    BlockField{ep::DataColumn, T, 2, 0},
};
constexpr std::array kEditBoxUnstored = {UnstoredProperty{ep::SelectedText, T}};
constexpr BlockLayout kEditBoxLayout{2, kEditBoxFields, kEditBoxUnstored};

using PT = PropertyType;
constexpr std::array kEditBoxOwnTypes = {
    PT::Text,     // 8 Content
    PT::Choice,   // 9 BorderStyle
    PT::Integer,  // 10 TextColor
    PT::Integer,  // 11 BackColor
    PT::Font,     // 12 Font
    PT::Logical,  // 13 HideSelection
    PT::Integer,  // 14 MaxLength
    PT::Logical,  // 15 MultiLine
    PT::Choice,   // 16 ScrollBars
    PT::Choice,   // 17 Alignment
    PT::Choice,   // 18 InputMode
    PT::Integer,  // 19 PasswordChar
    PT::Choice,   // 20 CaseConversion
    PT::Choice,   // 21 SpinMode
    PT::Integer,  // 22 SpinMinimum
    PT::Integer,  // 23 SpinMaximum
    PT::Integer,  // 24 SelectionStart
    PT::Integer,  // 25 SelectionLength
    PT::Text,     // 26 SelectedText
    PT::Text,     // 27 DataSource
    PT::Text,     // 28 DataColumn
};

namespace input_mode {
constexpr std::uint32_t ReadOnly = 1;
constexpr std::uint32_t Password = 2;
}  // namespace input_mode

constexpr std::uint32_t kHorizontalBars = 1;
constexpr std::uint32_t kVerticalBars = 2;

void Note(const char* what) { std::fprintf(stderr, "pelmora: edit box: %s\n", what); }

// Full-width sample for the minimum height; "W" for the height of one text line.
constexpr std::string_view kFullWidthSample = "\xD6\xD0";  // 中
constexpr std::string_view kLineSample = "W";

// Every style bit the box's own properties decide.
constexpr std::uint32_t kDerivedStyle =
    es::Center | es::Right | es::MultiLine | es::UpperCase | es::LowerCase | es::Password |
    es::AutoVScroll | es::AutoHScroll | es::NoHideSelection | es::ReadOnly | es::WantReturn |
    st::HScroll | st::VScroll | st::Border;

StyleBits EditStyles(const KindValues& values, std::uint32_t base) {
  StyleBits styles{(base & ~kDerivedStyle) | st::Child | st::ClipSiblings, 0};
  if (!values.Flag(ep::HideSelection)) styles.style |= es::NoHideSelection;
  if (!values.Flag(ep::MultiLine)) {
    styles.style |= es::AutoHScroll;
  } else {
    std::uint32_t bars = values.Number(ep::ScrollBars);
    styles.style |= es::MultiLine | es::AutoVScroll | es::WantReturn;
    if (bars & kHorizontalBars) styles.style |= es::AutoHScroll | st::HScroll;
    if (bars & kVerticalBars) styles.style |= st::VScroll;
  }
  switch (values.Number(ep::Alignment)) {
    case 1: styles.style |= es::Center; break;
    case 2: styles.style |= es::Right; break;
    default: break;
  }
  switch (values.Number(ep::InputMode)) {
    case input_mode::ReadOnly: styles.style |= es::ReadOnly; break;
    case input_mode::Password: styles.style |= es::Password; break;
    default: break;
  }
  switch (values.Number(ep::CaseConversion)) {
    case 1: styles.style |= es::LowerCase; break;
    case 2: styles.style |= es::UpperCase; break;
    default: break;
  }
  StyleBits edge = EdgeStyles(values.Number(ep::BorderStyle));
  styles.style |= edge.style;
  styles.exStyle |= edge.exStyle;
  return styles;
}

bool IsCreationOnly(std::int32_t ownIndex) {
  switch (ownIndex) {
    case ep::HideSelection:
    case ep::MultiLine:
    case ep::ScrollBars:
    case ep::Alignment:
    case ep::CaseConversion:
    case ep::SpinMode:
      return true;
    default:
      return false;
  }
}

class EditBoxControl final : public KindLiveControl {
 public:
  using KindLiveControl::KindLiveControl;

  bool WantsKey(std::uint32_t virtualKey) const override {
    return virtualKey == vocab::vk::Return && values_.Flag(ep::MultiLine) &&
           values_.Number(ep::InputMode) != input_mode::ReadOnly;
  }

  platform::FontSpec Font() const { return FontFromData(values_.Data(ep::Font)); }

  // After the native window exists: everything the style bits cannot say.
  void Prepare(std::int32_t requestedHeight) {
    platform::FontSpec font = Font();
    platform::SetFont(window_, font);
    if (!values_.Flag(ep::MultiLine)) {
      std::int32_t minimum =
          platform::MeasureText(font, kFullWidthSample).height + 2 * platform::EdgeHeight();
      if (requestedHeight < minimum) {
        platform::Rect bounds = platform::BoundsOf(window_);
        bounds.height = minimum;
        platform::SetBounds(window_, bounds);
      }
    }
    if (values_.Number(ep::MaxLength) != 0) {
      platform::SetEditLimit(window_, values_.Number(ep::MaxLength));
    }
    ApplyPasswordChar();
    if (values_.Number(ep::SpinMode) != 0) Note("spin buttons are not available");
    if (values_.Number(ep::InputMode) > input_mode::Password) {
      Note("the numeric and date input modes do not filter or normalise the text");
    }
    ApplySelection();
    ApplyColours();
    CentreTextLine();
  }

  void ApplyPasswordChar() {
    if (values_.Number(ep::InputMode) == input_mode::Password) {
      platform::SetEditPasswordChar(window_,
                                    static_cast<std::uint16_t>(values_.Number(ep::PasswordChar)));
    }
  }
  void ApplySelection() {
    platform::SetEditSelection(window_, values_.Number(ep::SelectionStart),
                               values_.Number(ep::SelectionLength));
  }
  void ApplyColours() {
    platform::SetColours(window_, ResolveColour(values_.Number(ep::TextColor)),
                         ResolveColour(values_.Number(ep::BackColor)));
    platform::Invalidate(window_);
  }
  void ApplyStyles() {
    StyleBits styles = EditStyles(values_, platform::StyleOf(window_));
    auto exStyle = (platform::ExStyleOf(window_) & ~kEdgeStyleMask.exStyle) | styles.exStyle;
    platform::SetStyles(window_, styles.style, exStyle);
  }

  // A single-line box keeps its one line of text vertically centred; the bands above and
  // below belong to the frame.
  void CentreTextLine() {
    if (values_.Flag(ep::MultiLine)) return;
    std::int32_t line = platform::MeasureText(Font(), kLineSample).height;
    std::int32_t client = platform::ClientSizeOf(window_).height;
    std::int32_t top = client > line ? (client - line) / 2 : 0;
    platform::SetEditTextBand(window_, top, line);
  }

  // The text the box shows now, with whatever the user typed.
  const std::string& RefreshContent() {
    values_.SetText(ep::Content, platform::TextOf(window_));
    return values_.Text(ep::Content);
  }

  // The change notice that setting the text causes is not an event; the box raises
  // ContentChanged once itself, whether or not the text differs.
  void WriteContent(std::string_view text) {
    values_.SetText(ep::Content, text);
    writingContent_ = true;
    platform::SetText(window_, text);
    writingContent_ = false;
    Raise(edit_box_event::ContentChanged);
  }

  // The selected part of the current text, kept until the next read so that the run time can
  // copy it.
  void LoadSelectedText(OwnValue& value) {
    selectedText_ = SelectedText();
    value.text = selectedText_.c_str();
  }

  std::string SelectedText() {
    const std::string& text = RefreshContent();
    std::size_t start = std::min<std::size_t>(values_.Number(ep::SelectionStart), text.size());
    std::size_t length =
        std::min<std::size_t>(values_.Number(ep::SelectionLength), text.size() - start);
    return text.substr(start, length);
  }

  void ReplaceSelection(std::string_view replacement) {
    std::string text = RefreshContent();
    std::size_t start = std::min<std::size_t>(values_.Number(ep::SelectionStart), text.size());
    std::size_t length =
        std::min<std::size_t>(values_.Number(ep::SelectionLength), text.size() - start);
    text.replace(start, length, replacement);
    values_.SetNumber(ep::SelectionStart, static_cast<std::uint32_t>(start + replacement.size()));
    values_.SetNumber(ep::SelectionLength, 0);
    WriteContent(text);
    if (platform::WindowExists(window_)) ApplySelection();
  }

 protected:
  std::intptr_t Handle(const platform::Message& message) override {
    if (message.id == vocab::msg::ReflectedCommand &&
        (message.wParam & 0xFFFFu) == vocab::notify::EditChanged && !writingContent_) {
      Raise(edit_box_event::ContentChanged);
    } else if (message.id == vocab::msg::Size) {
      CentreTextLine();
    }
    return 0;
  }
  void FocusArrived() override { NoteFocusedControl(runtime_, windowId_, controlId_); }

 private:
  bool writingContent_ = false;
  std::string selectedText_;
};

class EditBoxKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::EditBox; }
  std::string_view Name() const override { return "EditBox"; }
  std::span<const PropertyType> PropertyTypes() const override { return types_; }
  KindAttributes Attributes() const override { return {}; }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    auto values = ReadKindBlock(kEditBoxLayout, creation.block);
    if (!values) return nullptr;
    StyleBits styles = EditStyles(*values, creation.style);
    std::string content = values->Text(ep::Content);

    platform::WindowSpec request = ControlWindowRequest(creation, platform::WindowClass::Edit);
    request.style = styles.style;
    request.exStyle = styles.exStyle;
    request.text = content;
    auto* control = new EditBoxControl(runtime, creation, std::move(*values));
    if (!KindLiveControl::CreateNative(control, request)) return nullptr;
    control->Prepare(creation.height);
    return control;
  }

  bool WriteOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                        const OwnValue& value) override {
    auto& box = static_cast<EditBoxControl&>(live);
    KindValues& values = box.Values();
    switch (ownIndex) {
      case ep::Content:
        box.WriteContent(value.text ? value.text : "");
        return false;
      case ep::SelectedText:
        box.ReplaceSelection(value.text ? value.text : "");
        return false;
      default:
        break;
    }
    std::uint32_t before = values.Number(ownIndex);
    if (!values.Store(ownIndex, value)) return false;
    if (IsCreationOnly(ownIndex)) return values.Number(ownIndex) != before;

    switch (ownIndex) {
      case ep::TextColor:
      case ep::BackColor:
        box.ApplyColours();
        break;
      case ep::Font:
        platform::SetFont(box.Window(), box.Font());
        box.CentreTextLine();
        break;
      case ep::MaxLength:
        platform::SetEditLimit(box.Window(), values.Number(ep::MaxLength));
        break;
      case ep::PasswordChar:
        box.ApplyPasswordChar();
        break;
      case ep::InputMode:
        box.ApplyStyles();
        platform::SetEditPasswordChar(
            box.Window(), values.Number(ep::InputMode) == input_mode::Password
                              ? static_cast<std::uint16_t>(values.Number(ep::PasswordChar))
                              : 0);
        break;
      case ep::BorderStyle:
        box.ApplyStyles();
        break;
      case ep::SelectionStart:
      case ep::SelectionLength:
        box.ApplySelection();
        break;
      default:
        break;  // spin range and data binding: kept, nothing to show
    }
    return false;
  }

  bool ReadOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                       OwnValue& value) override {
    auto& box = static_cast<EditBoxControl&>(live);
    if (ownIndex == ep::Content) box.RefreshContent();
    if (ownIndex == ep::SelectedText) {
      box.LoadSelectedText(value);
      return true;
    }
    return box.Values().Load(ownIndex, value);
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& live) override {
    auto& box = static_cast<EditBoxControl&>(live);
    box.RefreshContent();
    return WriteKindBlock(kEditBoxLayout, box.Values());
  }

 private:
  std::vector<PropertyType> types_ = CommonPropertyTypesThen(kEditBoxOwnTypes);
};

}  // namespace

const BlockLayout& EditBoxBlockLayout() { return kEditBoxLayout; }

ControlKind& EditBoxKind() {
  static EditBoxKindImpl kind;
  return kind;
}

}  // namespace pelmora
