// The edit box kind on the simulated platform: creation styles, the centred text line,
// Content and ContentChanged, and the rebuild of creation-only properties.
#include <gtest/gtest.h>

#include "runtime/kinds/edit_box_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace ep = edit_box_property;
namespace es = vocab::edit_style;
namespace st = vocab::style;
namespace ex = vocab::exstyle;

const ControlId E = ChildId(3);
constexpr std::uint32_t kChanged = 1;
constexpr PropertyNumber kContent = 8;

class EditBox : public StandardKindsTest {
 protected:
  void WriteContent(const char* text) {
    runtime->WriteProperty(kWindowId, E, kContent, -1, reinterpret_cast<std::uintptr_t>(text), 0);
  }
  std::optional<std::string> ReadContent() {
    PropertyWords words = runtime->ReadProperty(kWindowId, E, kContent);
    auto* text = reinterpret_cast<const char*>(words.low);
    if (text == nullptr) return std::nullopt;
    std::string content = text;
    runtime->FreeValue(text);
    return content;
  }
  void WriteNumber(PropertyNumber property, std::uint32_t value) {
    runtime->WriteProperty(kWindowId, E, property, -1, value, 0);
  }
};

TEST_F(EditBox, ContentWriteRaisesContentChangedExactlyOnceEachTime) {
  Load({WindowRecord(), EditRecord(3).Bind(0, kChanged)});
  WriteContent("same");
  EXPECT_EQ(Calls().size(), 1u);
  WriteContent("same");
  EXPECT_EQ(Calls().size(), 2u);
  WriteContent(nullptr);  // absent counts as empty
  EXPECT_EQ(Calls().size(), 3u);
  EXPECT_EQ(Info(E).text, "");
  for (const HandlerCall& call : Calls()) EXPECT_EQ(call.control, E);
}

TEST_F(EditBox, ContentChangedHandlerSeesTheNewTextAndRunsInsideTheWrite) {
  std::string seen;
  OnCall(kChanged, [&seen](Runtime& rt) {
    PropertyWords words = rt.ReadProperty(kWindowId, E, kContent);
    seen = reinterpret_cast<const char*>(words.low);
    rt.FreeValue(reinterpret_cast<const void*>(words.low));
  });
  Load({WindowRecord(), EditRecord(3).Bind(0, kChanged)});
  WriteContent("http://example.test/");
  EXPECT_EQ(seen, "http://example.test/");
}

TEST_F(EditBox, UserChangesRaiseContentChangedAndReadBackLive) {
  Load({WindowRecord(), EditRecord(3).Bind(0, kChanged)});
  EXPECT_EQ(ReadContent(), std::nullopt);  // empty reads as absent
  sim::TypeText(Handle(E), "12");
  platform::SetFocusTo(Handle(E));
  sim::PressKey('3');
  EXPECT_EQ(Calls().size(), 2u);
  EXPECT_EQ(ReadContent(), "123");
}

TEST_F(EditBox, SingleLineBoxCentresItsTextLine) {
  // The sim's default font is 13 pixels high; a sunken edge takes 2 pixels on each side.
  Load({WindowRecord(), ControlBuilder(EditRecord(3)).At(10, 10, 100, 32)});
  platform::Size client = platform::ClientSizeOf(Handle(E));
  ASSERT_EQ(client.height, 28);
  auto band = Info(E).editTextBand;
  ASSERT_TRUE(band);
  EXPECT_EQ(*band, (std::pair<std::int32_t, std::int32_t>{(28 - 13) / 2, 13}));

  // A click in the band above the line does not give the box the focus.
  platform::SetFocusTo(WindowHandle());
  platform::WindowHandle before = platform::FocusedWindow();
  sim::Click(Handle(E), platform::Point{20, 1});
  EXPECT_EQ(platform::FocusedWindow(), before);
  sim::Click(Handle(E), platform::Point{20, 14});
  EXPECT_EQ(platform::FocusedWindow(), Handle(E));
}

TEST_F(EditBox, ShortSingleLineBoxIsMadeTallEnough) {
  Load({WindowRecord(), ControlBuilder(EditRecord(3)).At(10, 10, 100, 8),
        ControlBuilder(EditRecord(4, [](KindValues& v) { v.SetNumber(ep::MultiLine, 1); }))
            .At(10, 50, 100, 8)});
  // A full-width character (13) plus twice the edge height (2).
  EXPECT_EQ(Info(E).bounds.height, 17);
  EXPECT_EQ(Info(ChildId(4)).bounds.height, 8);  // multi-line boxes keep their height
  EXPECT_FALSE(Info(ChildId(4)).editTextBand);
}

struct StyleCase {
  const char* name;
  Change change;
  std::uint32_t styleSet;
  std::uint32_t styleClear;
  std::uint32_t exSet;
};

