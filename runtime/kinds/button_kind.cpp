#include "runtime/kinds/button_kind.h"

#include <array>
#include <cstdio>
#include <string>

#include "runtime/kinds/kind_live_control.h"
#include "runtime/kinds/window_kind.h"

namespace pelmora {
namespace {

namespace bp = button_property;
namespace bs = vocab::button_style;

constexpr FieldType N = FieldType::Number;
constexpr FieldType T = FieldType::Text;
constexpr FieldType D = FieldType::Data;

constexpr std::array kButtonFields = {
    BlockField{bp::ButtonType, N, 0, 0},
    BlockField{bp::HorizontalAlignment, N, 0, 1},
    BlockField{bp::VerticalAlignment, N, 0, 1},
    BlockField{bp::Picture, D, 0, 0},
    BlockField{bp::Font, FieldType::Font, 0, 0},
    BlockField{bp::Caption, T, 0, 0, "\xB0\xB4\xC5\xA5"},  // 按钮
};
constexpr BlockLayout kButtonLayout{1, kButtonFields, {}};

using PT = PropertyType;
constexpr std::array kButtonOwnTypes = {
    PT::Bytes1009,  // 8 Picture
    PT::Choice,     // 9 ButtonType
    PT::Text,       // 10 Caption
    PT::Choice,     // 11 HorizontalAlignment
    PT::Choice,     // 12 VerticalAlignment
    PT::Font,       // 13 Font
};

constexpr std::uint32_t kDefaultButton = 1;

// Every style bit the button's own properties decide.
constexpr std::uint32_t kDerivedStyle = bs::DefPushButton | bs::Icon | bs::Bitmap | bs::Center |
                                        bs::VCenter | bs::MultiLine;

// Icon and cursor files start with a reserved 0 and the resource type 1 or 2.
bool IsIconOrCursor(std::span<const std::uint8_t> picture) {
  return picture.size() >= 4 && picture[0] == 0 && picture[1] == 0 &&
         (picture[2] == 1 || picture[2] == 2) && picture[3] == 0;
}

std::uint32_t ButtonStyles(const KindValues& values, std::uint32_t base) {
  std::uint32_t style =
      (base & ~kDerivedStyle) | vocab::style::Child | vocab::style::ClipSiblings | bs::MultiLine;
  // Never the notify style: the second press of a double click must act as a plain press.
  style &= ~bs::Notify;
  if (values.Number(bp::ButtonType) == kDefaultButton) style |= bs::DefPushButton;
  switch (values.Number(bp::HorizontalAlignment)) {
    case 0: style |= bs::Left; break;
    case 2: style |= bs::Right; break;
    default: style |= bs::Center; break;
  }
  switch (values.Number(bp::VerticalAlignment)) {
    case 0: style |= bs::Top; break;
    case 2: style |= bs::Bottom; break;
    default: style |= bs::VCenter; break;
  }
  auto picture = values.Data(bp::Picture);
  if (!picture.empty()) style |= IsIconOrCursor(picture) ? bs::Icon : bs::Bitmap;
  return style;
}

class ButtonControl final : public KindLiveControl {
 public:
  using KindLiveControl::KindLiveControl;

  bool IsDefaultButton() const override {
    return values_.Number(bp::ButtonType) == kDefaultButton;
  }
  std::string_view MnemonicCaption() const override { return values_.Text(bp::Caption); }

  void ApplyStyles() {
    platform::SetStyles(window_, ButtonStyles(values_, platform::StyleOf(window_)),
                        platform::ExStyleOf(window_));
  }

 protected:
  std::intptr_t Handle(const platform::Message& message) override {
    if (message.id == vocab::msg::ReflectedCommand &&
        (message.wParam & 0xFFFFu) == vocab::notify::ButtonClicked) {
      Raise(button_event::Clicked);
    }
    return 0;
  }
  void FocusArrived() override { NoteFocusedControl(runtime_, windowId_, controlId_); }
};

class ButtonKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::Button; }
  std::string_view Name() const override { return "Button"; }
  std::span<const PropertyType> PropertyTypes() const override { return types_; }
  KindAttributes Attributes() const override { return {}; }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    auto values = ReadKindBlock(kButtonLayout, creation.block);
    if (!values) return nullptr;
    std::string caption = values->Text(bp::Caption);
    if (!values->Data(bp::Picture).empty()) {
      std::fprintf(stderr, "pelmora: button: pictures are not shown; the caption shows\n");
    }

    platform::WindowSpec request = ControlWindowRequest(creation, platform::WindowClass::Button);
    request.style = ButtonStyles(*values, creation.style);
    request.text = caption;
    platform::FontSpec font = FontFromData(values->Data(bp::Font));
    auto* control = new ButtonControl(runtime, creation, std::move(*values));
    if (!KindLiveControl::CreateNative(control, request)) return nullptr;
    platform::SetFont(control->Window(), font);
    return control;
  }

  bool WriteOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                        const OwnValue& value) override {
    auto& button = static_cast<ButtonControl&>(live);
    KindValues& values = button.Values();
    if (!values.Store(ownIndex, value)) return false;
    switch (ownIndex) {
      case bp::Picture:
        return true;  // the picture style is fixed when the button is made
      case bp::Caption:
        platform::SetText(button.Window(), values.Text(bp::Caption));
        break;
      case bp::Font:
        platform::SetFont(button.Window(), FontFromData(values.Data(bp::Font)));
        break;
      default:
        button.ApplyStyles();
        break;
    }
    return false;
  }

  bool ReadOwnProperty(Runtime&, LiveControl& live, std::int32_t ownIndex,
                       OwnValue& value) override {
    return static_cast<ButtonControl&>(live).Values().Load(ownIndex, value);
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& live) override {
    return WriteKindBlock(kButtonLayout, static_cast<ButtonControl&>(live).Values());
  }

 private:
  std::vector<PropertyType> types_ = CommonPropertyTypesThen(kButtonOwnTypes);
};

}  // namespace

const BlockLayout& ButtonBlockLayout() { return kButtonLayout; }

ControlKind& ButtonKind() {
  static ButtonKindImpl kind;
  return kind;
}

}  // namespace pelmora
