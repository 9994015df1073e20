// The message loop on GLib's main context, the quit request, and the modal error box.
#include <gtk/gtk.h>

#include <cstdio>
#include <vector>

#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::gtk {
namespace {

// Loops of RunMessageLoop, innermost last. The quit request ends the innermost one; it stays
// pending until a RunMessageLoop takes it, as a posted quit message stays in the queue.
std::vector<GMainLoop*> runningLoops;
bool quitPending = false;
int quitCode = 0;

}  // namespace
}  // namespace pelmora::gtk

namespace pelmora::platform {

int RunMessageLoop() {
  if (!gtk::quitPending) {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    gtk::runningLoops.push_back(loop);
    g_main_loop_run(loop);
    gtk::runningLoops.pop_back();
    g_main_loop_unref(loop);
  }
  gtk::quitPending = false;
  return gtk::quitCode;
}

void PumpWaitingMessages() {
  // Bounded, so that a source that is always ready cannot keep the caller here for good.
  for (int round = 0; round < 10000 && g_main_context_pending(nullptr); ++round) {
    g_main_context_iteration(nullptr, FALSE);
  }
}

void PostQuit(int exitCode) {
  gtk::quitPending = true;
  gtk::quitCode = exitCode;
  if (!gtk::runningLoops.empty()) g_main_loop_quit(gtk::runningLoops.back());
}

void ShowErrorBox(std::string_view caption, std::string_view text) {
  std::string captionUtf8 = platform::Cp936ToUtf8(caption);
  std::string textUtf8 = platform::Cp936ToUtf8(text);
  if (!gtk::GtkStarted()) {
    // No display to show a box on: the message still reaches the user.
    std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
    return;
  }
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                             GTK_BUTTONS_OK, "%s", textUtf8.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), captionUtf8.c_str());
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_widget_show_all(dialog);
  gtk_window_present(GTK_WINDOW(dialog));
  // gtk_dialog_run runs a nested loop: timers tick and windows paint meanwhile. Like the
  // system's message box, its loop does no pre-translation.
  gtk::ModalLoop modal;
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

}  // namespace pelmora::platform
