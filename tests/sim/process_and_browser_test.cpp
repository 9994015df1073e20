// The process services of the simulated system and its recording browser.
#include <cstring>

#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using platform::WindowClass;
using platform::WindowHandle;

using ProcessTest = SimTest;

TEST_F(ProcessTest, OnlyTheNthAllocationFailsAndOnlyOnce) {
  FailNthAllocation(3);
  std::vector<void*> blocks;
  for (int i = 0; i < 5; ++i) blocks.push_back(platform::HeapAllocate(16));
  EXPECT_NE(blocks[0], nullptr);
  EXPECT_NE(blocks[1], nullptr);
  EXPECT_EQ(blocks[2], nullptr);
  EXPECT_NE(blocks[3], nullptr);
  EXPECT_NE(blocks[4], nullptr);
  for (void* block : blocks) platform::HeapRelease(block);

  FailNthAllocation(1);
  FailNthAllocation(0);  // cancelled
  void* block = platform::HeapAllocate(0);
  EXPECT_NE(block, nullptr);
  platform::HeapRelease(block);
}

TEST_F(ProcessTest, EndProcessThrowsTheExitCode) {
  for (int code : {0, -1, 3}) {
    try {
      platform::EndProcess(code);
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.exitCode, code);
    }
  }
}

TEST_F(ProcessTest, StartUpServicesAreRecordedAndCanFail) {
  EXPECT_FALSE(ErrorModeWidened());
  platform::WidenErrorMode();
  EXPECT_TRUE(ErrorModeWidened());

  EXPECT_TRUE(platform::StartComponentServices());
  EXPECT_TRUE(ComponentServicesRunning());
  platform::StopComponentServices();
  EXPECT_FALSE(ComponentServicesRunning());
  FailComponentServices(true);
  EXPECT_FALSE(platform::StartComponentServices());
  EXPECT_FALSE(ComponentServicesRunning());
}

TEST_F(ProcessTest, ProgramPathAndWorkingDirectory) {
  EXPECT_EQ(platform::ProgramPath(), "C:\\Pelmora\\pelmora.exe");
  EXPECT_EQ(platform::PathSeparator(), '\\');
  SetProgramPath("D:\\x\\y.exe");
  EXPECT_EQ(platform::ProgramPath(), "D:\\x\\y.exe");
  EXPECT_TRUE(platform::ChangeDirectory("D:\\x"));
  EXPECT_EQ(platform::WorkingDirectory(), "D:\\x");
  EXPECT_FALSE(platform::ChangeDirectory(""));
  EXPECT_EQ(platform::WorkingDirectory(), "D:\\x");
  Reset();
  EXPECT_EQ(platform::ProgramPath(), "C:\\Pelmora\\pelmora.exe");
}

TEST_F(ProcessTest, TextIsMeasuredBySizeOfTheFont) {
  EXPECT_EQ(platform::MeasureText({}, "W"), (platform::Size{6, 13}));
  platform::FontSpec font;
  font.logFont.emplace();
  font.logFont->fill(0);
  const std::int32_t height = -16;  // a character height, as fonts store it
  std::memcpy(font.logFont->data(), &height, sizeof height);
  EXPECT_EQ(platform::MeasureText(font, "abc"), (platform::Size{18, 16}));
}

// Records the browser's events; cancels what it is told to.
class Events : public platform::BrowserEvents {
 public:
  bool OnBeforeNavigate(std::string_view url) override {
    log.push_back("before " + std::string(url));
    return cancelNavigation;
  }
  void OnNavigateComplete(std::string_view url) override {
    log.push_back("complete " + std::string(url));
  }
  void OnDownloadBegin() override { log.push_back("download begin"); }
  void OnProgressChange(std::int32_t progress, std::int32_t maximum) override {
    log.push_back("progress " + std::to_string(progress) + "/" + std::to_string(maximum));
  }
  void OnDownloadComplete() override { log.push_back("download complete"); }
  void OnDocumentComplete(std::string_view url) override {
    log.push_back("document " + std::string(url));
  }
  void OnStatusTextChange(std::string_view text) override {
    log.push_back("status " + std::string(text));
  }
  void OnTitleChange(std::string_view title) override {
    log.push_back("title " + std::string(title));
  }
  void OnCommandStateChange(std::int32_t command, bool enabled) override {
    log.push_back("command " + std::to_string(command) + (enabled ? " on" : " off"));
  }
  bool OnNewWindow() override {
    log.push_back("new window");
    return true;
  }

