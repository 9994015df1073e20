// The window's input pre-translation on the simulated platform: keyboard order, Enter and
// default buttons, Esc, F1, Alt mnemonics, DragAnywhere and the common input events.
#include <gtest/gtest.h>

#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/window_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace wp = window_property;
namespace vk = vocab::vk;
constexpr std::uint32_t kShift = 2, kAlt = 4;

// Handler references.
enum : std::uint32_t { kClicked = 1, kClosing, kKeyDown, kEvent, kOther };

class Keyboard : public StandardKindsTest {
 protected:
  // The control whose window has the focus, or 0.
  ControlId FocusedControl() const {
    auto found = runtime->ControlOfNativeWindow(platform::FocusedWindow());
    return found ? found->second.controlId : 0;
  }

  std::vector<ControlId> TabVisits(int presses, std::uint32_t modifiers = 0) {
    std::vector<ControlId> visits;
    for (int i = 0; i < presses; ++i) {
      sim::PressKey(vk::Tab, modifiers);
      visits.push_back(FocusedControl());
    }
    return visits;
  }
};

const ControlId A = ChildId(3), L = ChildId(4), B = ChildId(5), C = ChildId(6);

TEST_F(Keyboard, EqualTabOrdersVisitFromLastStoredToFirstSkippingLabelsAndTimers) {
  Load({WindowRecord(), EditRecord(3), LabelRecord(4), ButtonRecord(5), EditRecord(6),
        ControlBuilder(ChildId(7), kind_ids::Timer).Flags(kVisibleTabStop)});
  // The window takes the focus when shown and hands it to the first of the order.
  EXPECT_EQ(FocusedControl(), C);
  EXPECT_EQ(TabVisits(4), (std::vector<ControlId>{B, A, C, B}));
  EXPECT_EQ(TabVisits(3, kShift), (std::vector<ControlId>{C, A, B}));
}

struct OrderCase {
  const char* name;
  std::int32_t orderA, orderB, orderC;
  std::uint32_t flagsB;
  std::vector<ControlId> visits;  // starting from the first of the order
};

class KeyboardOrderCases : public Keyboard, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(KeyboardOrderCases, TabFollowsTabOrderThenReverseStoredPosition) {
  const OrderCase& c = GetParam();
  Load({WindowRecord(), EditRecord(3).TabOrder(c.orderA), ButtonRecord(5).TabOrder(c.orderB).Flags(c.flagsB),
        EditRecord(6).TabOrder(c.orderC)});
  std::vector<ControlId> visits{FocusedControl()};
  for (ControlId id : TabVisits(static_cast<int>(c.visits.size()) - 1)) visits.push_back(id);
  EXPECT_EQ(visits, c.visits);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, KeyboardOrderCases,
    ::testing::Values(
        OrderCase{"ascending", 0, 1, 2, kVisibleTabStop, {A, B, C, A}},
        OrderCase{"ties_go_to_the_later_stored", 1, 0, 0, kVisibleTabStop, {C, B, A, C}},
        OrderCase{"no_tab_stop_skipped", 0, 0, 0, state_flag::Visible, {C, A, C}},
        OrderCase{"hidden_skipped", 0, 0, 0, state_flag::TabStop, {C, A, C}},
        OrderCase{"disabled_skipped", 0, 0, 0, kVisibleTabStop | state_flag::Disabled,
                  {C, A, C}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Keyboard, TabKeysAreConsumedAndRaiseNoKeyEvent) {
  Load({WindowRecord(), EditRecord(3).Bind(-9, kKeyDown), EditRecord(6).Bind(-9, kKeyDown)});
  sim::PressKey(vk::Tab);
  sim::PressKey('X');
  EXPECT_EQ(Calls().size(), 1u);  // only the X
  EXPECT_EQ(Info(A).text, "x");
}

TEST_F(Keyboard, RegainingTheFocusGoesBackToTheLastFocusedControl) {
  Load({WindowRecord(), EditRecord(3), ButtonRecord(5), EditRecord(6)});
  sim::PressKey(vk::Tab);
  ASSERT_EQ(FocusedControl(), B);
  platform::SetFocusTo(WindowHandle());  // the window itself receives the focus
  EXPECT_EQ(FocusedControl(), B);
  sim::Click(Handle(A));
  platform::SetFocusTo(platform::WindowHandle::None);
  platform::SetFocusTo(WindowHandle());
  EXPECT_EQ(FocusedControl(), A);
}

TEST_F(Keyboard, EnterClicksTheDefaultButtonFromAnyControl) {
  auto defaultButton = [](KindValues& v) { v.SetNumber(button_property::ButtonType, 1); };
  Load({WindowRecord(), EditRecord(3), ButtonRecord(5, defaultButton).Bind(0, kClicked),
        ButtonRecord(6).Bind(0, kOther)});
  ASSERT_EQ(FocusedControl(), C);  // the plain button has the focus
  sim::PressKey(vk::Return);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
  EXPECT_EQ(FocusedControl(), C);
}

TEST_F(Keyboard, EnterOnAPlainButtonWithoutDefaultButtonRaisesNothing) {
  Load({WindowRecord(), EditRecord(3), ButtonRecord(5).Bind(0, kClicked).Bind(-9, kKeyDown)});
  ASSERT_EQ(FocusedControl(), B);
  sim::PressKey(vk::Return);
  // Enter passes on as an ordinary key: a key event, but no click.
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kKeyDown}));
  EXPECT_EQ(FocusedControl(), B);
}

