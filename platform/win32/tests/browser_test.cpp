// The hosted WebBrowser control: creation, navigation to a local server, events with their
// Cancel output, and release. Wine's control fetches pages but renders nothing here, so
// navigation is checked by counting requests at the server.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/tests/local_http_server.h"
#include "platform/win32/tests/test_windows.h"

namespace pelmora::platform {
namespace {

using win32::ToHwnd;
using win32::testing::LocalHttpServer;
using win32::testing::MakeChild;
using win32::testing::MakeTopLevel;
using win32::testing::PumpFor;
using win32::testing::PumpUntil;
using win32::testing::RecordingProcedure;

struct RecordingEvents final : BrowserEvents {
  std::vector<std::string> beforeNavigate;
  std::vector<std::string> log;  // every event by name, in order
  std::string cancelWhenContaining = "\x01";
  std::function<void()> duringBeforeNavigate;

  bool OnBeforeNavigate(std::string_view url) override {
    beforeNavigate.emplace_back(url);
    log.push_back("before");
    if (duringBeforeNavigate) duringBeforeNavigate();
    return url.find(cancelWhenContaining) != std::string_view::npos;
  }
  void OnNavigateComplete(std::string_view) override { log.push_back("navigated"); }
  void OnDownloadBegin() override { log.push_back("download-begin"); }
  void OnProgressChange(std::int32_t, std::int32_t) override { log.push_back("progress"); }
  void OnDownloadComplete() override { log.push_back("download-complete"); }
  void OnDocumentComplete(std::string_view) override { log.push_back("document"); }
  void OnStatusTextChange(std::string_view) override { log.push_back("status"); }
  void OnTitleChange(std::string_view) override { log.push_back("title"); }
  void OnCommandStateChange(std::int32_t command, bool) override {
    log.push_back("command" + std::to_string(command));
  }
  bool OnNewWindow() override { return false; }
  bool Saw(const std::string& name) const {
    return std::find(log.begin(), log.end(), name) != log.end();
  }
};

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartComponentServices());
    ASSERT_TRUE(server_.Running());
    frame_ = MakeTopLevel(frameProcedure_, {50, 50, 420, 320});
    host_ = MakeChild(WindowClass::BrowserHost, frame_, hostProcedure_, {0, 0, 400, 280});
    ASSERT_NE(host_, WindowHandle::None);
    EnableControlContainment();
    browser_ = CreateBrowser(host_, events_);
    ASSERT_NE(browser_, nullptr);
  }
  void TearDown() override {
    browser_.reset();
    DestroyNativeWindow(frame_);
    PumpFor(20);
    StopComponentServices();
  }

  LocalHttpServer server_;
  RecordingProcedure frameProcedure_;
  RecordingProcedure hostProcedure_;
  RecordingEvents events_;
  WindowHandle frame_ = WindowHandle::None;
  WindowHandle host_ = WindowHandle::None;
  std::unique_ptr<Browser> browser_;
};

TEST_F(BrowserTest, IsAVisibleChildOfTheHostFillingItsClientArea) {
  ASSERT_TRUE(browser_->WindowExists());
  const HWND child = GetWindow(ToHwnd(host_), GW_CHILD);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetDlgCtrlID(child), 0xE900);
  EXPECT_TRUE(IsWindowVisible(child));
  browser_->FitTo(Size{300, 200});
  RECT rect{};
  GetWindowRect(child, &rect);
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);
}

TEST_F(BrowserTest, NavigateFetchesThePageAndReportsItsEvents) {
  const std::string address = server_.Address("/first");
  browser_->Navigate(address);
  EXPECT_TRUE(PumpUntil([&] { return server_.GetsOf("/first") >= 1; }, 15000))
      << "the server saw no GET /first";
  ASSERT_FALSE(events_.beforeNavigate.empty());
  EXPECT_EQ(events_.beforeNavigate.front(), address);
  EXPECT_EQ(server_.GetsOf("/first"), 1u);
  // What Wine's control reports for a page it fetches but cannot render: the download's
  // start and end, the back/forward command states and status texts, in that frame.
  EXPECT_TRUE(PumpUntil([&] { return events_.Saw("download-complete"); }, 5000));
  const auto at = [&](const std::string& name) {
    return std::find(events_.log.begin(), events_.log.end(), name) - events_.log.begin();
  };
  EXPECT_EQ(events_.log.front(), "before");
  EXPECT_LT(at("download-begin"), at("download-complete"));
  EXPECT_TRUE(events_.Saw("status"));
  EXPECT_TRUE(events_.Saw("command1") || events_.Saw("command2"));
}

TEST_F(BrowserTest, CancelledNavigationFetchesNothing) {
  events_.cancelWhenContaining = "/cancelled";
  browser_->Navigate(server_.Address("/cancelled"));
  // A later, allowed navigation shows the control went on working; the cancelled one never
  // reached the server.
  browser_->Navigate(server_.Address("/allowed"));
  EXPECT_TRUE(PumpUntil([&] { return server_.GetsOf("/allowed") >= 1; }, 15000));
  PumpFor(200);
  EXPECT_EQ(server_.GetsOf("/cancelled"), 0u);
  ASSERT_GE(events_.beforeNavigate.size(), 2u);
  EXPECT_EQ(events_.beforeNavigate[0], server_.Address("/cancelled"));
}

TEST_F(BrowserTest, AHandlerMayReleaseTheBrowserWhileItReportsAnEvent) {
  // The page view is destroyed with its window, and a handler may close the window.
  events_.duringBeforeNavigate = [&] { browser_.reset(); };
  browser_->Navigate(server_.Address("/gone"));
  PumpFor(300);
  EXPECT_EQ(browser_, nullptr);
  EXPECT_EQ(events_.beforeNavigate.size(), 1u);
  EXPECT_EQ(GetWindow(ToHwnd(host_), GW_CHILD), nullptr);
}

TEST_F(BrowserTest, ReleasedWhileItsHostIsBeingDestroyed) {
  // As the page view does it: the browser goes when its host hears of its destruction.
  hostProcedure_.answer = [&](const Message& m) -> std::intptr_t {
    if (m.id == vocab::msg::Destroy) browser_.reset();
    return 0;
  };
  browser_->Navigate(server_.Address("/closing"));
  DestroyNativeWindow(frame_);
  PumpFor(200);
  EXPECT_EQ(browser_, nullptr);
  EXPECT_FALSE(WindowExists(host_));
}

TEST_F(BrowserTest, SilentAndOfflineAreStoredInTheControl) {
  for (const bool value : {true, false}) {
    browser_->PutSilent(value);
    EXPECT_EQ(browser_->GetSilent(), value);
    browser_->PutOffline(value);
    EXPECT_EQ(browser_->GetOffline(), value);
  }
}

TEST_F(BrowserTest, ReleasingTheBrowserLeavesNothingInTheHost) {
  browser_.reset();
  PumpFor(20);
  EXPECT_EQ(GetWindow(ToHwnd(host_), GW_CHILD), nullptr);
  EXPECT_TRUE(WindowExists(host_));
}

TEST(BrowserCreation, FailsWithoutAHostWindow) {
  ASSERT_TRUE(StartComponentServices());
  RecordingEvents events;
  EXPECT_EQ(CreateBrowser(WindowHandle::None, events), nullptr);
  StopComponentServices();
}

}  // namespace
}  // namespace pelmora::platform
