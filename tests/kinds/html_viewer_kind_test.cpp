// The HTML viewer kind on the simulated platform: a loaded window with one viewer, its events
// bound to recording handlers, driven through the sim's recording browser.
#include "runtime/kinds/html_viewer_kind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim.h"
#include "runtime/kinds/html_viewer_block.h"
#include "runtime/runtime_texts.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

namespace hv = html_viewer;

constexpr WindowId kWindow = 0x52010001;
constexpr ControlId kWindowControl = 0x06010000;
constexpr ControlId kViewer = 0x16010003;

// The program's own block: version 1, text size 2, online, not silent, no address.
std::vector<std::uint8_t> ProgramBlock() { return WriteHtmlViewerBlock({}); }

struct Raised {
  EventNumber event;
  std::vector<std::uint32_t> arguments;
  friend bool operator==(const Raised&, const Raised&) = default;
};

using Binding = std::pair<EventNumber, std::uint32_t>;  // event, handler reference
// Events 0 to 7 on handlers 1 to 8.
std::vector<Binding> FirstEightEvents() {
  std::vector<Binding> bindings;
  for (EventNumber event = 0; event < 8; ++event) {
    bindings.emplace_back(event, static_cast<std::uint32_t>(event + 1));
  }
  return bindings;
}

class HtmlViewerKindTest : public RuntimeTest {
 protected:
  void LoadViewer(std::vector<std::uint8_t> block = ProgramBlock(),
                  std::vector<Binding> bindings = FirstEightEvents()) {
    eventOf.clear();
    raised.clear();
    auto viewer = ControlBuilder(kViewer, kind_ids::HtmlViewer)
                      .Name("\xB3\xAC\xCE\xC4\xB1\xBE\xE4\xAF\xC0\xC0\xBF\xF2\x31")  // 超文本浏览框1
                      .At(0, 0, 600, 304)
                      .Flags(state_flag::Visible | state_flag::TabStop)
                      .KindBlock(std::move(block));
    for (const auto& [event, reference] : bindings) {
      viewer.Bind(event, reference);
      eventOf[reference] = event;
    }
    onHandler = [this](std::uint32_t reference, Runtime& r,
                       std::span<const std::uint32_t> arguments) {
      const EventNumber event = eventOf.at(reference);
      raised.push_back({event, {arguments.begin(), arguments.end()}});
      return onEvent ? onEvent(event, r) : HandlerResult{};
    };
    Load({WindowOf(kWindow, {ControlBuilder(kWindowControl, kind_ids::Window).At(0, 0, 640, 400),
                             viewer})},
         {&windowKind, &HtmlViewerKind()});
    host = NativeWindowOf(kWindow, kViewer);
    frame = NativeWindowOf(kWindow, kWindowControl);
  }

  sim::BrowserRecord& Browser() {
    sim::BrowserRecord* record = sim::BrowserIn(host);
    EXPECT_NE(record, nullptr);
    static sim::BrowserRecord none;
    return record != nullptr ? *record : none;
  }

  void WriteText(PropertyNumber property, const char* text) {
    runtime->WriteProperty(kWindow, kViewer, property, -1, reinterpret_cast<std::uintptr_t>(text),
                           0);
  }
  void WriteNumber(PropertyNumber property, std::uint32_t low) {
    runtime->WriteProperty(kWindow, kViewer, property, -1, low, 0);
  }
  // nullopt for the null text.
  std::optional<std::string> ReadText(PropertyNumber property) {
    return TextOf(*runtime, property);
  }
  static std::optional<std::string> TextOf(Runtime& r, PropertyNumber property) {
    const auto words = r.ReadProperty(kWindow, kViewer, property);
    const auto* text = reinterpret_cast<const char*>(words.low);
    if (text == nullptr) return std::nullopt;
    std::string copy = text;
    r.FreeValue(text);
    return copy;
  }
  std::int32_t ReadNumber(PropertyNumber property) {
    return static_cast<std::int32_t>(runtime->ReadProperty(kWindow, kViewer, property).low);
  }

