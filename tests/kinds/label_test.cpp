// The label kind on the simulated platform: opaque painting, text flags and effects, edges and
// its Text property.
#include <gtest/gtest.h>

#include "runtime/kinds/label_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace lp = label_property;
namespace dt = vocab::dt;
const ControlId L = ChildId(3);

using Label = StandardKindsTest;

TEST_F(Label, PaintsItsOwnFaceColouredBackgroundOnAFaceColouredWindow) {
  Load({WindowRecord(), LabelRecord(3)});
  sim::PaintRecord paint = sim::PaintNow(Handle(L));
  platform::Size client = platform::ClientSizeOf(Handle(L));
  ASSERT_EQ(paint.fills.size(), 1u);
  EXPECT_EQ(paint.fills[0].first, (platform::Rect{0, 0, client.width, client.height}));
  EXPECT_EQ(paint.fills[0].second, platform::FaceColour());
  ASSERT_EQ(paint.texts.size(), 1u);
  EXPECT_EQ(paint.texts[0].text, "\xB1\xEA\xC7\xA9");  // 标签, the default text
  EXPECT_EQ(paint.texts[0].colour, 0x000000u);
}

struct FlagCase {
  const char* name;
  std::uint32_t horizontal, vertical, wordWrap;
  std::uint32_t flags;
};

class LabelFlags : public Label, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(LabelFlags, TextIsDrawnWithTheAlignmentFlags) {
  const FlagCase& c = GetParam();
  Load({WindowRecord(), LabelRecord(3, [&](KindValues& v) {
          v.SetNumber(lp::HorizontalAlignment, c.horizontal);
          v.SetNumber(lp::VerticalAlignment, c.vertical);
          v.SetNumber(lp::WordWrap, c.wordWrap);
        })});
  sim::PaintRecord paint = sim::PaintNow(Handle(L));
  ASSERT_EQ(paint.texts.size(), 1u);
  EXPECT_EQ(paint.texts[0].flags, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, LabelFlags,
    ::testing::Values(
        FlagCase{"left_top", 0, 0, 0, dt::NoClip | dt::SingleLine},
        FlagCase{"centre_centre", 1, 1, 0, dt::NoClip | dt::Center | dt::SingleLine | dt::VCenter},
        FlagCase{"right_bottom", 2, 2, 0, dt::NoClip | dt::Right | dt::SingleLine | dt::Bottom},
        FlagCase{"wrapped", 1, 2, 1, dt::NoClip | dt::Center | dt::WordBreak | dt::VCenter}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Label, TextEffectsDrawTheirCopyInOrder) {
  struct Drawn {
    std::int32_t offset;
    platform::Colour colour;
  };
  struct Case {
    std::uint32_t effect;
    std::vector<Drawn> drawn;
  };
  const platform::Colour text = 0x0000FF;
  const std::vector<Case> cases = {
      {0, {{0, text}}},
      {1, {{1, 0xFFFFFF}, {0, text}}},
      {2, {{0, 0xFFFFFF}, {1, text}}},
      {3, {{2, 0x000000}, {0, text}}},
  };
  for (const Case& c : cases) {
    SetUp();
    Load({WindowRecord(), LabelRecord(3, [&](KindValues& v) {
            v.SetNumber(lp::TextEffect, c.effect);
            v.SetNumber(lp::TextColor, text);
          })});
    sim::PaintRecord paint = sim::PaintNow(Handle(L));
    ASSERT_EQ(paint.texts.size(), c.drawn.size()) << "effect " << c.effect;
    for (std::size_t i = 0; i < c.drawn.size(); ++i) {
      EXPECT_EQ(paint.texts[i].area.left, c.drawn[i].offset) << "effect " << c.effect;
      EXPECT_EQ(paint.texts[i].area.top, c.drawn[i].offset) << "effect " << c.effect;
      EXPECT_EQ(paint.texts[i].colour, c.drawn[i].colour) << "effect " << c.effect;
    }
  }
}

TEST_F(Label, EmptyTextOnlyFillsAndGradientsFallBackToTheBackColour) {
  Load({WindowRecord(), LabelRecord(3, [](KindValues& v) {
          v.SetText(lp::Text, "");
          v.SetNumber(lp::BackColor, 0x00112233);
          v.SetNumber(lp::GradientBackMode, 3);
        })});
  sim::PaintRecord paint = sim::PaintNow(Handle(L));
  ASSERT_EQ(paint.fills.size(), 1u);
  EXPECT_EQ(paint.fills[0].second, 0x00112233u);
  EXPECT_TRUE(paint.texts.empty());
}

TEST_F(Label, TextWriteShowsAndReadsBackTheStoredText) {
  Load({WindowRecord(), LabelRecord(3, [](KindValues& v) { v.SetNumber(lp::BorderStyle, 1); })});
  EXPECT_NE(Info(L).exStyle & vocab::exstyle::ClientEdge, 0u);
  runtime->WriteProperty(kWindowId, L, 8, -1, reinterpret_cast<std::uintptr_t>("Interval"), 0);
  EXPECT_EQ(Info(L).text, "Interval");
  EXPECT_EQ(sim::PaintNow(Handle(L)).texts.at(0).text, "Interval");
  PropertyWords words = runtime->ReadProperty(kWindowId, L, 8);
  EXPECT_STREQ(reinterpret_cast<const char*>(words.low), "Interval");
  runtime->FreeValue(reinterpret_cast<const void*>(words.low));

  runtime->WriteProperty(kWindowId, L, 8 + lp::BorderStyle, -1, 5, 0);
  EXPECT_EQ(Info(L).exStyle & vocab::exstyle::ClientEdge, 0u);
  EXPECT_NE(Info(L).style & vocab::style::Border, 0u);
}

}  // namespace
}  // namespace pelmora::testing
