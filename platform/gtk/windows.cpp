// Creating, destroying, placing and showing windows.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>

#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"
#include "platform/gtk/window_signals.h"

namespace pelmora::platform {
namespace {

using gtk::Find;
using gtk::NativeWindow;
namespace msg = vocab::msg;
namespace style = vocab::style;

// Input every widget of ours must receive, so that it can be offered to the run time.
constexpr gint kInputEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                              GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                              GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                              GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK;

GtkWidget* MakeWidget(NativeWindow& window, const WindowSpec& request) {
  std::string text = platform::Cp936ToUtf8(request.text);
  switch (request.windowClass) {
    case WindowClass::Frame: {
      GtkWidget* frame = gtk_window_new(GTK_WINDOW_TOPLEVEL);
      gtk_window_set_title(GTK_WINDOW(frame), text.c_str());
      window.client = gtk_fixed_new();
      gtk_widget_set_has_window(window.client, FALSE);
      gtk_container_add(GTK_CONTAINER(frame), window.client);
      gtk_widget_show(window.client);
      gtk_widget_set_app_paintable(frame, TRUE);
      gtk_window_move(GTK_WINDOW(frame), request.rect.left, request.rect.top);
      return frame;
    }
    case WindowClass::Edit: {
      GtkWidget* entry = gtk_entry_new();
      gtk_entry_set_width_chars(GTK_ENTRY(entry), 0);
      gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
      gtk_entry_set_has_frame(GTK_ENTRY(entry), TRUE);
      float alignment = 0.0f;
      if ((request.style & vocab::edit_style::Center) != 0) alignment = 0.5f;
      if ((request.style & vocab::edit_style::Right) != 0) alignment = 1.0f;
      gtk_entry_set_alignment(GTK_ENTRY(entry), alignment);
      gtk_editable_set_editable(GTK_EDITABLE(entry),
                                (request.style & vocab::edit_style::ReadOnly) == 0);
      if ((request.style & vocab::edit_style::Password) != 0) {
        gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
      }
      namespace es = vocab::edit_style;
      if ((request.style & (es::MultiLine | es::UpperCase | es::LowerCase)) != 0) {
        std::fprintf(stderr, "pelmora: this edit box is single-line and keeps the case typed; "
                             "multi-line and case-converting boxes are not available here\n");
      }
      gtk_style_context_add_class(gtk_widget_get_style_context(entry), "pelmora-control");
      return entry;
    }
    case WindowClass::Button: {
      GtkWidget* button = gtk_button_new_with_label(text.c_str());
      namespace bs = vocab::button_style;
      if (GtkWidget* label = gtk_bin_get_child(GTK_BIN(button)); GTK_IS_LABEL(label)) {
        // The system button clips a caption that does not fit; it never grows.
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        std::uint32_t horizontal = request.style & bs::Center;
        if (horizontal == bs::Left) gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
        if (horizontal == bs::Right) gtk_label_set_xalign(GTK_LABEL(label), 1.0f);
      }
      if ((request.style & (bs::Icon | bs::Bitmap)) != 0) {
        std::fprintf(stderr, "pelmora: buttons showing a picture are not available here; the "
                             "button shows its caption\n");
      }
      gtk_style_context_add_class(gtk_widget_get_style_context(button), "pelmora-control");
      return button;
    }
    case WindowClass::Label:
      return gtk_drawing_area_new();
    case WindowClass::BrowserHost: {
      GtkWidget* host = gtk_fixed_new();
      gtk_widget_set_has_window(host, TRUE);
      window.client = host;
      return host;
    }
    case WindowClass::TimerHost:
    case WindowClass::HiddenOwner:
      return nullptr;
  }
  return nullptr;
}

// The page's CSS: let the controls be as small as the description makes them.
void InstallControlStyleSheet() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider,
                                  ".pelmora-control { min-height: 0; min-width: 0; "
                                  "padding-top: 0; padding-bottom: 0; }"
                                  "button.pelmora-control { padding-left: 2px; "
                                  "padding-right: 2px; }",
                                  -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                            GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

void PutChildWidget(NativeWindow& parent, NativeWindow& child) {
  gtk_widget_add_events(child.widget, kInputEvents);
  gtk_fixed_put(GTK_FIXED(parent.client), child.widget, child.bounds.left, child.bounds.top);
  gtk_widget_set_size_request(child.widget, std::max(child.bounds.width, 0),
                              std::max(child.bounds.height, 0));
}

}  // namespace

WindowHandle CreateNativeWindow(const WindowSpec& request) {
  bool needsGtk = request.windowClass != WindowClass::TimerHost &&
                  request.windowClass != WindowClass::HiddenOwner;
  if (needsGtk && !gtk::GtkStarted()) {
    std::fprintf(stderr, "pelmora: no window can be made before GTK has started\n");
    return WindowHandle::None;
  }
  NativeWindow* parent = nullptr;
  if (request.parent != WindowHandle::None) {
    parent = Find(request.parent);
    if (parent == nullptr) return WindowHandle::None;
    if (needsGtk && parent->client == nullptr) {
      std::fprintf(stderr, "pelmora: this kind of window cannot hold child windows here\n");
      return WindowHandle::None;
    }
  }
  if (needsGtk) InstallControlStyleSheet();

  auto record = std::make_unique<NativeWindow>();
  record->windowClass = request.windowClass;
  record->procedure = request.procedure;
  record->style = request.style;
  record->exStyle = request.exStyle;
  record->parent = parent != nullptr ? request.parent : WindowHandle::None;
  record->owner = request.owner;
  record->childId = request.childId;
  record->text = std::string(request.text);
  record->bounds = request.rect;
  record->enabled = (request.style & style::Disabled) == 0;
  record->widget = MakeWidget(*record, request);
  NativeWindow& window = *record;
  WindowHandle handle = gtk::Register(std::move(record));

  if (window.widget != nullptr) {
    if (parent != nullptr) {
      PutChildWidget(*parent, window);
    } else {
      gtk_widget_add_events(window.widget, kInputEvents);
      gtk::ApplyFrameStyles(window);
    }
    if (window.client != nullptr && window.client != window.widget) {
      gtk_widget_add_events(window.client, kInputEvents);
    }
    gtk_widget_set_sensitive(window.widget, window.enabled);
    gtk::ConnectWindowSignals(window);
  }
  if (parent != nullptr) parent->children.insert(parent->children.begin(), handle);
  if ((request.style & style::Visible) != 0) ShowNativeWindow(handle, vocab::Show::ShowNoActivate);
  return handle;
}

void DestroyNativeWindow(WindowHandle window) { gtk::DestroyWindowTree(window); }

bool WindowExists(WindowHandle window) { return Find(window) != nullptr; }

WindowHandle ParentOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record == nullptr ? WindowHandle::None : record->parent;
}

