// The web view behind the browser seam, on local pages.
#include <glib.h>
#include <glib/gstdio.h>

#include <gtk/gtk.h>

#include <fstream>
#include <memory>

#include "platform/gtk/native_window.h"
#include "platform/gtk/tests/live_fixture.h"

namespace pelmora::gtk::testing {
namespace {

class RecordingEvents final : public platform::BrowserEvents {
 public:
  explicit RecordingEvents(Log& log) : log_(log) {}
  std::string cancelAddress;
  bool OnBeforeNavigate(std::string_view url) override {
    log_.push_back("before " + std::string(url));
    return url == cancelAddress;
  }
  void OnNavigateComplete(std::string_view url) override {
    log_.push_back("navigated " + std::string(url));
  }
  void OnDownloadBegin() override { log_.push_back("download begin"); }
  void OnProgressChange(std::int32_t, std::int32_t) override {}
  void OnDownloadComplete() override { log_.push_back("download complete"); }
  void OnDocumentComplete(std::string_view url) override {
    log_.push_back("document " + std::string(url));
  }
  void OnStatusTextChange(std::string_view) override {}
  void OnTitleChange(std::string_view title) override {
    log_.push_back("title " + std::string(title));
  }
  void OnCommandStateChange(std::int32_t command, bool enabled) override {
    log_.push_back("command " + std::to_string(command) + (enabled ? " on" : " off"));
  }
  bool cancelNewWindow = true;
  bool OnNewWindow() override {
    log_.push_back("new window");
    return cancelNewWindow;
  }

 private:
  Log& log_;
};

class BrowserTest : public LiveTest {
 protected:
  void SetUp() override {
    char* folder = g_dir_make_tmp("pelmora-gtk-XXXXXX", nullptr);
    ASSERT_NE(folder, nullptr);
    folder_ = folder;
    g_free(folder);
    page_ = "file://" + WritePage("page.html", "<title>P1</title><body>one</body>");
    other_ = "file://" + WritePage("other.html", "<title>P2</title><body>two</body>");
  }
  void TearDown() override {
    g_remove((folder_ + "/page.html").c_str());
    g_remove((folder_ + "/other.html").c_str());
    g_rmdir(folder_.c_str());
    LiveTest::TearDown();
  }
  std::string WritePage(const std::string& name, const std::string& html) {
    std::string path = folder_ + "/" + name;
    std::ofstream(path) << html;
    return path;
  }
  static bool Has(const Log& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  // A frame whose browser host fills most of it, and the browser in that host, not shown yet;
  // the browser and then the frame go when this goes.
  struct BrowserInFrame {
    explicit BrowserInFrame(Log& log) : frameProcedure("frame", log), events(log) {}
    ~BrowserInFrame() {
      browser.reset();
      if (frame != WindowHandle::None) platform::DestroyNativeWindow(frame);
    }
    void Show() { platform::ShowNativeWindow(frame, vocab::Show::Show); }
    RecordingProcedure frameProcedure;
    RecordingEvents events;
    WindowHandle frame = WindowHandle::None;
    std::unique_ptr<platform::Browser> browser;
  };
  std::unique_ptr<BrowserInFrame> OpenBrowser(Log& log) {
    auto opened = std::make_unique<BrowserInFrame>(log);
    opened->frame = MakeFrame(&opened->frameProcedure, {100, 100, 400, 300});
    WindowHandle host =
        MakeChild(opened->frame, platform::WindowClass::BrowserHost, {0, 0, 400, 250}, nullptr);
    opened->browser = platform::CreateBrowser(host, opened->events);
    return opened;
  }
  std::string folder_, page_, other_;
};

TEST_F(BrowserTest, NavigationReportsItsStepsAndCanBeCancelled) {
  Log log;
  auto opened = OpenBrowser(log);
  ASSERT_NE(opened->browser, nullptr);
  opened->Show();
  platform::Browser* browser = opened->browser.get();
  RecordingEvents& events = opened->events;

  browser->Navigate(page_);
  ASSERT_TRUE(WaitFor([&] { return Has(log, "document " + page_); }, 20000));
  auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line); };
  EXPECT_LT(at("before " + page_), at("download begin"));
  EXPECT_LT(at("download begin"), at("navigated " + page_));
  EXPECT_LT(at("navigated " + page_), at("download complete"));
  EXPECT_LT(at("download complete"), at("document " + page_));
  EXPECT_TRUE(WaitFor([&] { return Has(log, "title P1"); }, 5000));
  EXPECT_EQ(browser->LocationUrl(), page_);
  EXPECT_EQ(browser->LocationName(), "P1");