class EditBoxStyles : public EditBox, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(EditBoxStyles, CreationStylesFollowTheProperties) {
  Load({WindowRecord(), EditRecord(3, GetParam().change)});
  sim::WindowInfo info = Info(E);
  EXPECT_EQ(info.style & GetParam().styleSet, GetParam().styleSet) << std::hex << info.style;
  EXPECT_EQ(info.style & GetParam().styleClear, 0u) << std::hex << info.style;
  EXPECT_EQ(info.exStyle & GetParam().exSet, GetParam().exSet) << std::hex << info.exStyle;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, EditBoxStyles,
    ::testing::Values(
        StyleCase{"defaults", {}, st::Child | st::ClipSiblings | st::TabStop | es::AutoHScroll,
                  es::NoHideSelection | es::MultiLine | st::Border, ex::ClientEdge},
        StyleCase{"multi_line_with_both_bars",
                  [](KindValues& v) {
                    v.SetNumber(ep::MultiLine, 1);
                    v.SetNumber(ep::ScrollBars, 3);
                  },
                  es::MultiLine | es::AutoVScroll | es::WantReturn | es::AutoHScroll |
                      st::HScroll | st::VScroll,
                  0, 0},
        StyleCase{"multi_line_vertical_bar",
                  [](KindValues& v) {
                    v.SetNumber(ep::MultiLine, 1);
                    v.SetNumber(ep::ScrollBars, 2);
                  },
                  es::MultiLine | st::VScroll, es::AutoHScroll | st::HScroll, 0},
        StyleCase{"keeps_selection_centred_upper",
                  [](KindValues& v) {
                    v.SetNumber(ep::HideSelection, 0);
                    v.SetNumber(ep::Alignment, 1);
                    v.SetNumber(ep::CaseConversion, 2);
                  },
                  es::NoHideSelection | es::Center | es::UpperCase, es::Right | es::LowerCase,
                  0},
        StyleCase{"read_only_single_line_border",
                  [](KindValues& v) {
                    v.SetNumber(ep::InputMode, 1);
                    v.SetNumber(ep::BorderStyle, 5);
                  },
                  es::ReadOnly | st::Border, es::Password, 0},
        StyleCase{"password_right_modal_frame",
                  [](KindValues& v) {
                    v.SetNumber(ep::InputMode, 2);
                    v.SetNumber(ep::Alignment, 2);
                    v.SetNumber(ep::BorderStyle, 2);
                  },
                  es::Password | es::Right, es::ReadOnly, ex::DialogModalFrame}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditBox, LimitPasswordSelectionAndColoursAreApplied) {
  Load({WindowRecord(), EditRecord(3, [](KindValues& v) {
          v.SetNumber(ep::MaxLength, 5);
          v.SetNumber(ep::InputMode, 2);
          v.SetNumber(ep::PasswordChar, '#');
          v.SetNumber(ep::SelectionStart, 1);
          v.SetNumber(ep::SelectionLength, 2);
          v.SetNumber(ep::TextColor, 0x0000FF);
          v.SetNumber(ep::BackColor, 0xFF000000);
          v.SetText(ep::Content, "abcd");
        })});
  sim::WindowInfo info = Info(E);
  EXPECT_EQ(info.text, "abcd");
  EXPECT_EQ(info.editLimit, 5u);
  EXPECT_EQ(info.passwordChar, '#');
  EXPECT_EQ(info.editSelection, (std::pair<std::uint32_t, std::uint32_t>{1, 2}));
  ASSERT_TRUE(info.editColours);
  EXPECT_EQ(*info.editColours,
            (std::pair<platform::Colour, platform::Colour>{0x0000FF, platform::FaceColour()}));

  WriteNumber(8 + ep::MaxLength, 3);
  WriteNumber(8 + ep::BackColor, 0x00ABCDEF);
  EXPECT_EQ(Info(E).editLimit, 3u);
  EXPECT_EQ(Info(E).editColours->second, 0x00ABCDEFu);
}

TEST_F(EditBox, SelectedTextReadsAndReplacesTheSelection) {
  constexpr PropertyNumber kSelectedText = 8 + ep::SelectedText;
  Load({WindowRecord(), EditRecord(3, [](KindValues& v) {
          v.SetText(ep::Content, "abcdef");
          v.SetNumber(ep::SelectionStart, 1);
          v.SetNumber(ep::SelectionLength, 3);
        }).Bind(0, kChanged)});
  PropertyWords words = runtime->ReadProperty(kWindowId, E, kSelectedText);
  EXPECT_STREQ(reinterpret_cast<const char*>(words.low), "bcd");
  runtime->FreeValue(reinterpret_cast<const void*>(words.low));

  runtime->WriteProperty(kWindowId, E, kSelectedText, -1, reinterpret_cast<std::uintptr_t>("X"),
                         0);
  EXPECT_EQ(Info(E).text, "aXef");
  EXPECT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Info(E).editSelection, (std::pair<std::uint32_t, std::uint32_t>{2, 0}));
}

TEST_F(EditBox, CreationOnlyPropertiesRebuildTheBoxKeepingItsText) {
  Load({WindowRecord(), EditRecord(3).Bind(0, kChanged), EditRecord(4)});
  platform::WindowHandle old = Handle(E);
  sim::TypeText(old, "typed");
  Calls().clear();

  WriteNumber(8 + ep::MultiLine, 1);
  platform::WindowHandle rebuilt = Handle(E);
  EXPECT_NE(rebuilt, old);
  EXPECT_FALSE(platform::WindowExists(old));
  EXPECT_NE(Info(E).style & es::MultiLine, 0u);
  EXPECT_EQ(Info(E).text, "typed");
  EXPECT_TRUE(Calls().empty());  // events are held back while the box is rebuilt

  // Writing the value it already has changes nothing.
  WriteNumber(8 + ep::MultiLine, 1);
  EXPECT_EQ(Handle(E), rebuilt);
  // Properties that apply to the live box never rebuild it.
  WriteNumber(8 + ep::SelectionStart, 2);
  EXPECT_EQ(Handle(E), rebuilt);
}

TEST_F(EditBox, ABadBlockFailsTheLoad) {
  auto cut = BlockWith(EditBoxBlockLayout());
  cut.resize(cut.size() - 2);
  sim::AnswerMessageBoxesAutomatically(true);
  int exitCode = 0;
  try {
    Load({WindowRecord(), ControlBuilder(EditRecord(3)).KindBlock(cut)});
  } catch (const sim::ProcessEnded& ended) {
    exitCode = ended.exitCode;
  }
  EXPECT_EQ(exitCode, -1);
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
}

}  // namespace
}  // namespace pelmora::testing