void Reparent(WindowHandle window, WindowHandle newParent) {
  NativeWindow* record = Find(window);
  NativeWindow* target = Find(newParent);
  if (record == nullptr || target == nullptr || gtk::IsTopLevel(*record)) return;
  if (record->widget != nullptr && target->client == nullptr) {
    std::fprintf(stderr, "pelmora: this kind of window cannot hold child windows here\n");
    return;
  }
  if (NativeWindow* old = Find(record->parent); old != nullptr) {
    auto& siblings = old->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  }
  if (record->widget != nullptr) {
    g_object_ref(record->widget);
    if (GtkWidget* oldParent = gtk_widget_get_parent(record->widget); oldParent != nullptr) {
      gtk_container_remove(GTK_CONTAINER(oldParent), record->widget);
    }
    gtk_fixed_put(GTK_FIXED(target->client), record->widget, record->bounds.left,
                  record->bounds.top);
    g_object_unref(record->widget);
  }
  record->parent = newParent;
  target->children.insert(target->children.begin(), window);
}

void ShowNativeWindow(WindowHandle window, vocab::Show command) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  bool wasVisible = record->visible;
  bool show = command != vocab::Show::Hide;
  record->visible = show;
  if (wasVisible != show) gtk::Deliver(window, msg::ShowWindow, show ? 1 : 0);
  record = Find(window);
  if (record == nullptr || record->widget == nullptr) return;

  if (!gtk::IsTopLevel(*record)) {
    gtk_widget_set_visible(record->widget, show);
    return;
  }
  GtkWindow* gtkWindow = GTK_WINDOW(record->widget);
  switch (command) {
    case vocab::Show::Hide:
      gtk_widget_hide(record->widget);
      return;
    case vocab::Show::ShowMinimized:
      record->minimized = true;
      gtk_widget_show(record->widget);
      gtk_window_iconify(gtkWindow);
      return;
    case vocab::Show::ShowMaximized:
      record->maximized = true;
      record->minimized = false;
      gtk_widget_show(record->widget);
      gtk_window_maximize(gtkWindow);
      gtk_window_present(gtkWindow);
      return;
    case vocab::Show::Normal:
    case vocab::Show::Restore:
      record->minimized = false;
      record->maximized = false;
      gtk_window_deiconify(gtkWindow);
      gtk_window_unmaximize(gtkWindow);
      gtk_widget_show(record->widget);
      gtk_window_present(gtkWindow);
      return;
    case vocab::Show::Show:
      gtk_widget_show(record->widget);
      gtk_window_present(gtkWindow);
      return;
    case vocab::Show::ShowNoActivate:
      gtk_window_set_focus_on_map(gtkWindow, FALSE);
      gtk_widget_show(record->widget);
      gtk_window_set_focus_on_map(gtkWindow, TRUE);
      return;
  }
}