  // Cancelled in its first event: the page stays where it was.
  log.clear();
  events.cancelAddress = other_;
  browser->Navigate(other_);
  ASSERT_TRUE(WaitFor([&] { return Has(log, "before " + other_); }, 5000));
  RunFor(500);
  EXPECT_FALSE(Has(log, "navigated " + other_));
  EXPECT_FALSE(Has(log, "document " + other_));
  EXPECT_EQ(browser->LocationUrl(), page_);
  EXPECT_FALSE(Has(log, "command 2 on"));

  // Let through, the second page gives the first one a place to go back to (command 2).
  log.clear();
  events.cancelAddress.clear();
  browser->Navigate(other_);
  ASSERT_TRUE(WaitFor([&] { return Has(log, "document " + other_); }, 20000));
  EXPECT_TRUE(WaitFor([&] { return Has(log, "command 2 on"); }, 5000));
  EXPECT_FALSE(Has(log, "command 1 on"));
  EXPECT_EQ(browser->LocationUrl(), other_);
}

TEST_F(BrowserTest, KeysTypedIntoThePageAreOfferedOnce) {
  Log log;
  RecordingProcedure frameProcedure("frame", log);
  RecordingFilter filter(log);
  WindowHandle frame = MakeFrame(&frameProcedure, {100, 100, 400, 300});
  WindowHandle host =
      MakeChild(frame, platform::WindowClass::BrowserHost, {0, 0, 400, 250}, nullptr);
  RecordingEvents events(log);
  std::unique_ptr<platform::Browser> browser = platform::CreateBrowser(host, events);
  browser->Navigate(page_);
  ASSERT_TRUE(ShowAndActivate(frame));
  ASSERT_TRUE(WaitFor([&] { return Has(log, "document " + page_) && Has(log, "title P1"); },
                      20000));
  browser->TakeFocus();
  WindowHandle page = platform::FocusedWindow();
  ASSERT_TRUE(WaitFor([&] {
    page = platform::FocusedWindow();
    return page != frame && page != WindowHandle::None;
  }));
  // The page's own window is a child of the host.
  EXPECT_EQ(platform::ParentOf(page), host);
  filter.Name(page, "page");
  platform::InstallMessageFilter(&filter);
  // How often GTK hands the key press to the top level: once from the display, and once more
  // when the page gives back a key it did not use.
  int pressesAtTopLevel = 0;
  g_signal_connect(Find(frame)->widget, "key-press-event",
                   G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer count) -> gboolean {
                     ++*static_cast<int*>(count);
                     return FALSE;
                   }),
                   &pressesAtTopLevel);
  log.clear();

  Xdotool("key q");
  ASSERT_TRUE(WaitFor([&] { return Has(log, "page KeyUp " + std::to_string('Q')); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return pressesAtTopLevel == 2; }, 3000))
      << "the page did not hand the key back; nothing to tell apart";
  RunFor(300);
  EXPECT_EQ(log, (Log{"page KeyDown " + std::to_string('Q'), "page Char 113",
                      "page KeyUp " + std::to_string('Q')}));
  browser.reset();
  platform::DestroyNativeWindow(frame);
}

