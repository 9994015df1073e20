#include "runtime/kinds/window_control.h"

#include <cstdio>

#include "runtime/kinds/keyboard_order.h"

namespace pelmora {
namespace {

namespace wp = window_property;
namespace st = vocab::style;
namespace ex = vocab::exstyle;

namespace border {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sizable = 1;
constexpr std::uint32_t FixedDialog = 2;
constexpr std::uint32_t SizableTool = 3;
constexpr std::uint32_t FixedTool = 4;
constexpr std::uint32_t SizableSunken = 5;
constexpr std::uint32_t FixedSunken = 6;
}  // namespace border

// Every bit the window's properties decide; re-derivation clears them first.
constexpr std::uint32_t kDerivedStyle = st::Popup | st::Caption | st::SystemMenu |
                                        st::ThickFrame | st::MinimizeBox | st::MaximizeBox;
constexpr std::uint32_t kDerivedExStyle = ex::ToolWindow | ex::ClientEdge;

constexpr std::int32_t kLastDrawnShape = 3;

void Note(const char* what) {
  std::fprintf(stderr, "pelmora: window: %s\n", what);
}

}  // namespace

WindowStyles DeriveWindowStyles(const KindValues& values, WindowStyles base) {
  WindowStyles styles{base.style & ~kDerivedStyle, base.exStyle & ~kDerivedExStyle};
  std::uint32_t borderStyle = values.Number(wp::BorderStyle);
  bool controlBox = values.Flag(wp::ControlBox);
  if (borderStyle == border::None) {
    // A top-level window without the pop-up style would get a title bar from the system.
    styles.style |= st::Popup;
  } else {
    if (!values.Text(wp::Caption).empty() || controlBox) {
      styles.style |= st::Caption;
      if (controlBox) styles.style |= st::SystemMenu;
    }
    styles.style |= st::DialogFrame;
    switch (borderStyle) {
      case border::Sizable: styles.style |= st::ThickFrame; break;
      case border::FixedDialog: break;
      case border::SizableTool:
        styles.style |= st::ThickFrame;
        styles.exStyle |= ex::ToolWindow;
        break;
      case border::FixedTool: styles.exStyle |= ex::ToolWindow; break;
      case border::SizableSunken:
        styles.style |= st::ThickFrame;
        styles.exStyle |= ex::ClientEdge;
        break;
      case border::FixedSunken: styles.exStyle |= ex::ClientEdge; break;
      default: break;
    }
  }
  if (values.Flag(wp::MaxButton)) styles.style |= st::MaximizeBox;
  if (values.Flag(wp::MinButton)) styles.style |= st::MinimizeBox;
  return styles;
}

void WindowControl::RederiveStyles() {
  WindowStyles styles = DeriveWindowStyles(
      values_, {platform::StyleOf(window_), platform::ExStyleOf(window_)});
  platform::SetStyles(window_, styles.style, styles.exStyle);
}

void WindowControl::ApplyShape() {
  auto shape = static_cast<std::int32_t>(values_.Number(wp::Shape));
  if (shape > kLastDrawnShape) {
    Note("outlines from the table of shapes (4 to 29) are not available; the window stays "
         "rectangular");
    shape = 0;
  }
  platform::SetShape(window_, shape);
}

void WindowControl::ApplyCreationExtras() {
  RederiveStyles();
  platform::SetIcon(window_, values_.Data(wp::Icon));
  ApplyShape();
  platform::SetFont(window_, platform::FontSpec{});
  if (values_.Flag(wp::AlwaysOnTop)) platform::SetTopmost(window_, true);
  if (!values_.Flag(wp::Movable)) platform::RemoveMoveCommand(window_);
  if (!values_.Data(wp::BackPicture).empty()) {
    Note("background pictures are not drawn; the background colour fills the window");
  }
  if (!values_.Data(wp::BackMusic).empty()) Note("background music is not played");
  if (values_.Flag(wp::KeepTitleActive)) {
    Note("the title bar is not kept active while another window is active");
  }
}

void WindowControl::Apply(std::int32_t ownIndex) {
  switch (ownIndex) {
    case wp::Caption:
      platform::SetText(window_, values_.Text(wp::Caption));
      RederiveStyles();
      break;
    case wp::BorderStyle:
    case wp::ControlBox:
    case wp::MaxButton:
    case wp::MinButton:
      RederiveStyles();
      break;
    case wp::BackColor:
    case wp::BackPicture:
    case wp::BackPictureLayout:
      platform::Invalidate(window_);
      break;
    case wp::Icon:
      platform::SetIcon(window_, values_.Data(wp::Icon));
      break;
    case wp::Shape:
      ApplyShape();
      break;
    case wp::AlwaysOnTop:
      platform::SetTopmost(window_, values_.Flag(wp::AlwaysOnTop));
      break;
    case wp::Movable:
      if (!values_.Flag(wp::Movable)) {
        platform::RemoveMoveCommand(window_);
      } else {
        Note("the move command cannot be given back to a window that lost it");
      }
      break;
    default:
      // Read when they are used (keys, help, closing) or only at creation.
      break;
  }
}

void WindowControl::ShowAfterLoad() {
  switch (values_.Number(wp::Placement)) {
    case 2:
      platform::ShowNativeWindow(window_, vocab::Show::ShowMinimized);
      break;
    case 3: {
      if (platform::IsMinimized(window_) || platform::IsMaximized(window_)) {
        platform::ShowNativeWindow(window_, vocab::Show::Restore);
      }
      platform::ShowNativeWindow(window_, vocab::Show::ShowMaximized);
      if (!platform::WindowExists(window_)) return;
      platform::SetBounds(window_, platform::WorkAreaNear(window_));
      platform::ShowNativeWindow(window_, vocab::Show::Show);
      break;
    }
    default:
      platform::ShowNativeWindow(window_, vocab::Show::Show);
      break;
  }
}

void WindowControl::Paint(platform::Canvas& canvas) {
  platform::Rect invalid = canvas.InvalidRect();
  if (invalid.width <= 0 || invalid.height <= 0) return;
  canvas.FillRect(invalid, ResolveColour(values_.Number(wp::BackColor)));
}

void WindowControl::RequestClose() {
  platform::WindowHandle window = window_;
  EventNotice notice = Raise(window_event::CloseRequested);
  if (!platform::WindowExists(window)) return;
  if (notice.hasResult && notice.result == 0) return;
  notice = Raise(window_event::MayClose);
  if (!platform::WindowExists(window)) return;
  if (notice.hasResult && notice.result == 0) return;
  platform::DestroyNativeWindow(window);
}

void WindowControl::FocusArrived() {
  // Give the focus back to the control that had it last, else to the first of the order.
  auto controls = runtime_.ControlsOf(windowId_);
  for (const ControlView& view : controls) {
    if (view.storedIndex != 0 && view.controlId == lastFocused_ && view.live != nullptr &&
        platform::WindowExists(view.live->Window())) {
      platform::SetFocusTo(view.live->Window());
      return;
    }
  }
  auto order = KeyboardOrder(controls);
  if (!order.empty()) platform::SetFocusTo(order.front().live->Window());
}

std::intptr_t WindowControl::Handle(const platform::Message& message) {
  namespace msg = vocab::msg;
  platform::WindowHandle window = message.window;
  switch (message.id) {
    case msg::Move:
      Raise(window_event::Moved);
      break;
    case msg::Size:
      Raise(window_event::Resized);
      break;
    case msg::Activate:
      if (message.wParam == 0) {
        Raise(window_event::Deactivated);
        break;
      }
      if (!activatedBefore_) {
        activatedBefore_ = true;
        Raise(window_event::FirstActivated);
        if (!platform::WindowExists(window)) break;
      }
      Raise(window_event::Activated);
      break;
    case msg::ShowWindow:
      Raise(message.wParam != 0 ? window_event::Shown : window_event::Hidden);
      break;
    case msg::Paint:
      if (message.lParam != 0) Paint(*reinterpret_cast<platform::Canvas*>(message.lParam));
      break;
    case msg::Close:
      RequestClose();
      break;
    case msg::QueryEndSession: {
      EventNotice notice = Raise(window_event::MayClose);
      return notice.hasResult && notice.result == 0 ? 0 : 1;
    }
    case msg::Destroy:
      Raise(window_event::Destroying);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace pelmora
