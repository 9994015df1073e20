// Screen metrics and the help viewer.
#include <gtk/gtk.h>

#include <filesystem>
#include <string>

#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::platform {
namespace {

GdkMonitor* PrimaryMonitor() {
  if (!gtk::GtkStarted()) return nullptr;
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return nullptr;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  return monitor;
}

}  // namespace

Size ScreenSize() {
  GdkMonitor* monitor = PrimaryMonitor();
  if (monitor == nullptr) return {};
  GdkRectangle area;
  gdk_monitor_get_geometry(monitor, &area);
  return {area.width, area.height};
}

Rect WorkAreaNear(WindowHandle window) {
  GdkMonitor* monitor = PrimaryMonitor();
  if (monitor == nullptr) return {};
  gtk::NativeWindow* top = gtk::TopLevelOf(gtk::Find(window));
  if (top != nullptr && top->widget != nullptr && gtk_widget_get_realized(top->widget)) {
    monitor = gdk_display_get_monitor_at_window(gdk_display_get_default(),
                                                gtk_widget_get_window(top->widget));
  }
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  return {area.x, area.y, area.width, area.height};
}

// The system's 3-D edge is two pixels high; GTK themes draw their own frames.
std::int32_t EdgeHeight() { return 2; }

bool OpenHelp(std::string_view file, std::uint32_t context) {
  std::string path(file);
  std::error_code error;
  if (!std::filesystem::exists(path, error) || !gtk::GtkStarted()) return false;
  if (context != 0) {
    std::fprintf(stderr, "pelmora: the help viewer opens at the contents; context %u is not "
                         "supported here\n", context);
  }
  gchar* uri = g_filename_to_uri(std::filesystem::absolute(path, error).c_str(), nullptr, nullptr);
  if (uri == nullptr) return false;
  bool shown = gtk_show_uri_on_window(nullptr, uri, GDK_CURRENT_TIME, nullptr);
  g_free(uri);
  return shown;
}

// Nothing to enable: a web view is an ordinary widget.
void EnableControlContainment() {}

}  // namespace pelmora::platform