  std::map<std::uint32_t, EventNumber> eventOf;
  std::vector<Raised> raised;
  std::function<HandlerResult(EventNumber, Runtime&)> onEvent;
  platform::WindowHandle host = platform::WindowHandle::None;
  platform::WindowHandle frame = platform::WindowHandle::None;
};

// ---- Creation ---------------------------------------------------------------------------------

TEST_F(HtmlViewerKindTest, HostWindowHoldsTheBrowserFillingIt) {
  LoadViewer();
  const auto info = sim::Inspect(host);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->windowClass, platform::WindowClass::BrowserHost);
  EXPECT_EQ(info->parent, frame);
  EXPECT_EQ(info->bounds, (platform::Rect{0, 0, 600, 304}));
  const std::uint32_t style = vocab::style::Child | vocab::style::ClipSiblings |
                              vocab::style::TabStop;
  EXPECT_EQ(info->style & style, style);
  EXPECT_TRUE(info->visible);
  EXPECT_TRUE(sim::ControlContainmentEnabled());
  EXPECT_EQ(Browser().size, platform::ClientSizeOf(host));
}

struct CreationCase {
  std::string name;
  std::vector<std::uint8_t> block;
  std::vector<std::int32_t> zooms;
  bool offline;
  bool silent;
  std::vector<std::string> navigations;
  std::int32_t textSizeReadBack;
};

TEST_F(HtmlViewerKindTest, StoredValuesAreAppliedAtCreation) {
  const std::vector<CreationCase> cases = {
      {"no block", {}, {2}, false, false, {}, 2},
      {"the program's block loads no page", ProgramBlock(), {2}, false, false, {}, 2},
      {"every field set", WriteHtmlViewerBlock({3, 1, 5, "http://start/"}), {3}, true, true,
       {"http://start/"}, 3},
      {"a level above 4 is applied clamped and kept", WriteHtmlViewerBlock({9, 0, 0, ""}), {4},
       false, false, {}, 9},
      {"a negative level is applied clamped and kept", WriteHtmlViewerBlock({-3, 0, 0, ""}),
       {0}, false, false, {}, -3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    LoadViewer(c.block);
    EXPECT_EQ(Browser().zooms, c.zooms);
    EXPECT_EQ(Browser().offline, c.offline);
    EXPECT_EQ(Browser().silent, c.silent);
    EXPECT_EQ(Browser().navigations, c.navigations);
    EXPECT_EQ(ReadNumber(hv::TextSize), c.textSizeReadBack);
  }
}

TEST_F(HtmlViewerKindTest, FailedCreationFailsTheLoadAndLeavesNoHost) {
  auto version2 = ProgramBlock();
  version2[0] = 2;
  auto truncated = WriteHtmlViewerBlock({2, 0, 0, "http://x/"});
  truncated.pop_back();
  const std::vector<std::pair<std::string, std::function<void()>>> faults = {
      {"host window refused", [] { sim::FailWindowClass(platform::WindowClass::BrowserHost); }},
      {"browser cannot be created", [] { sim::FailBrowser(sim::BrowserFault::CannotCreate); }},
      {"browser without its interface",
       [] { sim::FailBrowser(sim::BrowserFault::NoAutomationInterface); }},
  };
  const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> badBlocks = {
      {"block version 2", version2},
      {"block ends inside the address", truncated},
  };
  const auto noHostLeft = [] {
    std::vector<platform::WindowHandle> pending = sim::TopLevelWindows();
    while (!pending.empty()) {
      const auto window = pending.back();
      pending.pop_back();
      const auto info = sim::Inspect(window);
      if (info && info->windowClass == platform::WindowClass::BrowserHost) return false;
      for (auto child : sim::ChildrenOf(window)) pending.push_back(child);
    }
    return true;
  };
  for (const auto& [name, fault] : faults) {
    SCOPED_TRACE(name);
    TearDown();
    SetUp();
    fault();
    ExpectRuntimeError([this] { LoadViewer(); }, runtime_text::kStartupWindowFailed);
    EXPECT_TRUE(noHostLeft());
  }
  for (const auto& [name, block] : badBlocks) {
    SCOPED_TRACE(name);
    TearDown();
    SetUp();
    ExpectRuntimeError([this, block = block] { LoadViewer(block); },
                       runtime_text::kStartupWindowFailed);
    EXPECT_TRUE(noHostLeft());
  }
}

// ---- Properties --------------------------------------------------------------------------------

TEST_F(HtmlViewerKindTest, EveryAddressWriteNavigatesWithTheTextUnchanged) {
  LoadViewer();
  // 你好 in code page 936
  const char* chinese = "http://example.org/\xC4\xE3\xBA\xC3";
  WriteText(hv::Address, "http://example.org/");
  WriteText(hv::Address, "http://example.org/");
  WriteText(hv::Address, "");
  WriteText(hv::Address, nullptr);
  WriteText(hv::Address, chinese);
  EXPECT_EQ(Browser().navigations,
            (std::vector<std::string>{"http://example.org/", "http://example.org/", "", "",
                                      chinese}));
}

TEST_F(HtmlViewerKindTest, AddressReadOutsideEventsAsksTheBrowser) {
  LoadViewer(WriteHtmlViewerBlock({2, 0, 0, "http://start/"}));
  Browser().locationUrl = "http://shown/";
  WriteText(hv::Address, "http://next/");
  // The navigation has not progressed: the browser still shows the previous page.
  EXPECT_EQ(ReadText(hv::Address), "http://shown/");
  Browser().locationUrl = "";
  EXPECT_EQ(ReadText(hv::Address), std::nullopt);
  Browser().locationName = "Shown page";
  EXPECT_EQ(ReadText(hv::PageTitle), "Shown page");
}

struct TextSizeCase {
  std::uint32_t written;
  std::int32_t readBack;
};

TEST_F(HtmlViewerKindTest, TextSizeIsClampedStoredAndZoomedOnEveryWrite) {
  LoadViewer();
  const TextSizeCase cases[] = {
      {7, 4}, {4, 4}, {0, 0}, {3, 3}, {0xFFFFFFFFu, 0}, {0x80000000u, 0}, {1, 1}, {1, 1},
  };
  std::vector<std::int32_t> zooms = Browser().zooms;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "written " << c.written);
    WriteNumber(hv::TextSize, c.written);
    EXPECT_EQ(ReadNumber(hv::TextSize), c.readBack);
    zooms.push_back(c.readBack);
    EXPECT_EQ(Browser().zooms, zooms);
  }
}