TEST_F(Keyboard, EnterMovesTheFocusWhenTheWindowAsksForIt) {
  Load({WindowRecord([](KindValues& v) { v.SetNumber(wp::EnterMovesFocus, 1); }), EditRecord(3),
        EditRecord(6)});
  ASSERT_EQ(FocusedControl(), C);
  sim::PressKey(vk::Return);
  EXPECT_EQ(FocusedControl(), A);
}

TEST_F(Keyboard, AWritableMultiLineBoxKeepsEnterForItself) {
  auto defaultButton = [](KindValues& v) { v.SetNumber(button_property::ButtonType, 1); };
  struct Case {
    std::uint32_t inputMode;
    std::size_t clicks;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}}) {
    SetUp();
    Load({WindowRecord(), ButtonRecord(3, defaultButton).Bind(0, kClicked),
          EditRecord(6, [&](KindValues& v) {
            v.SetNumber(edit_box_property::MultiLine, 1);
            v.SetNumber(edit_box_property::InputMode, c.inputMode);
          })});
    ASSERT_EQ(FocusedControl(), C);
    sim::PressKey(vk::Return);
    EXPECT_EQ(Calls().size(), c.clicks) << "input mode " << c.inputMode;
  }
}

class EscCloses : public Keyboard, public ::testing::WithParamInterface<ControlId> {};

TEST_P(EscCloses, EscInAnyControlClosesTheWindow) {
  Load({WindowRecord().Bind(12, kClosing), EditRecord(3), ButtonRecord(5), LabelRecord(4)});
  platform::WindowHandle window = WindowHandle();
  platform::SetFocusTo(GetParam() == kWindowControl ? window : Handle(GetParam()));
  sim::PressKey(vk::Escape);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClosing}));
  EXPECT_FALSE(platform::WindowExists(window));
}

INSTANTIATE_TEST_SUITE_P(Targets, EscCloses, ::testing::Values(A, B, kWindowControl));

