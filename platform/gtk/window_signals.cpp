#include "platform/gtk/window_signals.h"

#include <algorithm>

#include "platform/gtk/canvas.h"

namespace pelmora::gtk {
namespace {

namespace msg = vocab::msg;

WindowHandle HandleOf(gpointer data) { return static_cast<WindowHandle>(GPOINTER_TO_SIZE(data)); }
gpointer DataOf(WindowHandle handle) { return GSIZE_TO_POINTER(static_cast<std::uintptr_t>(handle)); }

gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  // The system does nothing of its own on a close request: the procedure decides.
  Deliver(HandleOf(data), msg::Close);
  return TRUE;
}

gboolean OnConfigureEvent(GtkWidget*, GdkEventConfigure* event, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr || window->destroying) return FALSE;
  WindowHandle handle = window->handle;
  platform::Rect now{event->x, event->y, event->width, event->height};
  platform::Rect before = window->bounds;
  window->bounds = now;
  if (now.left != before.left || now.top != before.top) {
    Deliver(handle, msg::Move, 0, PackWords(now.left, now.top));
  }
  if (now.width != before.width || now.height != before.height) {
    Deliver(handle, msg::Size, 0, PackWords(now.width, now.height));
  }
  return FALSE;
}

void OnActiveChanged(GObject* object, GParamSpec*, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr || window->destroying) return;
  bool active = gtk_window_is_active(GTK_WINDOW(object));
  if (active == window->active) return;
  window->active = active;
  WindowHandle handle = window->handle;
  if (!active) UpdateFocus();  // the focus leaves before the window is told it is inactive
  Deliver(handle, msg::Activate, active ? 1 : 0);
  if (active) UpdateFocus();
}

gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr) return FALSE;
  window->minimized = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
  window->maximized = (event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) != 0;
  return FALSE;
}

void OnFocusWidgetChanged(GtkWindow*, GtkWidget*, gpointer) { UpdateFocusSoon(); }

void OnRealized(GtkWidget*, gpointer data) {
  if (NativeWindow* window = Find(HandleOf(data))) ApplyWindowManagerHints(*window);
}

gboolean OnWidgetFocusChange(GtkWidget*, GdkEvent*, gpointer) {
  UpdateFocusSoon();
  return FALSE;
}

gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr || window->procedure == nullptr || window->destroying) return FALSE;
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  CairoCanvas canvas(cr, platform::Size{allocation.width, allocation.height});
  Deliver(window->handle, msg::Paint, 0, reinterpret_cast<std::intptr_t>(
                                             static_cast<platform::Canvas*>(&canvas)));
  return FALSE;
}

void OnClicked(GtkButton*, gpointer data) {
  // lParam names the control, as the system's notification does.
  Deliver(HandleOf(data), msg::ReflectedCommand, vocab::notify::ButtonClicked,
          static_cast<std::intptr_t>(HandleOf(data)));
}

void OnEntryChanged(GtkEditable*, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr || window->settingText || window->destroying) return;
  Deliver(window->handle, msg::ReflectedCommand, vocab::notify::EditChanged,
          static_cast<std::intptr_t>(window->handle));
}

// A widget destroyed by GTK rather than through DestroyNativeWindow (the application is torn
// down, a window manager kills it): the procedures still get their destroy sequence.
void OnWidgetDestroyed(GtkWidget*, gpointer data) {
  NativeWindow* window = Find(HandleOf(data));
  if (window == nullptr || window->destroying) return;
  window->widget = nullptr;
  window->client = nullptr;
  DestroyWindowTree(window->handle);
}

void SendDestroyMessages(WindowHandle handle, std::vector<WindowHandle>& order) {
  NativeWindow* window = Find(handle);
  if (window == nullptr || window->destroying) return;
  window->destroying = true;
  order.push_back(handle);
  StopTimersOf(handle);
  Deliver(handle, msg::Destroy);
  window = Find(handle);
  if (window == nullptr) return;
  std::vector<WindowHandle> children = window->children;
  for (WindowHandle child : children) SendDestroyMessages(child, order);
  // The final message: the procedure may free itself while handling it.
  Deliver(handle, msg::NcDestroy);
  if (NativeWindow* after = Find(handle); after != nullptr) after->procedure = nullptr;
}

}  // namespace

void ConnectWindowSignals(NativeWindow& window) {
  gpointer data = DataOf(window.handle);
  GtkWidget* widget = window.widget;
  if (widget == nullptr) return;
  g_signal_connect(widget, "destroy", G_CALLBACK(OnWidgetDestroyed), data);
  using platform::WindowClass;
  switch (window.windowClass) {
    case WindowClass::Frame:
      g_signal_connect(widget, "delete-event", G_CALLBACK(OnDeleteEvent), data);
      g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigureEvent), data);
      g_signal_connect(widget, "notify::is-active", G_CALLBACK(OnActiveChanged), data);
      g_signal_connect(widget, "window-state-event", G_CALLBACK(OnWindowState), data);
      g_signal_connect_after(widget, "set-focus", G_CALLBACK(OnFocusWidgetChanged), data);
      g_signal_connect_after(widget, "realize", G_CALLBACK(OnRealized), data);
      g_signal_connect(window.client, "draw", G_CALLBACK(OnDraw), data);
      break;
    case WindowClass::Label:
      g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), data);
      break;
    case WindowClass::Button:
      g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), data);
      g_signal_connect_after(widget, "focus-in-event", G_CALLBACK(OnWidgetFocusChange), data);
      g_signal_connect_after(widget, "focus-out-event", G_CALLBACK(OnWidgetFocusChange), data);
      break;
    case WindowClass::Edit:
      g_signal_connect(widget, "changed", G_CALLBACK(OnEntryChanged), data);
      g_signal_connect_after(widget, "focus-in-event", G_CALLBACK(OnWidgetFocusChange), data);
      g_signal_connect_after(widget, "focus-out-event", G_CALLBACK(OnWidgetFocusChange), data);
      break;
    default:
      break;
  }
}

