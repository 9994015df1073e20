// The window kind on the simulated platform: creation from its block, caption, painting, its
// own events and the closing sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "runtime/kinds/window_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace wp = window_property;
namespace st = vocab::style;
namespace ex = vocab::exstyle;

struct PlacementCase {
  const char* name;
  std::uint32_t placement;
  std::uint32_t borderStyle;
  platform::Rect expected;
  bool minimized;
  bool maximized;
};

class WindowPlacement : public StandardKindsTest,
                        public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(WindowPlacement, PlacesAndShowsTheWindow) {
  const PlacementCase& c = GetParam();
  Load({ControlBuilder(WindowRecord([&](KindValues& v) {
          v.SetNumber(wp::Placement, c.placement);
          v.SetNumber(wp::BorderStyle, c.borderStyle);
        })).At(5, 7, 602, 380)});
  sim::WindowInfo info = Info(kWindowControl);
  EXPECT_TRUE(info.visible);
  EXPECT_EQ(info.minimized, c.minimized);
  EXPECT_EQ(info.maximized, c.maximized);
  if (!c.minimized) {
    EXPECT_EQ(info.bounds, c.expected);
  }
}

// The sim's screen is 1280 x 1024 with a work area of 1280 x 984.
INSTANTIATE_TEST_SUITE_P(
    Placements, WindowPlacement,
    ::testing::Values(
        PlacementCase{"stored", 0, 2, {5, 7, 602, 380}, false, false},
        // (1280 - 602) / 2 = 339, (1024 - 380) / 2 = 322, whatever the stored place.
        PlacementCase{"centred", 1, 2, {339, 322, 602, 380}, false, false},
        PlacementCase{"minimized", 2, 2, {}, true, false},
        PlacementCase{"maximized sizable", 3, 1, {0, 0, 1280, 984}, false, true},
        // Without a thick frame no maximized style (below), but still shown filling the
        // work area.
        PlacementCase{"maximized fixed", 3, 2, {0, 0, 1280, 984}, false, true}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) if (ch == ' ') ch = '_';
      return name;
    });

TEST_F(StandardKindsTest, MaximizedPlacementGivesTheMaximizedStyleOnlyToSizableFrames) {
  for (std::uint32_t borderStyle : {1u, 2u}) {
    SetUp();
    // Not visible: the window stays as created, without being shown maximized.
    Load({ControlBuilder(WindowRecord([&](KindValues& v) {
            v.SetNumber(wp::Placement, 3);
            v.SetNumber(wp::BorderStyle, borderStyle);
          })).Flags(0)});
    EXPECT_EQ((Info(kWindowControl).style & st::Maximize) != 0, borderStyle == 1);
    EXPECT_FALSE(Info(kWindowControl).visible);
  }
}

TEST_F(StandardKindsTest, CentringTruncatesOddDifferences) {
  Load({ControlBuilder(WindowRecord()).At(0, 0, 601, 381)});
  // (1280 - 601) / 2 = 339.5 and (1024 - 381) / 2 = 321.5, both truncated.
  EXPECT_EQ(Info(kWindowControl).bounds, (platform::Rect{339, 321, 601, 381}));
}

struct StyleCase {
  const char* name;
  std::uint32_t borderStyle;
  bool controlBox;
  bool minButton;
  bool maxButton;
  const char* caption;
  std::uint32_t styleSet;
  std::uint32_t styleClear;
  std::uint32_t exSet;
  std::uint32_t exClear;
};