TEST_F(HtmlViewerKindTest, OfflineAndSilentAreStoredPassedOnAndReadFromTheBrowser) {
  LoadViewer();
  const std::vector<std::pair<PropertyNumber, bool sim::BrowserRecord::*>> flags = {
      {hv::Offline, &sim::BrowserRecord::offline},
      {hv::Silent, &sim::BrowserRecord::silent},
  };
  for (const auto& [property, field] : flags) {
    SCOPED_TRACE(property);
    WriteNumber(property, 2);
    EXPECT_TRUE(Browser().*field);
    EXPECT_EQ(ReadNumber(property), 1);
    // A read asks the browser, not the stored value.
    Browser().*field = false;
    EXPECT_EQ(ReadNumber(property), 0);
    Browser().*field = true;
    WriteNumber(property, 0);
    EXPECT_FALSE(Browser().*field);
    EXPECT_EQ(ReadNumber(property), 0);
  }
}

TEST_F(HtmlViewerKindTest, ReportingPropertiesIgnoreWrites) {
  LoadViewer();
  sim::FireStatusTextChange(host, "Done");
  Browser().locationName = "Title";
  const auto navigations = Browser().navigations;
  const auto zooms = Browser().zooms;
  WriteText(hv::StatusText, "written status");
  WriteText(hv::PageTitle, "written title");
  WriteNumber(hv::DesignerPreview, 1);
  EXPECT_EQ(ReadText(hv::StatusText), "Done");
  EXPECT_EQ(ReadText(hv::PageTitle), "Title");
  EXPECT_EQ(ReadNumber(hv::DesignerPreview), 0);
  EXPECT_EQ(Browser().navigations, navigations);
  EXPECT_EQ(Browser().zooms, zooms);
}

