// The button kind on the simulated platform: clicks, the double-click order, keys, styles and
// its Caption and Picture properties.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/kinds/button_kind.h"
#include "tests/kinds/standard_kinds_fixture.h"

namespace pelmora::testing {
namespace {

namespace bp = button_property;
namespace bs = vocab::button_style;
namespace vk = vocab::vk;

const ControlId B = ChildId(3);
enum : std::uint32_t { kClicked = 1, kDoubleClick, kDown, kUp };

using Button = StandardKindsTest;

TEST_F(Button, DoubleClickRunsClickedDoubleClickClicked) {
  Load({WindowRecord(), ButtonRecord(3).Bind(0, kClicked).Bind(-3, kDoubleClick).Bind(-1, kDown)
                            .Bind(-2, kUp)});
  sim::DoubleClick(Handle(B));
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kDown, kUp, kClicked, kDoubleClick, kUp,
                                                      kClicked}));
}

TEST_F(Button, FalseFromDoubleClickSwallowsTheSecondPressAndItsClick) {
  Answer(kDoubleClick, 0u);
  Load({WindowRecord(), ButtonRecord(3).Bind(0, kClicked).Bind(-3, kDoubleClick)});
  sim::DoubleClick(Handle(B));
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked, kDoubleClick}));
  EXPECT_FALSE(Info(B).pressed);
}

TEST_F(Button, SpaceClicksOnceAndEnterOnAPlainButtonDoesNothing) {
  Load({WindowRecord(), ButtonRecord(3).Bind(0, kClicked)});
  ASSERT_EQ(platform::FocusedWindow(), Handle(B));
  sim::PressKey(vk::Space);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
  sim::PressKey(vk::Return);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
}

TEST_F(Button, EnterOnAFocusedDefaultButtonClicksIt) {
  Load({WindowRecord(),
        ButtonRecord(3, [](KindValues& v) { v.SetNumber(bp::ButtonType, 1); }).Bind(0, kClicked)});
  sim::PressKey(vk::Return);
  EXPECT_EQ(References(), (std::vector<std::uint32_t>{kClicked}));
}

TEST_F(Button, ReleaseOutsideTheButtonDoesNotClick) {
  Load({WindowRecord(), ButtonRecord(3).Bind(0, kClicked)});
  sim::MouseDown(Handle(B));
  sim::MouseUp(Handle(B), platform::Point{-5, -5});
  EXPECT_TRUE(Calls().empty());
}

struct StyleCase {
  const char* name;
  Change change;
  std::uint32_t set;
  std::uint32_t clear;
};

class ButtonStyles : public Button, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(ButtonStyles, CreationStylesFollowTheProperties) {
  Load({WindowRecord(), ButtonRecord(3, GetParam().change)});
  std::uint32_t style = Info(B).style;
  EXPECT_EQ(style & GetParam().set, GetParam().set) << std::hex << style;
  EXPECT_EQ(style & GetParam().clear, 0u) << std::hex << style;
  EXPECT_EQ(style & bs::Notify, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ButtonStyles,
    ::testing::Values(
        StyleCase{"defaults", {},
                  vocab::style::Child | vocab::style::ClipSiblings | bs::MultiLine | bs::Center |
                      bs::VCenter,
                  bs::DefPushButton},
        StyleCase{"default_left_top",
                  [](KindValues& v) {
                    v.SetNumber(bp::ButtonType, 1);
                    v.SetNumber(bp::HorizontalAlignment, 0);
                    v.SetNumber(bp::VerticalAlignment, 0);
                  },
                  bs::DefPushButton | bs::Left | bs::Top, bs::Right | bs::Bottom},
        StyleCase{"right_bottom",
                  [](KindValues& v) {
                    v.SetNumber(bp::HorizontalAlignment, 2);
                    v.SetNumber(bp::VerticalAlignment, 2);
                  },
                  bs::Right | bs::Bottom, bs::Left | bs::Top}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Button, CaptionWriteShowsAndFontFallsBackUnlessWhole) {
  std::vector<std::uint8_t> font(60, 0);
  font[0] = 20;  // lfHeight
  Load({WindowRecord(), ButtonRecord(3, [&](KindValues& v) { v.SetData(bp::Font, font); }),
        ButtonRecord(4, [](KindValues& v) {
          v.SetData(bp::Font, std::vector<std::uint8_t>(59, 1));
        })});
  EXPECT_EQ(Info(B).text, "\xB0\xB4\xC5\xA5");  // 按钮
  EXPECT_TRUE(Info(B).font.logFont);
  EXPECT_FALSE(Info(ChildId(4)).font.logFont);
  // A font written in parts (two words) leaves the whole font as it was.
  runtime->WriteProperty(kWindowId, B, 13, -1, 5, 0);
  EXPECT_TRUE(Info(B).font.logFont);
  PropertyWords fontWords = runtime->ReadProperty(kWindowId, B, 13);
  EXPECT_EQ(fontWords.low, 0u);

  runtime->WriteProperty(kWindowId, B, 10, -1, reinterpret_cast<std::uintptr_t>("Stop"), 0);
  EXPECT_EQ(Info(B).text, "Stop");
  PropertyWords words = runtime->ReadProperty(kWindowId, B, 10);
  EXPECT_STREQ(reinterpret_cast<const char*>(words.low), "Stop");
  runtime->FreeValue(reinterpret_cast<const void*>(words.low));
}

TEST_F(Button, PictureWriteRebuildsTheButton) {
  Load({WindowRecord(), ButtonRecord(3)});
  platform::WindowHandle old = Handle(B);
  // A byte-data value: u32 1, u32 byte count, then an icon file's bytes.
  const std::uint8_t value[] = {1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 1, 0, 1, 0};
  runtime->WriteProperty(kWindowId, B, 8, -1, reinterpret_cast<std::uintptr_t>(value), 0);
  EXPECT_NE(Handle(B), old);
  EXPECT_NE(Info(B).style & bs::Icon, 0u);
}

}  // namespace
}  // namespace pelmora::testing