bool IsShown(WindowHandle window) {
  for (NativeWindow* record = Find(window); record != nullptr; record = Find(record->parent)) {
    if (!record->visible) return false;
    if (gtk::IsTopLevel(*record)) return true;
  }
  return false;
}

bool IsMinimized(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record != nullptr && record->minimized;
}

bool IsMaximized(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record != nullptr && record->maximized;
}

void EnableNativeWindow(WindowHandle window, bool enabled) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->enabled = enabled;
  if (record->widget != nullptr) gtk_widget_set_sensitive(record->widget, enabled);
}

bool IsEnabled(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record != nullptr && record->enabled;
}

// Top-level windows take the given size as the size of their GtkWindow (GTK leaves the frame
// around it to the window manager), so outer and client size are the same here.
void SetBounds(WindowHandle window, Rect bounds) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  Rect before = record->bounds;
  record->bounds = bounds;
  if (record->widget != nullptr) {
    if (gtk::IsTopLevel(*record)) {
      gtk_window_move(GTK_WINDOW(record->widget), bounds.left, bounds.top);
      gtk::ApplyFrameSize(*record);
    } else if (GtkWidget* parent = gtk_widget_get_parent(record->widget);
               parent != nullptr && GTK_IS_FIXED(parent)) {
      gtk_fixed_move(GTK_FIXED(parent), record->widget, bounds.left, bounds.top);
      gtk_widget_set_size_request(record->widget, std::max(bounds.width, 0),
                                  std::max(bounds.height, 0));
    }
  }
  if (bounds.left != before.left || bounds.top != before.top) {
    gtk::Deliver(window, msg::Move, 0, gtk::PackWords(bounds.left, bounds.top));
  }
  if (bounds.width != before.width || bounds.height != before.height) {
    gtk::Deliver(window, msg::Size, 0, gtk::PackWords(bounds.width, bounds.height));
  }
}

Rect BoundsOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record == nullptr ? Rect{} : record->bounds;
}

Size ClientSizeOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return {};
  return {record->bounds.width, record->bounds.height};
}

void SetStyles(WindowHandle window, std::uint32_t newStyle, std::uint32_t exStyle) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->style = newStyle;
  record->exStyle = exStyle;
  gtk::ApplyFrameStyles(*record);
}

std::uint32_t StyleOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return 0;
  // The state bits follow the window, as the system's do.
  std::uint32_t bits = record->style & ~(style::Visible | style::Disabled | style::Minimize |
                                         style::Maximize);
  if (record->visible) bits |= style::Visible;
  if (!record->enabled) bits |= style::Disabled;
  if (record->minimized) bits |= style::Minimize;
  if (record->maximized) bits |= style::Maximize;
  return bits;
}