class WindowStyle : public StandardKindsTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(WindowStyle, DerivesFrameAndTitleBar) {
  const StyleCase& c = GetParam();
  Load({WindowRecord([&](KindValues& v) {
    v.SetNumber(wp::BorderStyle, c.borderStyle);
    v.SetNumber(wp::ControlBox, c.controlBox);
    v.SetNumber(wp::MinButton, c.minButton);
    v.SetNumber(wp::MaxButton, c.maxButton);
    v.SetText(wp::Caption, c.caption);
  })});
  sim::WindowInfo info = Info(kWindowControl);
  EXPECT_EQ(info.style & c.styleSet, c.styleSet) << std::hex << info.style;
  EXPECT_EQ(info.style & c.styleClear, 0u) << std::hex << info.style;
  EXPECT_EQ(info.exStyle & c.exSet, c.exSet) << std::hex << info.exStyle;
  EXPECT_EQ(info.exStyle & c.exClear, 0u) << std::hex << info.exStyle;
  EXPECT_EQ(info.text, c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, WindowStyle,
    ::testing::Values(
        StyleCase{"dialog_with_box_and_minimize", 2, true, true, false, "",
                  st::Caption | st::SystemMenu | st::MinimizeBox | st::ClipChildren,
                  st::ThickFrame | st::MaximizeBox, 0, ex::ToolWindow | ex::ClientEdge},
        StyleCase{"sizable", 1, true, false, true, "T",
                  st::Caption | st::ThickFrame | st::MaximizeBox, st::MinimizeBox, 0,
                  ex::ToolWindow},
        StyleCase{"sizable_tool", 3, true, false, false, "T", st::Caption | st::ThickFrame, 0,
                  ex::ToolWindow, ex::ClientEdge},
        StyleCase{"fixed_tool", 4, true, false, false, "T", st::Caption, st::ThickFrame,
                  ex::ToolWindow, 0},
        StyleCase{"sizable_sunken", 5, true, false, false, "T", st::ThickFrame, 0,
                  ex::ClientEdge, ex::ToolWindow},
        StyleCase{"fixed_sunken", 6, true, false, false, "T", st::DialogFrame, st::ThickFrame,
                  ex::ClientEdge, 0},
        // A caption alone makes a title bar, without the system menu.
        StyleCase{"caption_without_box", 2, false, false, false, "T", st::Caption,
                  st::SystemMenu, 0, 0},
        // Neither caption nor control box: a dialog frame but no title bar.
        StyleCase{"no_title", 2, false, false, false, "", st::DialogFrame,
                  st::Border | st::SystemMenu, 0, 0},
        StyleCase{"no_frame", 0, true, false, false, "T", 0,
                  st::Caption | st::ThickFrame | st::SystemMenu, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

std::string ReadCaption(Runtime& runtime) {
  PropertyWords words = runtime.ReadProperty(kWindowId, kWindowControl, 8);
  auto* text = reinterpret_cast<const char*>(words.low);
  std::string caption = text != nullptr ? text : "<null>";
  runtime.FreeValue(text);
  return caption;
}

void WriteCaption(Runtime& runtime, const char* caption) {
  runtime.WriteProperty(kWindowId, kWindowControl, 8, -1, reinterpret_cast<std::uintptr_t>(caption),
                        0);
}

TEST_F(StandardKindsTest, CaptionWriteKeepsTheTitleBarWhileTheControlBoxIsOn) {
  Load({WindowRecord([](KindValues& v) { v.SetText(wp::Caption, "Pelmora"); })});
  WriteCaption(*runtime, "");
  EXPECT_EQ(Info(kWindowControl).style & st::Caption, st::Caption);
  EXPECT_EQ(Info(kWindowControl).text, "");
  EXPECT_EQ(ReadCaption(*runtime), "<null>");  // an empty text reads as absent

  WriteCaption(*runtime, "Pelmora 42");
  EXPECT_EQ(Info(kWindowControl).text, "Pelmora 42");
  EXPECT_EQ(ReadCaption(*runtime), "Pelmora 42");
}

TEST_F(StandardKindsTest, CaptionWriteRederivesTheTitleBarWithoutControlBox) {
  Load({WindowRecord([](KindValues& v) {
    v.SetNumber(wp::ControlBox, 0);
    v.SetText(wp::Caption, "T");
  })});
  ASSERT_EQ(Info(kWindowControl).style & st::Caption, st::Caption);
  WriteCaption(*runtime, "");
  EXPECT_EQ(Info(kWindowControl).style & st::Border, 0u);
  WriteCaption(*runtime, "back");
  EXPECT_EQ(Info(kWindowControl).style & st::Caption, st::Caption);
}

TEST_F(StandardKindsTest, CaptionReadsTheOwnValueNotTheSystemText) {
  Load({WindowRecord([](KindValues& v) { v.SetText(wp::Caption, "mine"); })});
  platform::SetText(WindowHandle(), "changed behind its back");
  EXPECT_EQ(ReadCaption(*runtime), "mine");
}

TEST_F(StandardKindsTest, CreationAppliesOwnerClassIconTopmostMoveAndShape) {
  Load({WindowRecord([](KindValues& v) {
    v.SetNumber(wp::ShowInTaskbar, 0);
    v.SetText(wp::ClassName, "MyFrame");
    v.SetNumber(wp::AlwaysOnTop, 1);
    v.SetNumber(wp::Movable, 0);
    v.SetNumber(wp::Shape, 2);
    const std::uint8_t icon[] = {0, 0, 1, 0, 9};
    v.SetData(wp::Icon, icon);
  })});
  sim::WindowInfo info = Info(kWindowControl);
  EXPECT_EQ(info.owner, runtime->HiddenOwner());
  EXPECT_NE(info.owner, platform::WindowHandle::None);
  EXPECT_EQ(info.className, "MyFrame");
  EXPECT_TRUE(info.topmost);
  EXPECT_FALSE(info.movable);
  EXPECT_EQ(info.shape, 2);
  EXPECT_TRUE(info.iconSet);
  EXPECT_EQ(info.icon.size(), 5u);
}

TEST_F(StandardKindsTest, DefaultsGiveATaskbarWindowOfTheDefaultClassWithTheProgramIcon) {
  Load({WindowRecord([](KindValues& v) { v.SetNumber(wp::Shape, 7); })});
  sim::WindowInfo info = Info(kWindowControl);
  EXPECT_EQ(info.owner, platform::WindowHandle::None);
  EXPECT_EQ(info.className, "");
  EXPECT_FALSE(info.topmost);
  EXPECT_TRUE(info.movable);
  EXPECT_TRUE(info.iconSet);
  EXPECT_TRUE(info.icon.empty());  // the program's own icon
  EXPECT_EQ(info.shape, 0);        // shapes from the table are not drawn: rectangular
}

TEST_F(StandardKindsTest, PaintsTheBackgroundColourOrTheFaceColour) {
  for (std::uint32_t colour : {0xFF000000u, 0x00123456u}) {
    SetUp();
    Load({WindowRecord([&](KindValues& v) { v.SetNumber(wp::BackColor, colour); })});
    sim::PaintRecord paint = sim::PaintNow(WindowHandle());
    ASSERT_FALSE(paint.fills.empty());
    EXPECT_EQ(paint.fills.front().second, colour == 0xFF000000u ? platform::FaceColour() : colour);
    platform::Size client = platform::ClientSizeOf(WindowHandle());
    EXPECT_EQ(paint.fills.front().first, (platform::Rect{0, 0, client.width, client.height}));
  }
}

// Handler references for the window's own events.
enum : std::uint32_t {
  kCreated = 1, kMayClose, kDestroying, kMoved, kResized, kActivated, kDeactivated,
  kFirstActivated, kShown, kHidden, kCloseRequested, kGotFocus,
};

ControlBuilder WindowWithAllEventsBound() {
  return WindowRecord()
      .Bind(0, kCreated).Bind(1, kMayClose).Bind(2, kDestroying).Bind(3, kMoved)
      .Bind(4, kResized).Bind(5, kActivated).Bind(6, kDeactivated).Bind(8, kFirstActivated)
      .Bind(10, kShown).Bind(11, kHidden).Bind(12, kCloseRequested).Bind(-7, kGotFocus);
}

TEST_F(StandardKindsTest, LoadRaisesCreatedMovedResizedThenShowAndActivation) {
  Load({WindowWithAllEventsBound()});
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kCreated, kMoved, kResized, kShown,
                                                      kFirstActivated, kActivated, kGotFocus}));
  for (const HandlerCall& call : Calls()) EXPECT_EQ(call.control, kWindowControl);
}

TEST_F(StandardKindsTest, WindowEventsFollowMovesSizesHidingAndActivation) {
  Load({WindowWithAllEventsBound()});
  Calls().clear();
  runtime->WriteProperty(kWindowId, kWindowControl, 0, -1, 50, 0);   // Left
  runtime->WriteProperty(kWindowId, kWindowControl, 2, -1, 500, 0);  // Width
  runtime->WriteProperty(kWindowId, kWindowControl, 5, -1, 0, 0);    // Visible off
  EXPECT_EQ(References(),
            (std::vector<std::uint32_t>{kMoved, kResized, kHidden, kDeactivated}));

  Calls().clear();
  runtime->WriteProperty(kWindowId, kWindowControl, 5, -1, 1, 0);
  platform::Activate(WindowHandle());
  // Shown again and active again, but not for the first time.
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kShown, kActivated, kGotFocus}));
}

