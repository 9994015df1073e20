#include "runtime/kinds/window_kind.h"

#include <array>

#include "runtime/kinds/window_control.h"
#include "runtime/runtime.h"

namespace pelmora {
namespace {

namespace wp = window_property;
using T = PropertyType;

// Own properties 8 to 31, by property number.
constexpr std::array kWindowOwnTypes = {
    T::Text,     // 8 Caption
    T::Choice,   // 9 BorderStyle
    T::Integer,  // 10 BackColor
    T::Bytes1009,  // 11 BackPicture
    T::Choice,   // 12 BackPictureLayout
    T::Bytes1009,  // 13 BackMusic
    T::Choice,   // 14 BackMusicPlayMode
    T::Logical,  // 15 ControlBox
    T::Logical,  // 16 MaxButton
    T::Logical,  // 17 MinButton
    T::Choice,   // 18 Placement
    T::Logical,  // 19 Movable
    T::Bytes1009,  // 20 Icon
    T::Logical,  // 21 EnterMovesFocus
    T::Logical,  // 22 EscCloses
    T::Logical,  // 23 F1OpensHelp
    T::Text,     // 24 HelpFile
    T::Integer,  // 25 HelpContext
    T::Logical,  // 26 ShowInTaskbar
    T::Logical,  // 27 DragAnywhere
    T::Choice,   // 28 Shape
    T::Logical,  // 29 AlwaysOnTop
    T::Logical,  // 30 KeepTitleActive
    T::Text,     // 31 ClassName
};

namespace placement {
constexpr std::uint32_t Centred = 1;
constexpr std::uint32_t Minimized = 2;
constexpr std::uint32_t Maximized = 3;
}  // namespace placement

class WindowKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::Window; }
  std::string_view Name() const override { return "window"; }
  std::span<const PropertyType> PropertyTypes() const override { return types_; }
  KindAttributes Attributes() const override {
    KindAttributes attributes;
    attributes.rebuildAllowed = false;
    return attributes;
  }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    auto values = ReadKindBlock(WindowBlockLayout(), creation.block);
    if (!values) return nullptr;

    WindowStyles styles = DeriveWindowStyles(
        *values, {creation.style | vocab::style::ClipChildren, 0});
    platform::Rect rect{creation.left, creation.top, creation.width, creation.height};
    switch (values->Number(wp::Placement)) {
      case placement::Centred: {
        platform::Size screen = platform::ScreenSize();
        // Integer division truncates toward zero, as the placement has always been computed.
        rect.left = (screen.width - rect.width) / 2;
        rect.top = (screen.height - rect.height) / 2;
        break;
      }
      case placement::Minimized:
        styles.style |= vocab::style::Minimize;
        break;
      case placement::Maximized:
        if (styles.style & vocab::style::ThickFrame) styles.style |= vocab::style::Maximize;
        break;
      default:
        break;
    }

    // Without a taskbar button the window is owned by the run time's hidden window.
    platform::WindowHandle owner = values->Flag(wp::ShowInTaskbar)
                                       ? platform::WindowHandle::None
                                       : runtime.HiddenOwner();
    std::string className = values->Text(wp::ClassName);
    std::string caption = values->Text(wp::Caption);

    platform::WindowSpec request;
    request.windowClass = platform::WindowClass::Frame;
    request.className = className;
    request.style = styles.style;
    request.exStyle = styles.exStyle;
    request.rect = rect;
    request.owner = owner;
    request.text = caption;
    auto* control = new WindowControl(runtime, creation, std::move(*values));
    LiveControl* live = KindLiveControl::CreateNative(control, request);
    if (!live) return nullptr;

    platform::WindowHandle window = live->Window();
    if (platform::BoundsOf(window) != rect) platform::SetBounds(window, rect);
    control->ApplyCreationExtras();
    return live;
  }

  bool WriteOwnProperty(Runtime&, LiveControl& control, std::int32_t ownIndex,
                        const OwnValue& value) override {
    auto& window = static_cast<WindowControl&>(control);
    if (window.Values().Store(ownIndex, value)) window.Apply(ownIndex);
    return false;  // every window property takes effect on the live window
  }

  bool ReadOwnProperty(Runtime&, LiveControl& control, std::int32_t ownIndex,
                       OwnValue& value) override {
    return static_cast<WindowControl&>(control).Values().Load(ownIndex, value);
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& control) override {
    return WriteKindBlock(WindowBlockLayout(), static_cast<WindowControl&>(control).Values());
  }

 private:
  std::vector<PropertyType> types_ = CommonPropertyTypesThen(kWindowOwnTypes);
};

}  // namespace

ControlKind& WindowKind() {
  static WindowKindImpl kind;
  return kind;
}

void NoteFocusedControl(Runtime& runtime, WindowId windowId, ControlId controlId) {
  auto controls = runtime.ControlsOf(windowId);
  if (controls.empty() || controls.front().live == nullptr) return;
  if (auto* window = dynamic_cast<WindowControl*>(controls.front().live)) {
    window->NoteFocus(controlId);
  }
}

}  // namespace pelmora
