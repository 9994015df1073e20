// LoadWindow: what is made, in which order, with which identities, and what a window's end
// does to its description.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kFirst = 0x16010003;
constexpr ControlId kSecond = 0x16010004;
constexpr ControlId kThird = 0x16010005;

// 指定窗口尚未载入
const std::string kNotLoaded = "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";

class LoadWindowTest : public RuntimeTest {
 protected:
  std::vector<WindowDescription> ThreeControls() {
    return {WindowOf(kMain,
                     {ControlBuilder(kOwn, kind_ids::Window).At(100, 50, 400, 300).Bind(0, 1),
                      ControlBuilder(kFirst, kFixtureChildKindId).At(10, 10, 50, 20)
                          .Flags(state_flag::Visible | state_flag::TabStop),
                      ControlBuilder(kSecond, kFixtureChildKindId).At(10, 40, 50, 20)
                          .Flags(state_flag::Disabled),
                      ControlBuilder(kThird, kFixtureChildKindId).At(10, 70, 50, 20)
                          .Flags(state_flag::Visible)})};
  }
  platform::WindowHandle Frame() const { return NativeWindowOf(kMain, kOwn); }
};

TEST_F(LoadWindowTest, CreatesTheWindowThenTheControlsInReverseWithChildIdsAndStyles) {
  Load(ThreeControls());
  // Stored flags give the style: TabStop 0x10000, Disabled 0x08000000.
  const std::vector<std::string> creations = {"create 06010000 child=0 style=00000000",
                                              "create 16010005 child=100 style=00000000",
                                              "create 16010004 child=110 style=08000000",
                                              "create 16010003 child=120 style=00010000"};
  std::vector<std::string> made;
  for (const auto& entry : log.entries) {
    if (entry.starts_with("create")) made.push_back(entry);
  }
  EXPECT_EQ(made, creations);

  auto frame = sim::Inspect(Frame());
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->parent, platform::WindowHandle::None);
  EXPECT_TRUE(frame->visible);
  for (ControlId id : {kFirst, kSecond, kThird}) {
    auto child = sim::Inspect(NativeWindowOf(kMain, id));
    ASSERT_TRUE(child);
    EXPECT_EQ(child->parent, Frame());
    EXPECT_EQ(child->visible, id != kSecond) << Hex(id);
  }
  // The stored order is the top-to-bottom order.
  EXPECT_EQ(sim::ChildrenOf(Frame()),
            (std::vector{NativeWindowOf(kMain, kFirst), NativeWindowOf(kMain, kSecond),
                         NativeWindowOf(kMain, kThird)}));
}

TEST_F(LoadWindowTest, EventZeroRunsOnceAfterEveryControlExistsAndBeforeTheWindowShows) {
  auto windows = ThreeControls();
  windows[0].records[0].description.bindings = {{0, 1, nullptr}, {3, 2, nullptr}, {4, 3, nullptr}};
  int eventZero = 0;
  onHandler = [&](std::uint32_t reference, Runtime& r, std::span<const std::uint32_t> arguments) {
    log.Add("handler " + std::to_string(reference));
    EXPECT_TRUE(arguments.empty());
    if (reference == 1) {
      ++eventZero;
      for (ControlId id : {kFirst, kSecond, kThird}) {
        EXPECT_NE(NativeWindowOf(kMain, id), platform::WindowHandle::None) << Hex(id);
      }
      EXPECT_FALSE(sim::Inspect(Frame())->visible);
      EXPECT_EQ(r.EventSource(), (std::pair<WindowId, ControlId>{kMain, kOwn}));
    }
    return HandlerResult{};
  };
  Load(windows);
  EXPECT_EQ(eventZero, 1);
  const int zero = log.IndexOf("handler 1");
  EXPECT_LT(log.IndexOf("create 16010003 child=120 style=00010000"), zero);
  EXPECT_LT(zero, log.IndexOf("handler 2"));
  EXPECT_LT(log.IndexOf("handler 2"), log.IndexOf("handler 3"));
  EXPECT_LT(log.IndexOf("handler 3"), log.IndexOf("show 06010000"));
  EXPECT_EQ(runtime->EventSource().first, 0u);

  // Closed and loaded again: once more, and only once.
  sim::PressCloseButton(Frame());
  ASSERT_EQ(Frame(), platform::WindowHandle::None);
  runtime->LoadWindow(kMain);
  EXPECT_EQ(eventZero, 2);
}

