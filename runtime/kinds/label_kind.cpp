#include "runtime/kinds/label_kind.h"

#include <array>
#include <cstdio>
#include <string>

#include "runtime/kinds/kind_live_control.h"

namespace pelmora {
namespace {

namespace lp = label_property;
namespace dt = vocab::dt;

constexpr FieldType N = FieldType::Number;
constexpr FieldType L = FieldType::Logical;
constexpr FieldType T = FieldType::Text;
constexpr FieldType D = FieldType::Data;

// Stored order, which is not the order of the property numbers (9, 11, 10 and 24, 26, 25).
constexpr std::array kLabelFields = {
    BlockField{lp::TextEffect, N, 0, 0},
    BlockField{lp::GradientBorderWidth, N, 0, 8},
    BlockField{lp::BorderStyle, N, 0, 0},
    BlockField{lp::GradientBorderColor1, N, 0, 0x808080},
    BlockField{lp::GradientBorderColor2, N, 0, 0xFFFFFF},
    BlockField{lp::GradientBorderColor3, N, 0, 0x808080},
    BlockField{lp::TextColor, N, 0, 0x000000},
    BlockField{lp::BackColor, N, 0, kFaceColourMarker},
    BlockField{lp::BackPictureLayout, N, 0, 1},
    BlockField{lp::GradientBackMode, N, 0, 0},
    BlockField{lp::GradientBackColor1, N, 0, 0x808080},
    BlockField{lp::GradientBackColor2, N, 0, 0xFFFFFF},
    BlockField{lp::GradientBackColor3, N, 0, 0x808080},
    BlockField{lp::HorizontalAlignment, N, 0, 0},
    BlockField{lp::VerticalAlignment, N, 0, 1},
    BlockField{lp::WordWrap, L, 0, 0},
    BlockField{lp::Font, FieldType::Font, 0, 0},
    BlockField{lp::BackPicture, D, 0, 0},
    BlockField{lp::Text, T, 0, 0, "\xB1\xEA\xC7\xA9"},  // 标签
    BlockField{lp::DataSource, T, 2, 0},
    BlockField{lp::DataColumn, T, 2, 0},
};
constexpr BlockLayout kLabelLayout{2, kLabelFields, {}};

using PT = PropertyType;
constexpr std::array kLabelOwnTypes = {
    PT::Text,       // 8 Text
    PT::Choice,     // 9 TextEffect
    PT::Choice,     // 10 BorderStyle
    PT::Integer,    // 11 GradientBorderWidth
    PT::Integer,    // 12 GradientBorderColor1
    PT::Integer,    // 13 GradientBorderColor2
    PT::Integer,    // 14 GradientBorderColor3
    PT::Font,       // 15 Font
    PT::Integer,    // 16 TextColor
    PT::Integer,    // 17 BackColor
    PT::Bytes1009,  // 18 BackPicture
    PT::Choice,     // 19 BackPictureLayout
    PT::Choice,     // 20 GradientBackMode
    PT::Integer,    // 21 GradientBackColor1
    PT::Integer,    // 22 GradientBackColor2
    PT::Integer,    // 23 GradientBackColor3
    PT::Choice,     // 24 HorizontalAlignment
    PT::Logical,    // 25 WordWrap
    PT::Choice,     // 26 VerticalAlignment
    PT::Text,       // 27 DataSource
    PT::Text,       // 28 DataColumn
};

constexpr std::uint32_t kGradientBorder = 6;
constexpr platform::Colour kWhite = 0xFFFFFF;
constexpr platform::Colour kBlack = 0x000000;

void Note(const char* what) { std::fprintf(stderr, "pelmora: label: %s\n", what); }

// At least two of the colours are real colours (not the face colour marker).
bool TwoRealColours(const KindValues& values, std::int32_t first) {
  int real = 0;
  for (std::int32_t i = first; i < first + 3; ++i) {
    if (values.Number(i) != kFaceColourMarker) ++real;
  }
  return real >= 2;
}

platform::Rect Shifted(platform::Rect area, std::int32_t by) {
  area.left += by;
  area.top += by;
  return area;
}

class LabelControl final : public KindLiveControl {
 public:
  using KindLiveControl::KindLiveControl;

  std::string_view MnemonicCaption() const override { return values_.Text(lp::Text); }

  // Notes, once per label, what it cannot draw.
  void NoteMissingDrawing() const {
    if (values_.Number(lp::BorderStyle) == kGradientBorder &&
        static_cast<std::int32_t>(values_.Number(lp::GradientBorderWidth)) > 0 &&
        TwoRealColours(values_, lp::GradientBorderColor1)) {
      Note("gradient borders are not drawn");
    }
    if (!values_.Data(lp::BackPicture).empty()) {
      Note("background pictures are not drawn; the background colour fills the label");
    } else if (values_.Number(lp::GradientBackMode) != 0 &&
               TwoRealColours(values_, lp::GradientBackColor1)) {
      Note("gradient backgrounds are not drawn; the background colour fills the label");
    }
  }