std::uint32_t ExStyleOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  return record == nullptr ? 0 : record->exStyle;
}

void PlaceBelow(WindowHandle window, WindowHandle above) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  NativeWindow* parent = Find(record->parent);
  if (parent == nullptr) {
    // Top-level windows: the X server's stacking.
    NativeWindow* over = Find(above);
    if (record->widget == nullptr || !gtk_widget_get_realized(record->widget)) return;
    GdkWindow* gdkWindow = gtk_widget_get_window(record->widget);
    if (over == nullptr || over->widget == nullptr || !gtk_widget_get_realized(over->widget)) {
      gdk_window_raise(gdkWindow);
    } else {
      gdk_window_restack(gdkWindow, gtk_widget_get_window(over->widget), FALSE);
    }
    return;
  }
  auto& siblings = parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  auto at = std::find(siblings.begin(), siblings.end(), above);
  siblings.insert(at == siblings.end() || above == WindowHandle::None ? siblings.begin() : at + 1,
                  window);
  if (parent->client == nullptr) return;
  // GtkFixed paints its children in the order they were put, bottom first. Widgets not yet
  // realized (the loader orders them before showing) are put again in the new order; a
  // realized widget with a window of its own is restacked there.
  bool anyRealized = false;
  for (WindowHandle sibling : siblings) {
    NativeWindow* child = Find(sibling);
    if (child != nullptr && child->widget != nullptr && gtk_widget_get_realized(child->widget)) {
      anyRealized = true;
    }
  }
  if (!anyRealized) {
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
      NativeWindow* child = Find(*it);
      if (child == nullptr || child->widget == nullptr) continue;
      g_object_ref(child->widget);
      gtk_container_remove(GTK_CONTAINER(parent->client), child->widget);
      gtk_fixed_put(GTK_FIXED(parent->client), child->widget, child->bounds.left,
                    child->bounds.top);
      g_object_unref(child->widget);
    }
  } else if (record->widget != nullptr && gtk_widget_get_has_window(record->widget)) {
    gdk_window_raise(gtk_widget_get_window(record->widget));
  }
}

void SetTopmost(WindowHandle window, bool topmost) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  if (topmost) {
    record->exStyle |= vocab::exstyle::Topmost;
  } else {
    record->exStyle &= ~vocab::exstyle::Topmost;
  }
  if (record->widget != nullptr && gtk::IsTopLevel(*record)) {
    gtk_window_set_keep_above(GTK_WINDOW(record->widget), topmost);
  }
}

// The window manager is asked to offer no move function; a manager that ignores the Motif
// hints still moves the window.
void RemoveMoveCommand(WindowHandle window) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->movable = false;
  gtk::ApplyWindowManagerHints(*record);
}

void BeginTitleBarDrag(WindowHandle window) {
  NativeWindow* record = gtk::TopLevelOf(Find(window));
  if (record == nullptr || record->widget == nullptr) return;
  // The press that asks for the drag is still being offered, so GTK has no current event yet.
  GdkEvent* offered = gtk::InputEventBeingOffered();
  GdkEvent* event = offered != nullptr ? gdk_event_copy(offered) : gtk_get_current_event();
  gint button = 1;
  gdouble x = 0, y = 0;
  guint32 time = GDK_CURRENT_TIME;
  if (event != nullptr) {
    guint eventButton = 0;
    if (gdk_event_get_button(event, &eventButton)) button = static_cast<gint>(eventButton);
    gdk_event_get_root_coords(event, &x, &y);
    time = gdk_event_get_time(event);
    gdk_event_free(event);
  }
  gtk_window_begin_move_drag(GTK_WINDOW(record->widget), button, static_cast<gint>(x),
                             static_cast<gint>(y), time);
}

void Invalidate(WindowHandle window) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  if (GtkWidget* widget = record->client != nullptr ? record->client : record->widget) {
    gtk_widget_queue_draw(widget);
  }
}

std::intptr_t SendToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  return gtk::Deliver(window, message, wParam, lParam);
}

}  // namespace pelmora::platform