  std::vector<std::string> log;
  bool cancelNavigation = false;
};

class BrowserTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    frame = Frame(frameProcedure);
    platform::WindowSpec request;
    request.windowClass = WindowClass::BrowserHost;
    request.style = vocab::style::Child | vocab::style::Visible;
    request.exStyle = vocab::exstyle::ClientEdge;
    request.rect = {0, 0, 200, 100};
    request.parent = frame;
    request.procedure = &hostProcedure;
    host = platform::CreateNativeWindow(request);
  }

  Recorder& frameProcedure = Procedure("frame");
  Recorder& hostProcedure = Procedure("host");
  WindowHandle frame{};
  WindowHandle host{};
  Events events;
};

TEST_F(BrowserTest, TheBrowserRecordsWhatItIsAskedAndLivesAsLongAsItsObject) {
  std::vector<std::string> observed;
  Observer observer;
  observer.navigated = [&](WindowHandle where, std::string_view url) {
    observed.push_back((where == host ? "host " : "elsewhere ") + std::string(url));
  };
  SetObserver(observer);
  auto browser = platform::CreateBrowser(host, events);
  ASSERT_NE(browser, nullptr);
  BrowserRecord* record = BrowserIn(host);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->size, (platform::Size{196, 96}));  // the host's client area

  browser->Navigate("http://a/");
  browser->Navigate("http://a/");
  browser->Zoom(4);
  browser->PutSilent(true);
  EXPECT_THAT(record->navigations, ElementsAre("http://a/", "http://a/"));
  EXPECT_THAT(record->zooms, ElementsAre(4));
  EXPECT_TRUE(browser->GetSilent());
  EXPECT_FALSE(browser->GetOffline());
  EXPECT_THAT(observed, ElementsAre("host http://a/", "host http://a/"));
  EXPECT_TRUE(events.log.empty());  // navigating fires nothing by itself
  EXPECT_TRUE(browser->WindowExists());

  browser.reset();
  EXPECT_EQ(BrowserIn(host), nullptr);
}

TEST_F(BrowserTest, FiredEventsReachTheSinkAndReturnItsCancelAnswer) {
  auto browser = platform::CreateBrowser(host, events);
  ASSERT_NE(browser, nullptr);
  events.cancelNavigation = true;
  EXPECT_TRUE(FireBeforeNavigate(host, "http://x/"));
  events.cancelNavigation = false;
  EXPECT_FALSE(FireBeforeNavigate(host, "http://y/"));
  FireNavigateComplete(host, "http://y/");
  FireTitleChange(host, "Y");
  FireCommandStateChange(host, 2, true);
  EXPECT_TRUE(FireNewWindow(host));
  EXPECT_THAT(events.log, ElementsAre("before http://x/", "before http://y/", "complete http://y/",
                                      "title Y", "command 2 on", "new window"));
  EXPECT_EQ(browser->LocationUrl(), "http://y/");
  EXPECT_EQ(browser->LocationName(), "Y");
}

TEST_F(BrowserTest, ABrowserFaultGivesNoBrowserAndLeavesNoRecord) {
  for (BrowserFault fault : {BrowserFault::CannotCreate, BrowserFault::NoAutomationInterface}) {
    FailBrowser(fault);
    EXPECT_EQ(platform::CreateBrowser(host, events), nullptr);
    EXPECT_EQ(BrowserIn(host), nullptr);
  }
  FailBrowser(BrowserFault::None);
  EXPECT_NE(platform::CreateBrowser(host, events), nullptr);
}

TEST_F(BrowserTest, AClickFocusesTheHostAndLosingTheFocusUnfocusesTheBrowser) {
  auto browser = platform::CreateBrowser(host, events);
  hostProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::SetFocus) browser->TakeFocus();
    return 0;
  };
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  Click(host);
  EXPECT_EQ(platform::FocusedWindow(), host);
  EXPECT_TRUE(BrowserIn(host)->focused);
  platform::SetFocusTo(frame);
  EXPECT_FALSE(BrowserIn(host)->focused);
}

}  // namespace
}  // namespace pelmora::sim::testing
