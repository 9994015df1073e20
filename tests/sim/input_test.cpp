// Scripted input and what the native classes make of it once pre-translation lets it pass:
// the order of a double click, button clicks, typing into an edit box and Alt+F4.
#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using platform::WindowClass;
using platform::WindowHandle;

constexpr std::uint32_t kShift = 2;
constexpr std::uint32_t kAlt = 4;
const std::string kClicked = "button:Command(" + std::to_string(vocab::notify::ButtonClicked) + ")";
const std::string kChanged = "edit:Command(" + std::to_string(vocab::notify::EditChanged) + ")";

class InputTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    frame = Frame(frameProcedure);
    button = Child(frame, WindowClass::Button, buttonProcedure, {10, 10, 80, 24});
    edit = Child(frame, WindowClass::Edit, editProcedure, {10, 50, 120, 32});
    platform::ShowNativeWindow(frame, vocab::Show::Show);
    platform::InstallMessageFilter(&filter);
    trace.clear();
  }

  // The trace without focus and activation traffic.
  Trace Without(std::initializer_list<std::string> names) const {
    Trace kept;
    for (const std::string& entry : trace) {
      bool drop = false;
      for (const std::string& name : names) drop = drop || entry.find(name) != std::string::npos;
      if (!drop) kept.push_back(entry);
    }
    return kept;
  }

  Recorder& frameProcedure = Procedure("frame");
  Recorder& buttonProcedure = Procedure("button");
  Recorder& editProcedure = Procedure("edit");
  RecordingFilter filter{trace};
  WindowHandle frame{};
  WindowHandle button{};
  WindowHandle edit{};
};

TEST_F(InputTest, ADoubleClickOnAButtonClicksTwiceAroundTheDoubleClickMessage) {
  DoubleClick(button);
  EXPECT_THAT(Without({"Focus"}),
              ElementsAre("filter:LButtonDown(1)", "filter:LButtonUp(0)", kClicked,
                          "filter:LButtonDblClk(1)", "filter:LButtonUp(0)", kClicked));
}

TEST_F(InputTest, OnlyClassesThatAcceptDoubleClicksGetTheDoubleClickMessage) {
  Recorder& ownerProcedure = Procedure("owner");
  platform::WindowSpec request;
  request.windowClass = WindowClass::HiddenOwner;
  request.style = vocab::style::Visible;
  request.procedure = &ownerProcedure;
  request.rect = {0, 0, 10, 10};
  const WindowHandle owner = platform::CreateNativeWindow(request);
  DoubleClick(owner);
  EXPECT_THAT(trace, ElementsAre("filter:LButtonDown(1)", "filter:LButtonUp(0)",
                                 "filter:LButtonDown(1)", "filter:LButtonUp(0)"));
}

TEST_F(InputTest, AButtonClicksOnlyWhenReleasedOverItself) {
  struct Case {
    const char* name;
    platform::Point release;
    bool clicks;
  };
  const Case cases[] = {
      {"inside", {40, 12}, true},
      {"last pixel", {79, 23}, true},
      {"right of it", {80, 12}, false},
      {"above it", {40, -1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    trace.clear();
    MouseDown(button, platform::Point{40, 12});
    EXPECT_TRUE(Inspect(button)->pressed);
    MouseUp(button, c.release);
    EXPECT_FALSE(Inspect(button)->pressed);
    const bool clicked = std::find(trace.begin(), trace.end(), kClicked) != trace.end();
    EXPECT_EQ(clicked, c.clicks);
  }
  // A release without a press clicks nothing.
  trace.clear();
  MouseUp(button);
  EXPECT_THAT(Without({"filter"}), IsEmpty());
}

TEST_F(InputTest, APressFocusesTheButtonBeforeItIsPressed) {
  buttonProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::SetFocus) {
      trace.push_back(Inspect(button)->pressed ? "pressed already" : "not pressed yet");
    }
    return 0;
  };
  MouseDown(button);
  EXPECT_EQ(platform::FocusedWindow(), button);
  EXPECT_THAT(trace, ElementsAre("filter:LButtonDown(1)", "frame:KillFocus(" +
                                     std::to_string(static_cast<std::uintptr_t>(button)) + ")",
                                 "button:SetFocus(" +
                                     std::to_string(static_cast<std::uintptr_t>(frame)) + ")",
                                 "not pressed yet"));
}