TEST_F(HtmlViewerKindTest, SavedBlockHoldsTheCurrentValues) {
  LoadViewer();
  WriteNumber(hv::TextSize, 9);
  WriteNumber(hv::Offline, 1);
  WriteText(hv::Address, "http://saved/");
  LiveControl* live = nullptr;
  for (const auto& view : runtime->ControlsOf(kWindow)) {
    if (view.controlId == kViewer) live = view.live;
  }
  ASSERT_NE(live, nullptr);
  const auto block = ReadHtmlViewerBlock(HtmlViewerKind().SaveKindPropertyBlock(*live));
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(block->textSize, 4);
  EXPECT_EQ(block->offline, 1u);
  EXPECT_EQ(block->silent, 0u);
  EXPECT_EQ(block->address, "http://saved/");
}

// ---- Events ------------------------------------------------------------------------------------

struct NavigationEventCase {
  std::string name;
  EventNumber event;
  std::function<void(platform::WindowHandle, std::string_view)> fire;
};

std::vector<NavigationEventCase> NavigationEvents() {
  return {
      {"NavigationStarting", hv::NavigationStarting,
       [](auto host, auto url) { sim::FireBeforeNavigate(host, url); }},
      {"NavigationDone", hv::NavigationDone,
       [](auto host, auto url) { sim::FireNavigateComplete(host, url); }},
      {"DocumentDone", hv::DocumentDone,
       [](auto host, auto url) { sim::FireDocumentComplete(host, url); }},
  };
}

TEST_F(HtmlViewerKindTest, AddressInsideNavigationEventsIsTheEventsAddress) {
  LoadViewer();
  for (const auto& c : NavigationEvents()) {
    SCOPED_TRACE(c.name);
    raised.clear();
    Browser().locationUrl = "http://shown/";
    std::optional<std::string> readInside;
    onEvent = [&](EventNumber event, Runtime& r) {
      if (event == c.event) readInside = TextOf(r, hv::Address);
      return HandlerResult{};
    };
    c.fire(host, "http://target/");
    EXPECT_EQ(raised, (std::vector<Raised>{{c.event, {}}}));
    EXPECT_EQ(readInside, "http://target/");
    // Outside the event the browser's location counts again.
    Browser().locationUrl = "http://after/";
    EXPECT_EQ(ReadText(hv::Address), "http://after/");
  }
}

TEST_F(HtmlViewerKindTest, TitleAndStatusTextDuringTheirEvents) {
  LoadViewer();
  Browser().locationName = "Old title";
  std::optional<std::string> titleInside, statusInside;
  onEvent = [&](EventNumber event, Runtime& r) {
    if (event == hv::TitleChanged) titleInside = TextOf(r, hv::PageTitle);
    if (event == hv::StatusTextChanged) statusInside = TextOf(r, hv::StatusText);
    return HandlerResult{};
  };
  sim::FireTitleChange(host, "New title");
  sim::FireStatusTextChange(host, "Loading");
  EXPECT_EQ(raised, (std::vector<Raised>{{hv::TitleChanged, {}}, {hv::StatusTextChanged, {}}}));
  EXPECT_EQ(titleInside, "New title");
  EXPECT_EQ(statusInside, "Loading");
  Browser().locationName = "Asked afterwards";
  EXPECT_EQ(ReadText(hv::PageTitle), "Asked afterwards");
  EXPECT_EQ(ReadText(hv::StatusText), "Loading");  // kept until the next status text
}

TEST_F(HtmlViewerKindTest, NestedNavigationEventEndsTheOuterOnesAddressToo) {
  LoadViewer();
  Browser().locationUrl = "http://shown/";
  std::vector<std::optional<std::string>> reads;
  onEvent = [&](EventNumber event, Runtime& r) {
    if (event == hv::NavigationStarting) {
      reads.push_back(TextOf(r, hv::Address));
      sim::FireDocumentComplete(host, "http://inner/");
      reads.push_back(TextOf(r, hv::Address));
    }
    return HandlerResult{};
  };
  sim::FireBeforeNavigate(host, "http://outer/");
  EXPECT_EQ(reads, (std::vector<std::optional<std::string>>{"http://outer/", "http://shown/"}));
}