  std::uint32_t TextFlags() const {
    std::uint32_t flags = dt::NoClip;
    switch (values_.Number(lp::HorizontalAlignment)) {
      case 1: flags |= dt::Center; break;
      case 2: flags |= dt::Right; break;
      default: break;
    }
    if (values_.Flag(lp::WordWrap)) return flags | dt::WordBreak | dt::VCenter;
    flags |= dt::SingleLine;
    switch (values_.Number(lp::VerticalAlignment)) {
      case 1: flags |= dt::VCenter; break;
      case 2: flags |= dt::Bottom; break;
      default: break;
    }
    return flags;
  }

  // Opaque: the whole client area is filled before the text is drawn, so a label shows its
  // own background even where it lies over a window of the same colour.
  void Paint(platform::Canvas& canvas) {
    platform::Rect invalid = canvas.InvalidRect();
    if (invalid.width <= 0 || invalid.height <= 0) return;
    platform::Size client = platform::ClientSizeOf(window_);
    platform::Rect area{0, 0, client.width, client.height};
    canvas.SetClip(area);
    canvas.FillRect(area, ResolveColour(values_.Number(lp::BackColor)));

    const std::string& text = values_.Text(lp::Text);
    if (text.empty()) return;
    canvas.SelectFont(FontFromData(values_.Data(lp::Font)));
    std::uint32_t flags = TextFlags();
    platform::Rect textArea = area;
    switch (values_.Number(lp::TextEffect)) {
      case 1:
        canvas.DrawTextIn(text, Shifted(area, 1), flags, kWhite);
        break;
      case 2:
        canvas.DrawTextIn(text, area, flags, kWhite);
        textArea = Shifted(area, 1);
        break;
      case 3:
        canvas.DrawTextIn(text, Shifted(area, 2), flags, kBlack);
        break;
      default:
        break;
    }
    canvas.DrawTextIn(text, textArea, flags, ResolveColour(values_.Number(lp::TextColor)));
  }

  void ApplyEdge() {
    StyleBits edge = EdgeStyles(values_.Number(lp::BorderStyle));
    platform::SetStyles(window_, (platform::StyleOf(window_) & ~kEdgeStyleMask.style) | edge.style,
                        (platform::ExStyleOf(window_) & ~kEdgeStyleMask.exStyle) | edge.exStyle);
  }

 protected:
  std::intptr_t Handle(const platform::Message& message) override {
    if (message.id == vocab::msg::Paint && message.lParam != 0) {
      Paint(*reinterpret_cast<platform::Canvas*>(message.lParam));
    }
    return 0;
  }
};

class LabelKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::Label; }
  std::string_view Name() const override { return "Label"; }
  std::span<const PropertyType> PropertyTypes() const override { return types_; }
  KindAttributes Attributes() const override {
    KindAttributes attributes;
    attributes.takesFocus = false;
    return attributes;
  }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    auto values = ReadKindBlock(kLabelLayout, creation.block);
    if (!values) return nullptr;
    StyleBits edge = EdgeStyles(values->Number(lp::BorderStyle));
    std::string text = values->Text(lp::Text);

    platform::WindowSpec request = ControlWindowRequest(creation, platform::WindowClass::Label);
    request.style = creation.style | vocab::style::Child | vocab::style::ClipSiblings | edge.style;
    request.exStyle = edge.exStyle;
    request.text = text;
    auto* control = new LabelControl(runtime, creation, std::move(*values));
    if (!KindLiveControl::CreateNative(control, request)) return nullptr;
    control->NoteMissingDrawing();
    return control;
  }

  bool WriteOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                        const OwnValue& value) override {
    auto& label = static_cast<LabelControl&>(live);
    if (!label.Values().Store(ownIndex, value)) return false;
    if (ownIndex == lp::Text) platform::SetText(label.Window(), label.Values().Text(lp::Text));
    if (ownIndex == lp::BorderStyle) label.ApplyEdge();
    platform::Invalidate(label.Window());
    return false;  // every label property shows on the live label
  }

  bool ReadOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                       OwnValue& value) override {
    return static_cast<LabelControl&>(live).Values().Load(ownIndex, value);
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& live) override {
    return WriteKindBlock(kLabelLayout, static_cast<LabelControl&>(live).Values());
  }

 private:
  std::vector<PropertyType> types_ = CommonPropertyTypesThen(kLabelOwnTypes);
};

}  // namespace

const BlockLayout& LabelBlockLayout() { return kLabelLayout; }

ControlKind& LabelKind() {
  static LabelKindImpl kind;
  return kind;
}

}  // namespace pelmora