TEST_F(InputTest, SpaceClicksTheFocusedButtonOnReleaseAndEnterDoesNothing) {
  platform::SetFocusTo(button);
  trace.clear();
  PressKey(vocab::vk::Return);
  EXPECT_THAT(Without({"filter"}), IsEmpty());
  KeyDown(vocab::vk::Space);
  EXPECT_THAT(Without({"filter"}), IsEmpty());
  KeyUp(vocab::vk::Space);
  EXPECT_THAT(Without({"filter"}), ElementsAre(kClicked));
}

TEST_F(InputTest, AClaimedPressNeverReachesTheButton) {
  filter.claim = [](platform::Message& message) {
    return message.id == vocab::msg::LButtonDblClk;
  };
  DoubleClick(button);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), kClicked), 1);
}

TEST_F(InputTest, KeysMakeCharactersOnlyWhenTheKeyDownGetsThrough) {
  platform::SetFocusTo(edit);
  filter.claim = [](platform::Message& message) {
    return message.id == vocab::msg::KeyDown && message.wParam == vocab::vk::Tab;
  };
  trace.clear();
  PressKey(vocab::vk::LetterA, kShift);
  PressKey(vocab::vk::Tab);
  PressKey(vocab::vk::Digit0 + 7);
  EXPECT_THAT(Without({"Command"}),
              ElementsAre("filter:KeyDown(65)", "filter:Char(65)", "filter:KeyUp(65)",
                          "filter:KeyDown(9)", "filter:KeyUp(9)",  //
                          "filter:KeyDown(55)", "filter:Char(55)", "filter:KeyUp(55)"));
  EXPECT_EQ(platform::TextOf(edit), "A7");
}

TEST_F(InputTest, TheFilterMayReplaceACharacterBeforeTheEditSeesIt) {
  platform::SetFocusTo(edit);
  filter.claim = [](platform::Message& message) {
    if (message.id == vocab::msg::Char && message.wParam == 'x') message.wParam = 'y';
    return false;
  };
  PressKey(vocab::vk::LetterA + ('x' - 'a'));
  EXPECT_EQ(platform::TextOf(edit), "y");
}

TEST_F(InputTest, EveryChangeOfAnEditsTextIsReportedToItOnce) {
  platform::SetFocusTo(edit);
  trace.clear();
  platform::SetText(edit, "ab");
  platform::SetText(edit, "ab");  // the same text again is still a change report
  PressKey(vocab::vk::LetterA + 2);
  TypeText(edit, "whole new text");
  EXPECT_THAT(Without({"filter"}), ElementsAre(kChanged, kChanged, kChanged, kChanged));
  EXPECT_EQ(platform::TextOf(edit), "whole new text");
}

TEST_F(InputTest, BackspaceRemovesAWholeDoubleByteCharacter) {
  platform::SetFocusTo(edit);
  // "a" followed by 刷新 in code page 936.
  platform::SetText(edit, "a\xCB\xA2\xD0\xC2");
  PressKey(vocab::vk::Back);
  EXPECT_EQ(platform::TextOf(edit), "a\xCB\xA2");
  PressKey(vocab::vk::Back);
  PressKey(vocab::vk::Back);
  trace.clear();
  PressKey(vocab::vk::Back);  // empty: no change to report
  EXPECT_EQ(platform::TextOf(edit), "");
  EXPECT_THAT(Without({"filter"}), IsEmpty());
}

TEST_F(InputTest, TheEditLimitStopsTypingButNotTheProgram) {
  platform::SetEditLimit(edit, 2);
  platform::SetFocusTo(edit);
  for (int i = 0; i < 3; ++i) PressKey(vocab::vk::LetterA);
  EXPECT_EQ(platform::TextOf(edit), "aa");
  TypeText(edit, "a\xCB\xA2");  // the limit falls inside the double-byte character
  EXPECT_EQ(platform::TextOf(edit), "a");
  platform::SetText(edit, "longer");
  EXPECT_EQ(platform::TextOf(edit), "longer");
}