TEST_F(LoadWindowTest, NoticesGoFromTheLastRecordToTheWindow) {
  Load(ThreeControls());
  std::vector<std::string> notices;
  for (const auto& entry : log.entries) {
    if (entry.starts_with("message")) notices.push_back(entry);
  }
  EXPECT_EQ(notices, (std::vector<std::string>{
                         "message 16010005 0000806F", "message 16010004 0000806F",
                         "message 16010003 0000806F", "message 06010000 0000806F",
                         "message 06010000 00008004", "message 16010005 00008076",
                         "message 16010004 00008076", "message 16010003 00008076",
                         "message 06010000 00008076"}));
}

TEST_F(LoadWindowTest, EventsOfControlsBeingMadeAreDroppedUntilTheControlsAreShown) {
  auto windows = ThreeControls();
  // The fixture raises each notice as the event of its number.
  windows[0].records[1].description.bindings = {{vocab::msg::DataRefresh, 2, nullptr},
                                                {vocab::msg::PageRefresh, 3, nullptr}};
  Load(windows);
  EXPECT_EQ(log.Count("handler 2"), 0);
  EXPECT_EQ(log.Count("handler 3"), 1);
}

TEST_F(LoadWindowTest, AHiddenWindowIsNotShown) {
  auto windows = ThreeControls();
  windows[0].records[0].description.stateFlags = 0;
  Load(windows);
  EXPECT_FALSE(sim::Inspect(Frame())->visible);
  EXPECT_EQ(log.IndexOf("show 06010000"), -1);
}

TEST_F(LoadWindowTest, ContainersAndHiddenPages) {
  FixtureChildKind pages(log, 0x00030009, {}, KindAttributes{.holdsPages = true});
  // kFirst holds kSecond on its first page and kThird on its second.
  Load({WindowOf(kMain,
                 {ControlBuilder(kOwn, kind_ids::Window).At(0, 0, 300, 200),
                  ControlBuilder(kFirst, 0x00030009).At(0, 0, 200, 100)
                      .Children({kSecond, 0, kThird}),
                  ControlBuilder(kSecond, kFixtureChildKindId).Container(kFirst),
                  ControlBuilder(kThird, kFixtureChildKindId).Container(kFirst)})},
       {&windowKind, &childKind, &pages});
  EXPECT_EQ(sim::Inspect(NativeWindowOf(kMain, kSecond))->parent, NativeWindowOf(kMain, kFirst));
  EXPECT_EQ(sim::Inspect(NativeWindowOf(kMain, kThird))->parent, NativeWindowOf(kMain, kFirst));
  EXPECT_TRUE(sim::Inspect(NativeWindowOf(kMain, kSecond))->visible);
  EXPECT_FALSE(sim::Inspect(NativeWindowOf(kMain, kThird))->visible);
  EXPECT_EQ(sim::ChildrenOf(NativeWindowOf(kMain, kFirst)),
            (std::vector{NativeWindowOf(kMain, kSecond), NativeWindowOf(kMain, kThird)}));
}