// Silent keeps the page's own dialogs away: an alert no longer stops the page's script. Shown,
// the alert holds the script until the user answers it.
TEST_F(BrowserTest, SilentSuppressesThePagesDialogs) {
  for (bool silent : {true, false}) {
    SCOPED_TRACE(silent ? "silent" : "not silent");
    Log log;
    auto opened = OpenBrowser(log);
    platform::Browser* browser = opened->browser.get();
    browser->PutSilent(silent);
    EXPECT_EQ(browser->GetSilent(), silent);
    ASSERT_TRUE(ShowAndActivate(opened->frame));
    std::string alerting = "file://" + WritePage(
        "alert.html", "<title>before</title><script>alert('hi');document.title='after'</script>");
    browser->Navigate(alerting);
    // Committed comes before the page's script runs.
    ASSERT_TRUE(WaitFor([&] { return Has(log, "navigated " + alerting); }, 20000));
    bool ranOn = WaitFor([&] { return Has(log, "title after"); }, silent ? 10000 : 1500);
    EXPECT_EQ(ranOn, silent);
    if (!silent) {
      // The user answers the dialog: the page's script goes on.
      Xdotool("key Return");
      EXPECT_TRUE(WaitFor([&] { return Has(log, "title after"); }, 5000));
    }
    opened.reset();
    g_remove((folder_ + "/alert.html").c_str());
  }
}

// A page that raises alerts in an endless loop holds its web process: the next navigation
// still happens, shown dialogs or silent.
TEST_F(BrowserTest, APageLoopingInDialogsDoesNotStopTheNextNavigation) {
  for (bool silent : {false, true}) {
    SCOPED_TRACE(silent ? "silent" : "not silent");
    Log log;
    auto opened = OpenBrowser(log);
    platform::Browser* browser = opened->browser.get();
    browser->PutSilent(silent);
    opened->Show();
    std::string looping = "file://" + WritePage(
        "looping.html", "<script>for (var i = 0; ; ++i) alert('again ' + i);</script>");
    browser->Navigate(looping);
    ASSERT_TRUE(WaitFor([&] { return Has(log, "navigated " + looping); }, 20000));
    RunFor(300);  // the loop is under way
    browser->Navigate(page_);
    EXPECT_TRUE(WaitFor([&] { return Has(log, "navigated " + page_); }, 15000));
    // The fresh process runs the new page's script as usual.
    EXPECT_TRUE(WaitFor([&] { return Has(log, "title P1"); }, 10000));
    opened.reset();
    g_remove((folder_ + "/looping.html").c_str());
  }
}

// A page that opens a pop-up by script: the run time is asked, and only a window it lets
// through appears, as a top level of its own.
TEST_F(BrowserTest, APopUpOpensInItsOwnTopLevelUnlessCancelled) {
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancelled" : "let through");
    Log log;
    auto opened = OpenBrowser(log);
    opened->events.cancelNewWindow = cancel;
    platform::Browser* browser = opened->browser.get();
    WindowHandle frame = opened->frame;
    opened->Show();
    std::string opener =
        "file://" + WritePage("opener.html", "<script>window.open('" + other_ + "')</script>");
    auto topLevels = [] {
      GList* list = gtk_window_list_toplevels();
      int shown = 0;
      for (GList* at = list; at != nullptr; at = at->next) {
        if (gtk_widget_get_visible(GTK_WIDGET(at->data))) ++shown;
      }
      g_list_free(list);
      return shown;
    };
    const int before = topLevels();
    browser->Navigate(opener);
    ASSERT_TRUE(WaitFor([&] { return Has(log, "new window"); }, 20000));
    if (cancel) {
      RunFor(1000);
      EXPECT_EQ(topLevels(), before);
    } else {
      EXPECT_TRUE(WaitFor([&] { return topLevels() == before + 1; }, 10000));
      // The pop-up is the browser's own window, not the run time's: close it here.
      GList* list = gtk_window_list_toplevels();
      for (GList* at = list; at != nullptr; at = at->next) {
        GtkWidget* window = GTK_WIDGET(at->data);
        if (gtk_widget_get_visible(window) && Find(frame)->widget != window &&
            gtk_window_get_window_type(GTK_WINDOW(window)) == GTK_WINDOW_TOPLEVEL &&
            FindByWidget(window) == nullptr) {
          gtk_widget_destroy(window);
        }
      }
      g_list_free(list);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "new window"), 1);
    opened.reset();
    g_remove((folder_ + "/opener.html").c_str());
  }
}

}  // namespace
}  // namespace pelmora::gtk::testing