void ApplyFrameStyles(NativeWindow& window) {
  if (window.windowClass != platform::WindowClass::Frame || window.widget == nullptr) return;
  namespace style = vocab::style;
  namespace exstyle = vocab::exstyle;
  GtkWindow* gtkWindow = GTK_WINDOW(window.widget);
  gtk_window_set_decorated(gtkWindow, (window.style & style::Caption) == style::Caption);
  gtk_window_set_resizable(gtkWindow, (window.style & style::ThickFrame) != 0);
  gtk_window_set_deletable(gtkWindow, (window.style & style::SystemMenu) != 0);
  gtk_window_set_keep_above(gtkWindow, (window.exStyle & exstyle::Topmost) != 0);
  // The type hint can only be chosen before the window is mapped.
  if (!gtk_widget_get_mapped(window.widget)) {
    GdkWindowTypeHint hint = GDK_WINDOW_TYPE_HINT_NORMAL;
    if ((window.exStyle & exstyle::ToolWindow) != 0) {
      hint = GDK_WINDOW_TYPE_HINT_UTILITY;
    } else if ((window.style & (style::MinimizeBox | style::MaximizeBox)) == 0) {
      hint = GDK_WINDOW_TYPE_HINT_DIALOG;
    }
    gtk_window_set_type_hint(gtkWindow, hint);
  }
  NativeWindow* owner = Find(window.owner);
  bool ownedByHidden =
      owner != nullptr && owner->windowClass == platform::WindowClass::HiddenOwner;
  gtk_window_set_skip_taskbar_hint(
      gtkWindow, ownedByHidden || (window.exStyle & exstyle::ToolWindow) != 0);
  GtkWindow* transientFor = nullptr;
  if (owner != nullptr && owner->windowClass == platform::WindowClass::Frame &&
      owner->widget != nullptr) {
    transientFor = GTK_WINDOW(owner->widget);
  }
  gtk_window_set_transient_for(gtkWindow, transientFor);
  ApplyFrameSize(window);
  ApplyWindowManagerHints(window);
}

void ApplyWindowManagerHints(NativeWindow& window) {
  if (window.windowClass != platform::WindowClass::Frame || window.widget == nullptr ||
      !gtk_widget_get_realized(window.widget)) {
    return;
  }
  namespace style = vocab::style;
  const std::uint32_t bits = window.style;
  int functions = 0;
  if ((bits & style::ThickFrame) != 0) functions |= GDK_FUNC_RESIZE;
  if (window.movable) functions |= GDK_FUNC_MOVE;
  if ((bits & style::MinimizeBox) != 0) functions |= GDK_FUNC_MINIMIZE;
  if ((bits & style::MaximizeBox) != 0) functions |= GDK_FUNC_MAXIMIZE;
  if ((bits & style::SystemMenu) != 0) functions |= GDK_FUNC_CLOSE;
  int decorations = 0;
  if ((bits & style::Caption) == style::Caption) {
    decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE;
    if ((bits & style::SystemMenu) != 0) decorations |= GDK_DECOR_MENU;
    if ((bits & style::MinimizeBox) != 0) decorations |= GDK_DECOR_MINIMIZE;
    if ((bits & style::MaximizeBox) != 0) decorations |= GDK_DECOR_MAXIMIZE;
    if ((bits & style::ThickFrame) != 0) decorations |= GDK_DECOR_RESIZEH;
  } else if ((bits & (style::Border | style::DialogFrame | style::ThickFrame)) != 0) {
    decorations = GDK_DECOR_BORDER;
  }
  GdkWindow* gdkWindow = gtk_widget_get_window(window.widget);
  gdk_window_set_functions(gdkWindow, static_cast<GdkWMFunction>(functions));
  gdk_window_set_decorations(gdkWindow, static_cast<GdkWMDecoration>(decorations));
}

void ApplyFrameSize(NativeWindow& window) {
  if (window.windowClass != platform::WindowClass::Frame || window.widget == nullptr) return;
  std::int32_t width = std::max(window.bounds.width, 1);
  std::int32_t height = std::max(window.bounds.height, 1);
  GtkWindow* gtkWindow = GTK_WINDOW(window.widget);
  if (gtk_window_get_resizable(gtkWindow)) {
    // The user may make it smaller than now: only the size, no minimum.
    gtk_widget_set_size_request(window.client, -1, -1);
    gtk_window_set_default_size(gtkWindow, width, height);
    gtk_window_resize(gtkWindow, width, height);
  } else {
    // A window that cannot be resized takes its content's request as its size.
    gtk_widget_set_size_request(window.client, width, height);
    gtk_window_resize(gtkWindow, width, height);
  }
}

void DestroyWindowTree(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  if (window == nullptr || window->destroying) return;
  WindowHandle parent = window->parent;
  GtkWidget* widget = window->widget;
  if (widget != nullptr) g_object_ref(widget);

  std::vector<WindowHandle> order;
  SendDestroyMessages(handle, order);

  if (NativeWindow* parentWindow = Find(parent); parentWindow != nullptr) {
    auto& siblings = parentWindow->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  }
  for (WindowHandle gone : order) {
    ForgetFocus(gone);
    Unregister(gone);
  }
  if (widget != nullptr) {
    gtk_widget_destroy(widget);
    g_object_unref(widget);
  }
  UpdateFocus();
}

}  // namespace pelmora::gtk