TEST_F(Keyboard, EscIsRefusedByCloseRequestedOrIgnoredWithoutEscCloses) {
  struct Case {
    bool escCloses;
    HandlerResult answer;
    std::uint32_t modifiers;
  };
  for (const Case& c : {Case{true, 0u, 0}, Case{false, std::nullopt, 0},
                        Case{true, std::nullopt, kShift}}) {
    SetUp();
    Answer(kClosing, c.answer);
    Load({WindowRecord([&](KindValues& v) { v.SetNumber(wp::EscCloses, c.escCloses); })
              .Bind(12, kClosing),
          EditRecord(3)});
    sim::PressKey(vk::Escape, c.modifiers);
    EXPECT_TRUE(platform::WindowExists(WindowHandle()));
  }
}

TEST_F(Keyboard, AltF4ClosesThroughTheSameSequence) {
  Load({WindowRecord().Bind(12, kClosing), EditRecord(3)});
  platform::WindowHandle window = WindowHandle();
  sim::PressKey(vk::F4, kAlt);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClosing}));
  EXPECT_FALSE(platform::WindowExists(window));
}

TEST_F(Keyboard, F1OpensTheHelpFileOnlyWhenAsked) {
  Load({WindowRecord([](KindValues& v) {
          v.SetNumber(wp::F1OpensHelp, 1);
          v.SetText(wp::HelpFile, "guide.hlp");
          v.SetNumber(wp::HelpContext, 12);
        }),
        EditRecord(3).Bind(-9, kKeyDown)});
  sim::PressKey(vk::F1);
  ASSERT_EQ(sim::HelpRequests().size(), 1u);
  EXPECT_EQ(sim::HelpRequests()[0].file, "guide.hlp");
  EXPECT_EQ(sim::HelpRequests()[0].context, 12u);
  // The sim has no help viewer, so the key passed on.
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kKeyDown}));

  SetUp();
  Load({WindowRecord(), EditRecord(3)});
  sim::PressKey(vk::F1);
  EXPECT_TRUE(sim::HelpRequests().empty());
}

TEST_F(Keyboard, AltMnemonicsClickButtonsAndLabelsPassTheFocusOn) {
  Load({WindowRecord(), EditRecord(3),
        LabelRecord(4, [](KindValues& v) { v.SetText(label_property::Text, "&Name"); }),
        ButtonRecord(5, [](KindValues& v) { v.SetText(button_property::Caption, "Save&&Bye &go"); })
            .Bind(0, kClicked),
        EditRecord(6)});
  sim::PressKey('G', kAlt);  // the caption's "&g", either case
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
  // "&&" is a literal ampersand, not a mnemonic for the letter after it.
  sim::PressKey('B', kAlt);
  EXPECT_EQ(Calls().size(), 1u);

  // The label stands between B and A in the order C, B, A: its mnemonic focuses A.
  ASSERT_EQ(FocusedControl(), C);
  sim::PressKey('N', kAlt);
  EXPECT_EQ(FocusedControl(), A);
}

TEST_F(Keyboard, DragAnywhereTurnsPressesOnTheWindowAndLabelsIntoTitleBarDrags) {
  Load({WindowRecord([](KindValues& v) { v.SetNumber(wp::DragAnywhere, 1); }).Bind(-1, kEvent),
        LabelRecord(4), ButtonRecord(5).Bind(0, kClicked)});
  sim::Click(WindowHandle(), platform::Point{5, 5});
  sim::Click(Handle(L));
  EXPECT_EQ(Info(kWindowControl).titleBarDrags, 2u);
  sim::Click(Handle(B));
  EXPECT_EQ(Info(kWindowControl).titleBarDrags, 2u);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
}

TEST_F(Keyboard, DisabledTargetsGetTheirKeysUntouched) {
  Load({WindowRecord().Bind(12, kClosing), EditRecord(3).Bind(-9, kKeyDown)});
  platform::EnableNativeWindow(Handle(A), false);
  platform::SetFocusTo(Handle(A));  // a disabled window that still has the focus
  sim::KeyDown(vk::Escape);
  EXPECT_TRUE(platform::WindowExists(WindowHandle()));
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace pelmora::testing
