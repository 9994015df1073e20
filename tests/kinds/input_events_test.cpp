// The common input events -1 to -12 that the window's pre-translation raises for itself and
// its controls, with their arguments, and what a handler's answer does to the message.
#include <gtest/gtest.h>

#include "runtime/kinds/window_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace vk = vocab::vk;
constexpr std::uint32_t kCtrl = 1, kShift = 2, kAlt = 4;
const ControlId A = ChildId(3), L = ChildId(4), B = ChildId(5);

using Args = std::vector<std::uint32_t>;

// Every common event bound, each to the reference of its own number (1 to 12).
ControlBuilder WithCommonEvents(ControlBuilder record) {
  for (std::int32_t event = -1; event >= -12; --event) {
    record.Bind(event, static_cast<std::uint32_t>(-event));
  }
  return record;
}

class InputEvents : public StandardKindsTest {
 protected:
  void SetUp() override {
    StandardKindsTest::SetUp();
    Load({WithCommonEvents(WindowRecord()), WithCommonEvents(EditRecord(3)),
          WithCommonEvents(LabelRecord(4)), ButtonRecord(5).Bind(0, 15).Bind(-1, 1).Bind(-3, 3)});
    platform::SetFocusTo(Handle(A));
    Calls().clear();
  }

  // The calls of one event number, with their controls and arguments.
  std::vector<HandlerCall> CallsOf(std::int32_t event) const {
    std::vector<HandlerCall> found;
    for (const HandlerCall& call : Calls()) {
      if (call.reference == static_cast<std::uint32_t>(-event)) found.push_back(call);
    }
    return found;
  }
};

TEST_F(InputEvents, MouseEventsCarryUnsignedClientPositionAndKeyState) {
  sim::Click(Handle(L), platform::Point{7, 9});
  sim::RightClick(WindowHandle(), platform::Point{300, 200});
  sim::MoveMouse(Handle(L), platform::Point{-1, 5});
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{1, 2, 4, 5, 6}));
  struct Expected {
    ControlId control;
    Args arguments;
  };
  const std::vector<Expected> expected = {
      {L, {7, 9, 0}}, {L, {7, 9, 0}}, {kWindowControl, {300, 200, 0}},
      {kWindowControl, {300, 200, 0}}, {L, {0xFFFF, 5, 0}}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Calls()[i].control, expected[i].control) << i;
    EXPECT_EQ(Calls()[i].arguments, expected[i].arguments) << i;
  }
}

TEST_F(InputEvents, KeyEventsReportMappedKeyCodesAndKeyState) {
  struct Case {
    std::uint32_t key;
    std::uint32_t modifiers;
    Args reported;
  };
  const std::vector<Case> cases = {
      {vk::Numpad0 + 7, 0, {0x37, 0}}, {vk::Numpad0, 0, {0x30, 0}},
      {vk::Subtract, 0, {189, 0}},     {vk::Decimal, 0, {190, 0}},
      {vk::Divide, 0, {191, 0}},       {vk::Multiply, 0, {vk::Multiply, 0}},
      {'A', kCtrl | kShift, {0x41, 3}}, {0x74 /* F5 */, kAlt, {0x74, 4}},
  };
  for (const Case& c : cases) {
    Calls().clear();
    sim::PressKey(c.key, c.modifiers);
    ASSERT_EQ(CallsOf(-9).size(), 1u) << c.key;
    EXPECT_EQ(CallsOf(-9)[0].control, A);
    EXPECT_EQ(CallsOf(-9)[0].arguments, c.reported) << "key " << c.key;
    ASSERT_EQ(CallsOf(-10).size(), 1u) << c.key;
    EXPECT_EQ(CallsOf(-10)[0].arguments, c.reported) << "key " << c.key;
  }
}

TEST_F(InputEvents, WheelReportsWholeNotchesTruncatedTowardZero) {
  struct Case {
    std::int32_t delta;
    std::int32_t notches;
  };
  for (const Case& c : {Case{240, 2}, Case{-240, -2}, Case{200, 1}, Case{-100, 0}}) {
    Calls().clear();
    sim::TurnWheel(Handle(A), c.delta);
    ASSERT_EQ(CallsOf(-12).size(), 1u);
    EXPECT_EQ(CallsOf(-12)[0].arguments, (Args{static_cast<std::uint32_t>(c.notches), 0}))
        << c.delta;
  }
}

TEST_F(InputEvents, CharacterHandlerCanReplaceOrSwallowTheCharacter) {
  struct Case {
    HandlerResult answer;
    std::string typed;
  };
  for (const Case& c : {Case{std::nullopt, "a"}, Case{'Z', "Z"}, Case{0u, ""}}) {
    platform::SetText(Handle(A), "");
    Answer(11, c.answer);
    sim::PressKey('A');
    EXPECT_EQ(Info(A).text, c.typed);
  }
  ASSERT_FALSE(CallsOf(-11).empty());
  EXPECT_EQ(CallsOf(-11)[0].arguments, Args{'a'});
}

TEST_F(InputEvents, FalseFromAMouseHandlerSwallowsThePress) {
  Answer(1, 0u);
  sim::Click(Handle(B));
  EXPECT_TRUE(std::none_of(Calls().begin(), Calls().end(),
                           [](const HandlerCall& call) { return call.reference == 15; }));
  Answer(1, 1u);  // a true answer lets the press through
  sim::Click(Handle(B));
  EXPECT_EQ(References().back(), 15u);
}

TEST_F(InputEvents, AHandlerThatDestroysTheWindowEndsTheMessage) {
  OnCall(1, [](Runtime& rt) {
    platform::DestroyNativeWindow(rt.ControlsOf(kWindowId).front().live->Window());
  });
  platform::WindowHandle window = WindowHandle();
  sim::Click(Handle(B));
  EXPECT_FALSE(platform::WindowExists(window));
  // The press went no further: no release event and no click (the focused box did report
  // losing the focus while its window went).
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{1, 8}));
}

TEST_F(InputEvents, FocusEventsComeFromTheControlsThemselves) {
  platform::SetFocusTo(Handle(B));
  platform::SetFocusTo(Handle(A));
  // A loses (8) and regains (7) the focus; the button has no focus events bound.
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{8, 7}));
}

}  // namespace
}  // namespace pelmora::testing