TEST_F(HtmlViewerKindTest, EventsWithoutStateAreRaisedWithTheirArguments) {
  LoadViewer(ProgramBlock(), {{hv::DownloadStarted, 1},
                              {hv::ProgressChanged, 2},
                              {hv::DownloadFinished, 3},
                              {hv::BackForwardChanged, 4}});
  sim::FireDownloadBegin(host);
  sim::FireProgressChange(host, 50, 200);
  sim::FireProgressChange(host, 2, 3);
  sim::FireProgressChange(host, 5, 0);    // nothing left to load
  sim::FireProgressChange(host, -1, 100);
  sim::FireCommandStateChange(host, hv::BackCommand, true);
  sim::FireCommandStateChange(host, hv::ForwardCommand, false);
  sim::FireCommandStateChange(host, -1, true);  // "update all": no event
  sim::FireCommandStateChange(host, 3, true);
  sim::FireCommandStateChange(host, 0, true);
  sim::FireDownloadComplete(host);
  EXPECT_EQ(raised, (std::vector<Raised>{
                        {hv::DownloadStarted, {}},
                        {hv::ProgressChanged, {25}},
                        {hv::ProgressChanged, {67}},
                        {hv::ProgressChanged, {100}},
                        {hv::ProgressChanged, {0xFFFFFFFFu}},
                        {hv::BackForwardChanged, {1, 1}},
                        {hv::BackForwardChanged, {0, 0}},
                        {hv::DownloadFinished, {}},
                    }));
}

struct CancelCase {
  std::string name;
  bool bound;
  HandlerResult result;
  bool cancelled;
};

TEST_F(HtmlViewerKindTest, OnlyAHandlerReturningFalseCancels) {
  const std::vector<CancelCase> cases = {
      {"no handler bound", false, std::nullopt, false},
      {"handler returns nothing", true, std::nullopt, false},
      {"handler returns true", true, 1u, false},
      {"handler returns 2", true, 2u, false},
      {"handler returns false", true, 0u, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    std::vector<Binding> bindings;
    if (c.bound) bindings = {{hv::NavigationStarting, 1}, {hv::NewWindowRequested, 2}};
    LoadViewer(ProgramBlock(), bindings);
    onEvent = [&](EventNumber, Runtime&) { return c.result; };
    EXPECT_EQ(sim::FireBeforeNavigate(host, "http://target/"), c.cancelled);
    EXPECT_EQ(sim::FireNewWindow(host), c.cancelled);
    EXPECT_EQ(raised.size(), c.bound ? 2u : 0u);
  }
}

TEST_F(HtmlViewerKindTest, HandlerMayDestroyTheWindowInsideAnEvent) {
  auto cases = NavigationEvents();
  cases.push_back({"TitleChanged", hv::TitleChanged,
                   [](auto host, auto title) { sim::FireTitleChange(host, title); }});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    LoadViewer();
    onEvent = [&](EventNumber, Runtime&) {
      platform::DestroyNativeWindow(frame);
      return HandlerResult{0u};
    };
    c.fire(host, "http://target/");
    EXPECT_FALSE(platform::WindowExists(host));
    EXPECT_EQ(sim::BrowserIn(host), nullptr);
    EXPECT_EQ(raised, (std::vector<Raised>{{c.event, {}}}));
  }
}

// ---- Host window -------------------------------------------------------------------------------

TEST_F(HtmlViewerKindTest, FocusPassesToTheBrowserAndResizingRefitsIt) {
  LoadViewer();
  platform::SetFocusTo(host);
  EXPECT_TRUE(Browser().focused);
  platform::SetBounds(host, {10, 20, 300, 200});
  EXPECT_EQ(Browser().size, platform::ClientSizeOf(host));
  EXPECT_EQ(Browser().size, (platform::Size{300, 200}));
}

TEST_F(HtmlViewerKindTest, DestroyingTheFormReleasesTheBrowser) {
  LoadViewer();
  platform::DestroyNativeWindow(frame);
  EXPECT_EQ(sim::BrowserIn(host), nullptr);
  ExpectRuntimeError([this] { ReadText(hv::Address); }, runtime_text::kWindowNotLoaded);
}

}  // namespace
}  // namespace pelmora::testing
