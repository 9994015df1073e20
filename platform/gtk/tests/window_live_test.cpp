// Windows made on GTK: edit box texts and changes, and the destroy sequence.
#include <gtk/gtk.h>

#include "platform/gtk/native_window.h"
#include "platform/gtk/tests/live_fixture.h"

namespace pelmora::gtk::testing {
namespace {

TEST_F(LiveTest, SettingAnEditBoxTextReportsOneChangeEachTime) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure editProcedure("edit", log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 300, 200});
  WindowHandle edit = MakeChild(frame, platform::WindowClass::Edit, {10, 10, 200, 30},
                                &editProcedure, "5");
  const std::string address = "\xCD\xF8\xD6\xB7 http://x/";  // 网址 http://x/
  platform::SetText(edit, address);
  platform::SetText(edit, address);  // the same text again: reported again
  platform::SetText(edit, "");
  EXPECT_EQ(log, (Log{"edit Changed", "edit Changed", "edit Changed"}));
  platform::SetText(edit, address);
  EXPECT_EQ(platform::TextOf(edit), address);

  // The user's own typing reports too; a character code page 936 lacks reads back as '?'.
  log.clear();
  GtkEditable* entry = GTK_EDITABLE(Find(edit)->widget);
  gint position = 0;
  gtk_editable_insert_text(entry, "\xF0\x9F\x98\x80", -1, &position);
  EXPECT_EQ(log, (Log{"edit Changed"}));
  EXPECT_EQ(platform::TextOf(edit), "?" + address);
  platform::DestroyNativeWindow(frame);
}

TEST_F(LiveTest, DestroyReachesChildrenBeforeTheParentsFinalMessage) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingProcedure buttonProcedure("button", log);
  RecordingProcedure labelProcedure("label", log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 300, 200});
  WindowHandle button =
      MakeChild(frame, platform::WindowClass::Button, {10, 10, 80, 30}, &buttonProcedure);
  MakeChild(frame, platform::WindowClass::Label, {10, 50, 80, 30}, &labelProcedure);
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  // A procedure that looks at its window while it is destroyed still finds it.
  bool existedDuringDestroy = false;
  buttonProcedure.onMessage = [&](const platform::Message& m) {
    if (m.id == vocab::msg::Destroy) existedDuringDestroy = platform::WindowExists(m.window);
  };
  platform::DestroyNativeWindow(frame);
  EXPECT_EQ(log, (Log{"frame Destroy", "label Destroy", "label NcDestroy", "button Destroy",
                      "button NcDestroy", "frame NcDestroy"}));
  EXPECT_TRUE(existedDuringDestroy);
  EXPECT_FALSE(platform::WindowExists(frame));
  EXPECT_FALSE(platform::WindowExists(button));
  // Handles are never reused: the next window gets a new one.
  WindowHandle next = MakeFrame(&frameProcedure, {0, 0, 10, 10});
  EXPECT_GT(static_cast<std::uintptr_t>(next), static_cast<std::uintptr_t>(button));
  platform::DestroyNativeWindow(next);
}

}  // namespace
}  // namespace pelmora::gtk::testing