TEST_F(StandardKindsTest, CloseRequestRunsTheQueriesThenDestroys) {
  Load({WindowWithAllEventsBound()});
  platform::WindowHandle window = WindowHandle();
  Calls().clear();
  sim::PressCloseButton(window);
  EXPECT_FALSE(platform::WindowExists(window));
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kCloseRequested, kMayClose, kDeactivated,
                                                      kDestroying}));
}

TEST_F(StandardKindsTest, AFalseAnswerToEitherQueryKeepsTheWindow) {
  struct Case {
    std::uint32_t refusing;
    std::vector<std::uint32_t> calls;
  };
  for (const Case& c : {Case{kCloseRequested, {kCloseRequested}},
                        Case{kMayClose, {kCloseRequested, kMayClose}}}) {
    SetUp();
    Answer(c.refusing, 0u);
    Answer(c.refusing == kMayClose ? kCloseRequested : kMayClose, 1u);
    Load({WindowWithAllEventsBound()});
    Calls().clear();
    sim::PressCloseButton(WindowHandle());
    EXPECT_TRUE(platform::WindowExists(WindowHandle()));
    EXPECT_EQ(References(), c.calls);
  }
}

TEST_F(StandardKindsTest, EndOfSessionAsksMayClose) {
  Answer(kMayClose, 0u);
  Load({WindowWithAllEventsBound()});
  EXPECT_EQ(platform::SendToWindow(WindowHandle(), vocab::msg::QueryEndSession, 0, 0), 0);
  Answer(kMayClose, std::nullopt);
  EXPECT_EQ(platform::SendToWindow(WindowHandle(), vocab::msg::QueryEndSession, 0, 0), 1);
}