TEST_F(LoadWindowTest, AKindThatIsNeverShownStaysHiddenAndEnabled) {
  FixtureChildKind timers(log, kind_ids::Timer, {}, KindAttributes{.neverShown = true});
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kFirst, kind_ids::Timer)
                             .Flags(state_flag::Visible | state_flag::Disabled | state_flag::TabStop)})},
       {&windowKind, &timers});
  EXPECT_EQ(log.Count("create 16010003 child=100 style=00010000"), 1);
  EXPECT_FALSE(sim::Inspect(NativeWindowOf(kMain, kFirst))->visible);
  // Writing Visible keeps it hidden.
  runtime->WriteProperty(kMain, kFirst, common_property::Visible, -1, 1, 0);
  EXPECT_FALSE(sim::Inspect(NativeWindowOf(kMain, kFirst))->visible);
}

TEST_F(LoadWindowTest, ASecondLoadOfALiveWindowCreatesNothingAndBringsItBack) {
  std::vector<WindowDescription> windows = ThreeControls();
  windows.push_back(WindowOf(0x52010002, {ControlBuilder(kOwn, kind_ids::Window).Bind(0, 2)}));
  Load(windows);
  runtime->LoadWindow(0x52010002);
  const auto other = NativeWindowOf(0x52010002, kOwn);
  ASSERT_EQ(platform::ActiveWindow(), other);
  const auto entries = log.entries.size();

  runtime->LoadWindow(kMain);
  EXPECT_EQ(log.entries.size(), entries);  // no creation, no notice, no event
  EXPECT_EQ(platform::ActiveWindow(), Frame());

  sim::Minimize(Frame());
  ASSERT_TRUE(platform::IsMinimized(Frame()));
  runtime->LoadWindow(kMain);
  EXPECT_FALSE(platform::IsMinimized(Frame()));
  EXPECT_EQ(log.Count("handler 1"), 1);
}

TEST_F(LoadWindowTest, AfterTheWindowEndsItsDescriptionIsAsStored) {
  Load(ThreeControls());
  runtime->WriteProperty(kMain, kFirst, common_property::Left, -1, 77, 0);
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Left).low, 77u);
  sim::PressCloseButton(Frame());
  ASSERT_EQ(Frame(), platform::WindowHandle::None);
  EXPECT_EQ(log.Count("destroyed 16010003"), 1);
  EXPECT_TRUE(runtime->ControlsOf(kMain).empty());

  // The stored value of the moment of loading, not the one written since.
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Left).low, 10u);
  ExpectRuntimeError([&] { runtime->ReadProperty(kMain, kOwn, 8); }, kNotLoaded);
}

TEST_F(LoadWindowTest, AFailedLoadLeavesNoWindowBehind) {
  childKind.failCreationOf = kSecond;
  MakeRuntime(ThreeControls()).StartRuntime();
  // 载入启动窗口失败
  ExpectRuntimeError([&] { runtime->LoadWindow(kMain); },
                     "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC");
  EXPECT_EQ(log.Count("destroyed 16010005"), 1);
  EXPECT_EQ(log.Count("destroyed 06010000"), 1);
  for (auto window : sim::TopLevelWindows()) {
    EXPECT_NE(sim::Inspect(window)->windowClass, platform::WindowClass::Frame);
  }
  EXPECT_EQ(log.IndexOf("handler 1"), -1);
}

TEST_F(LoadWindowTest, ControlsOfAndTheNativeWindowLookup) {
  Load(ThreeControls());
  auto views = runtime->ControlsOf(kMain);
  ASSERT_EQ(views.size(), 4u);
  EXPECT_EQ(views[2].controlId, kSecond);
  EXPECT_EQ(views[2].storedIndex, 2u);
  EXPECT_EQ(views[2].kind, &childKind);
  EXPECT_EQ(views[2].stateFlags, state_flag::Disabled);
  auto found = runtime->ControlOfNativeWindow(NativeWindowOf(kMain, kThird));
  ASSERT_TRUE(found);
  EXPECT_EQ(found->first, kMain);
  EXPECT_EQ(found->second.controlId, kThird);
  EXPECT_FALSE(runtime->ControlOfNativeWindow(runtime->HiddenOwner()));
  EXPECT_TRUE(runtime->ControlsOf(0x52010002).empty());
}

}  // namespace
}  // namespace pelmora::testing
