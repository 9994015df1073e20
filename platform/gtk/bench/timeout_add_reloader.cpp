// The yardstick for the Linux program's reload rhythm: the same page in the same kind of view,
// reloaded by the plain GLib way of repeating something, g_timeout_add, which the back end's
// own timers (fixed deadlines, one GLib source) replaced. g_timeout_add counts each period
// from the moment the callback was dispatched, so every late dispatch pushes the rest of the
// rhythm back; the rhythm benchmark measures both programs side by side.
//
//   pelmora_timeout_add_reloader ADDRESS PERIOD_MS
//
// The window has the main window's size and the view the page view's, so both programs do the
// same drawing work.
#include <webkit2/webkit2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Reloader {
  WebKitWebView* view = nullptr;
  std::string address;
};

gboolean Reload(gpointer data) {
  auto* reloader = static_cast<Reloader*>(data);
  webkit_web_view_load_uri(reloader->view, reloader->address.c_str());
  return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ADDRESS PERIOD_MS\n", argv[0]);
    return 2;
  }
  char* end = nullptr;
  const unsigned long period = std::strtoul(argv[2], &end, 10);
  if (*end != '\0' || period == 0 || period > 0x7FFFFFFF) {
    std::fprintf(stderr, "%s: PERIOD_MS must be a whole number of milliseconds from 1\n", argv[0]);
    return 2;
  }
  gtk_init(&argc, &argv);

  Reloader reloader;
  reloader.address = argv[1];
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Timeout reloader");
  gtk_window_set_default_size(GTK_WINDOW(window), 602, 380);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), fixed);
  reloader.view = WEBKIT_WEB_VIEW(webkit_web_view_new());
  gtk_widget_set_size_request(GTK_WIDGET(reloader.view), 600, 304);
  gtk_fixed_put(GTK_FIXED(fixed), GTK_WIDGET(reloader.view), 0, 0);
  gtk_widget_show_all(window);

  // As the program does on a start: load once now, then once per period.
  Reload(&reloader);
  g_timeout_add(static_cast<guint>(period), Reload, &reloader);
  gtk_main();
  return 0;
}