TEST_F(StandardKindsTest, CloseRequestedHandlerThatDestroysTheWindowEndsTheSequence) {
  OnCall(kCloseRequested, [](Runtime& rt) {
    for (const ControlView& view : rt.ControlsOf(kWindowId)) {
      if (view.storedIndex == 0) platform::DestroyNativeWindow(view.live->Window());
    }
  });
  Load({WindowWithAllEventsBound()});
  platform::WindowHandle window = WindowHandle();
  Calls().clear();
  sim::PressCloseButton(window);
  EXPECT_FALSE(platform::WindowExists(window));
  auto references = References();
  EXPECT_EQ(std::count(references.begin(), references.end(), kMayClose), 0);
  EXPECT_EQ(std::count(references.begin(), references.end(), kDestroying), 1);
}

TEST_F(StandardKindsTest, ABadWindowBlockFailsTheLoad) {
  auto newer = BlockWith(WindowBlockLayout());
  newer[0] = 7;
  auto cut = BlockWith(WindowBlockLayout());
  cut.resize(cut.size() - 1);
  for (const auto& block : {newer, cut}) {
    SetUp();
    sim::AnswerMessageBoxesAutomatically(true);
    int exitCode = 0;
    try {
      Load({ControlBuilder(kWindowControl, kind_ids::Window).At(0, 0, 100, 100).KindBlock(block)});
    } catch (const sim::ProcessEnded& ended) {
      exitCode = ended.exitCode;
    }
    EXPECT_EQ(exitCode, -1);
    ASSERT_FALSE(sim::MessageBoxes().empty());
    // 载入启动窗口失败
    EXPECT_NE(sim::MessageBoxes().back().text.find(
                  "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"),
              std::string::npos);
    EXPECT_TRUE(sim::TopLevelWindows().size() <= 1);  // at most the hidden owner is left
  }
}

TEST_F(StandardKindsTest, ARefusedNativeWindowFailsTheLoad) {
  for (platform::WindowClass refused :
       {platform::WindowClass::Frame, platform::WindowClass::Edit, platform::WindowClass::Button,
        platform::WindowClass::Label}) {
    SetUp();
    sim::FailWindowClass(refused);
    sim::AnswerMessageBoxesAutomatically(true);
    int exitCode = 0;
    try {
      Load({WindowRecord(), EditRecord(3), ButtonRecord(4), LabelRecord(5)});
    } catch (const sim::ProcessEnded& ended) {
      exitCode = ended.exitCode;
    }
    EXPECT_EQ(exitCode, -1) << "class " << static_cast<int>(refused);
    EXPECT_EQ(sim::MessageBoxes().size(), 1u) << "class " << static_cast<int>(refused);
  }
}

}  // namespace
}  // namespace pelmora::testing