TEST_F(InputTest, AClickOnAnEditFocusesItOnlyInsideItsTextBand) {
  platform::SetEditTextBand(edit, 9, 14);
  struct Case {
    std::int32_t y;
    bool focuses;
  };
  for (const Case c : {Case{8, false}, Case{9, true}, Case{22, true}, Case{23, false}}) {
    SCOPED_TRACE(c.y);
    platform::SetFocusTo(frame);
    Click(edit, platform::Point{5, c.y});
    EXPECT_EQ(platform::FocusedWindow() == edit, c.focuses);
  }
}

TEST_F(InputTest, AltF4AsksTheTopLevelWindowToCloseWhateverHasTheFocus) {
  platform::SetFocusTo(edit);
  trace.clear();
  PressKey(vocab::vk::F4, kAlt);
  EXPECT_THAT(trace, ElementsAre("filter:SysKeyDown(115)", "frame:Close(0)",
                                 "filter:SysKeyUp(115)"));

  trace.clear();
  PressKey(vocab::vk::F4);  // without Alt
  EXPECT_THAT(Without({"filter"}), IsEmpty());

  filter.claim = [](platform::Message& message) { return message.id == vocab::msg::SysKeyDown; };
  trace.clear();
  PressKey(vocab::vk::F4, kAlt);
  EXPECT_THAT(Without({"filter"}), IsEmpty());
}

TEST_F(InputTest, AFrameThatDestroysItselfOnAltF4TakesItsChildrenAndTheRestOfTheKeyWithIt) {
  frameProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Close) platform::DestroyNativeWindow(message.window);
    return 0;
  };
  platform::SetFocusTo(edit);
  trace.clear();
  PressKey(vocab::vk::F4, kAlt);
  EXPECT_FALSE(platform::WindowExists(frame));
  EXPECT_FALSE(platform::WindowExists(edit));
  EXPECT_EQ(platform::FocusedWindow(), WindowHandle::None);
  EXPECT_EQ(platform::ActiveWindow(), WindowHandle::None);
  // The key's release has no window left to go to.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "filter:SysKeyUp(115)"), 0);
  EXPECT_EQ(trace.back(), "frame:NcDestroy(0)");
}

TEST_F(InputTest, ModifierKeysAnswerForTheMessageBeingProcessed) {
  std::vector<std::uint32_t> seen;
  filter.claim = [&](platform::Message&) {
    seen.push_back(platform::ModifierKeys());
    return true;
  };
  PressKey(vocab::vk::LetterA, kShift | 1);
  Click(frame);
  EXPECT_THAT(seen, ElementsAre(3u, 3u, 0u, 0u));
  EXPECT_EQ(platform::ModifierKeys(), 0u);
}

TEST_F(InputTest, KeysGoToTheFocusAsItIsWhenTheyAreTaken) {
  // A filter that moves the focus on Tab, as a window's keyboard order does.
  filter.claim = [&](platform::Message& message) {
    if (message.id == vocab::msg::KeyDown && message.wParam == vocab::vk::Tab) {
      platform::SetFocusTo(edit);
      return true;
    }
    trace.push_back("to " + std::string(message.window == edit ? "edit" : "other"));
    return false;
  };
  platform::SetFocusTo(button);
  trace.clear();
  PressKey(vocab::vk::Tab);
  EXPECT_EQ(trace.back(), "to edit");
}

TEST_F(InputTest, MouseInputForHiddenOrDisabledWindowsIsDropped) {
  platform::EnableNativeWindow(frame, false);
  Click(button);
  platform::EnableNativeWindow(frame, true);
  platform::ShowNativeWindow(button, vocab::Show::Hide);
  Click(button);
  EXPECT_THAT(Without({"ShowWindow", "Focus"}), IsEmpty());
}

TEST_F(InputTest, TheCloseButtonSendsACloseRequestToTheFrame) {
  PressCloseButton(frame);
  EXPECT_THAT(trace, ElementsAre("frame:Close(0)"));
  EXPECT_TRUE(platform::WindowExists(frame));  // the procedure decides
}

}  // namespace
}  // namespace pelmora::sim::testing
