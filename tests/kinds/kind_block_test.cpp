// The stored property blocks of the window, edit box, label and button kinds, written here by
// hand in stored order so that a wrong field order or width in the kinds' tables shows.
#include "runtime/kinds/kind_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/byte_reader.h"
#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/window_block.h"

namespace pelmora {
namespace {

namespace wp = window_property;
namespace ep = edit_box_property;
namespace lp = label_property;
namespace bp = button_property;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

// A window block of the given version with a distinct value in every field it stores.
std::vector<std::uint8_t> WindowBlock(std::uint32_t version) {
  ByteWriter w;
  w.U32(version);
  w.U32(5);           // BorderStyle
  w.U32(3);           // BackPictureLayout
  w.U32(0x00336699);  // BackColor
  w.U32(1);           // MaxButton
  w.U32(0);           // MinButton
  w.U32(0);           // ControlBox
  w.U32(3);           // Placement
  w.U32(0);           // Movable
  w.U32(2);           // BackMusicPlayMode
  w.U32(1);           // EnterMovesFocus
  w.U32(0);           // EscCloses
  w.U32(1);           // F1OpensHelp
  w.U32(77);          // HelpContext
  if (version >= 2) w.U32(0);   // ShowInTaskbar
  if (version >= 3) w.U32(1);   // DragAnywhere
  if (version >= 3) w.U32(2);   // Shape
  if (version >= 4) w.U32(1);   // AlwaysOnTop
  if (version >= 5) w.U32(1);   // KeepTitleActive
  if (version >= 6) w.CountedText("MyFrame");  // ClassName
  w.CountedBytes(Bytes("pic"));   // BackPicture
  w.CountedBytes(Bytes("icon"));  // Icon
  w.CountedBytes(Bytes("mus"));   // BackMusic
  w.CountedText("Title");         // Caption
  w.CountedText("help.hlp");      // HelpFile
  return w.Take();
}

TEST(WindowBlock, ReadsEveryFieldInStoredOrder) {
  auto values = ReadKindBlock(WindowBlockLayout(), WindowBlock(6));
  ASSERT_TRUE(values);
  const std::vector<std::pair<std::int32_t, std::uint32_t>> numbers = {
      {wp::BorderStyle, 5},  {wp::BackPictureLayout, 3}, {wp::BackColor, 0x00336699},
      {wp::MaxButton, 1},    {wp::MinButton, 0},         {wp::ControlBox, 0},
      {wp::Placement, 3},    {wp::Movable, 0},           {wp::BackMusicPlayMode, 2},
      {wp::EnterMovesFocus, 1}, {wp::EscCloses, 0},      {wp::F1OpensHelp, 1},
      {wp::HelpContext, 77}, {wp::ShowInTaskbar, 0},     {wp::DragAnywhere, 1},
      {wp::Shape, 2},        {wp::AlwaysOnTop, 1},       {wp::KeepTitleActive, 1},
  };
  for (auto [index, expected] : numbers) {
    EXPECT_EQ(values->Number(index), expected) << "own index " << index;
  }
  EXPECT_EQ(values->Text(wp::ClassName), "MyFrame");
  EXPECT_EQ(values->Text(wp::Caption), "Title");
  EXPECT_EQ(values->Text(wp::HelpFile), "help.hlp");
  EXPECT_EQ(values->Data(wp::BackPicture).size(), 3u);
  EXPECT_EQ(values->Data(wp::Icon).size(), 4u);
  EXPECT_EQ(values->Data(wp::BackMusic).size(), 3u);
}

// Fields that an older version lacks keep their defaults; the ones it has are read.
TEST(WindowBlock, OlderVersionsKeepTheDefaultsOfFieldsTheyLack) {
  struct Field {
    std::int32_t index;
    std::uint32_t since;
    std::uint32_t stored;
    std::uint32_t fallback;
  };
  const std::vector<Field> fields = {
      {wp::ShowInTaskbar, 2, 0, 1}, {wp::DragAnywhere, 3, 1, 0}, {wp::Shape, 3, 2, 0},
      {wp::AlwaysOnTop, 4, 1, 0},   {wp::KeepTitleActive, 5, 1, 0},
  };
  for (std::uint32_t version = 0; version <= 6; ++version) {
    auto values = ReadKindBlock(WindowBlockLayout(), WindowBlock(version));
    ASSERT_TRUE(values) << "version " << version;
    for (const Field& field : fields) {
      EXPECT_EQ(values->Number(field.index), version >= field.since ? field.stored : field.fallback)
          << "version " << version << ", own index " << field.index;
    }
    EXPECT_EQ(values->Text(wp::ClassName), version >= 6 ? "MyFrame" : "");
    // The fields after the versioned ones are found at the right place in every version.
    EXPECT_EQ(values->Text(wp::Caption), "Title") << "version " << version;
  }
}

TEST(WindowBlock, EmptyBlockGivesDefaults) {
  auto values = ReadKindBlock(WindowBlockLayout(), {});
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Number(wp::BorderStyle), 2u);
  EXPECT_EQ(values->Number(wp::BackColor), 0xFF000000u);
  EXPECT_EQ(values->Number(wp::Placement), 1u);
  EXPECT_TRUE(values->Flag(wp::MinButton));
  EXPECT_FALSE(values->Flag(wp::MaxButton));
  EXPECT_TRUE(values->Flag(wp::ControlBox));
  EXPECT_TRUE(values->Flag(wp::EscCloses));
  EXPECT_TRUE(values->Flag(wp::ShowInTaskbar));
  EXPECT_TRUE(values->Flag(wp::Movable));
  EXPECT_EQ(values->Text(wp::Caption), "");
}

struct LayoutCase {
  const char* name;
  const BlockLayout& layout;
  std::vector<std::uint8_t> valid;  // a complete block of the latest version
};

std::vector<std::uint8_t> EditBoxBlock(std::uint32_t version);
std::vector<std::uint8_t> LabelBlock(std::uint32_t version);
std::vector<std::uint8_t> ButtonBlock(std::uint32_t version);

std::vector<LayoutCase> AllLayouts() {
  return {
      {"window", WindowBlockLayout(), WindowBlock(6)},
      {"edit box", EditBoxBlockLayout(), EditBoxBlock(2)},
      {"label", LabelBlockLayout(), LabelBlock(2)},
      {"button", ButtonBlockLayout(), ButtonBlock(1)},
  };
}

// A version above the kind's latest, or a block cut anywhere before its last field, is
// refused; a block with bytes after its last field is read.
TEST(KindBlocks, RefuseNewerVersionsAndCutBlocks) {
  for (const LayoutCase& c : AllLayouts()) {
    auto newer = c.valid;
    newer[0] = static_cast<std::uint8_t>(c.layout.latestVersion + 1);
    EXPECT_FALSE(ReadKindBlock(c.layout, newer)) << c.name;
    for (std::size_t length = 1; length < c.valid.size(); ++length) {
      std::vector<std::uint8_t> cut(c.valid.begin(), c.valid.begin() + length);
      EXPECT_FALSE(ReadKindBlock(c.layout, cut)) << c.name << " cut to " << length;
    }
    auto longer = c.valid;
    longer.push_back(0x5A);
    EXPECT_TRUE(ReadKindBlock(c.layout, longer)) << c.name;
  }
}

// Saving writes the latest version with every field, which reads back to the same values,
// whatever version the values came from.
TEST(KindBlocks, SaveWritesTheLatestVersionThatReadsBackTheSame) {
  for (const LayoutCase& c : AllLayouts()) {
    auto values = ReadKindBlock(c.layout, c.valid);
    ASSERT_TRUE(values) << c.name;
    auto saved = WriteKindBlock(c.layout, *values);
    EXPECT_EQ(saved, c.valid) << c.name;
  }
  auto old = ReadKindBlock(WindowBlockLayout(), WindowBlock(1));
  ASSERT_TRUE(old);
  auto saved = WriteKindBlock(WindowBlockLayout(), *old);
  ByteReader reader(saved);
  EXPECT_EQ(reader.U32(), 6u);
  auto again = ReadKindBlock(WindowBlockLayout(), saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Number(wp::ShowInTaskbar), 1u);
  EXPECT_EQ(again->Text(wp::Caption), "Title");
}

std::vector<std::uint8_t> EditBoxBlock(std::uint32_t version) {
  ByteWriter w;
  w.U32(version);
  w.U32(5);           // BorderStyle
  w.U32(0x000000FF);  // TextColor
  w.U32(0x00EEDDCC);  // BackColor
  w.U32(0);           // HideSelection
  w.U32(12);          // MaxLength
  w.U32(1);           // MultiLine
  w.U32(3);           // ScrollBars
  w.U32(2);           // Alignment
  w.U32(2);           // InputMode
  w.U16(0x23);        // PasswordChar '#': 16 bits, the rest is unaligned
  w.U32(1);           // CaseConversion
  w.U32(1);           // SpinMode
  w.I32(-50);         // SpinMinimum
  w.I32(50);          // SpinMaximum
  w.U32(1);           // SelectionStart
  w.U32(3);           // SelectionLength
  w.CountedBytes({});  // Font: none
  w.CountedText("abc");  // Content
  if (version >= 2) {
    w.CountedText("src");  // DataSource
    w.CountedText("col");  // DataColumn
  }
  return w.Take();
}

TEST(EditBoxBlock, ReadsTheUnalignedFieldsAfterThePasswordCharacter) {
  auto values = ReadKindBlock(EditBoxBlockLayout(), EditBoxBlock(2));
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Number(ep::PasswordChar), 0x23u);
  EXPECT_EQ(values->Number(ep::CaseConversion), 1u);
  EXPECT_EQ(static_cast<std::int32_t>(values->Number(ep::SpinMinimum)), -50);
  EXPECT_EQ(values->Number(ep::SpinMaximum), 50u);
  EXPECT_EQ(values->Number(ep::SelectionLength), 3u);
  EXPECT_EQ(values->Text(ep::Content), "abc");
  EXPECT_EQ(values->Text(ep::DataColumn), "col");
  EXPECT_EQ(values->Number(ep::BackColor), 0x00EEDDCCu);

  auto version1 = ReadKindBlock(EditBoxBlockLayout(), EditBoxBlock(1));
  ASSERT_TRUE(version1);
  EXPECT_EQ(version1->Text(ep::Content), "abc");
  EXPECT_EQ(version1->Text(ep::DataSource), "");
}

TEST(EditBoxBlock, DefaultsOfAnEmptyBlock) {
  auto values = ReadKindBlock(EditBoxBlockLayout(), {});
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Number(ep::BorderStyle), 1u);
  EXPECT_EQ(values->Number(ep::BackColor), 0xFFFFFFu);
  EXPECT_EQ(values->Number(ep::PasswordChar), 42u);
  EXPECT_EQ(values->Number(ep::SpinMaximum), 100u);
  EXPECT_TRUE(values->Flag(ep::HideSelection));
  EXPECT_EQ(values->Text(ep::Content), "");
}

std::vector<std::uint8_t> LabelBlock(std::uint32_t version) {
  ByteWriter w;
  w.U32(version);
  w.U32(3);           // TextEffect (9)
  w.U32(4);           // GradientBorderWidth (11)
  w.U32(6);           // BorderStyle (10)
  w.U32(0x000001);    // GradientBorderColor1
  w.U32(0x000002);    // GradientBorderColor2
  w.U32(0x000003);    // GradientBorderColor3
  w.U32(0x0000FF);    // TextColor
  w.U32(0x00FF00);    // BackColor
  w.U32(2);           // BackPictureLayout
  w.U32(5);           // GradientBackMode
  w.U32(0x000011);    // GradientBackColor1
  w.U32(0x000012);    // GradientBackColor2
  w.U32(0x000013);    // GradientBackColor3
  w.U32(2);           // HorizontalAlignment (24)
  w.U32(0);           // VerticalAlignment (26)
  w.U32(1);           // WordWrap (25)
  w.CountedBytes({});            // Font
  w.CountedBytes(Bytes("bmp"));  // BackPicture
  w.CountedText("Name:");        // Text
  if (version >= 2) {
    w.CountedText("");
    w.CountedText("");
  }
  return w.Take();
}

TEST(LabelBlock, StoredOrderDiffersFromPropertyNumbers) {
  auto values = ReadKindBlock(LabelBlockLayout(), LabelBlock(2));
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Number(lp::TextEffect), 3u);
  EXPECT_EQ(values->Number(lp::GradientBorderWidth), 4u);
  EXPECT_EQ(values->Number(lp::BorderStyle), 6u);
  EXPECT_EQ(values->Number(lp::HorizontalAlignment), 2u);
  EXPECT_EQ(values->Number(lp::VerticalAlignment), 0u);
  EXPECT_EQ(values->Number(lp::WordWrap), 1u);
  EXPECT_EQ(values->Number(lp::GradientBackColor3), 0x13u);
  EXPECT_EQ(values->Text(lp::Text), "Name:");

  auto defaults = ReadKindBlock(LabelBlockLayout(), {});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->Text(lp::Text), "\xB1\xEA\xC7\xA9");  // 标签
  EXPECT_EQ(defaults->Number(lp::VerticalAlignment), 1u);
  EXPECT_EQ(defaults->Number(lp::BackColor), 0xFF000000u);
}

std::vector<std::uint8_t> ButtonBlock(std::uint32_t version) {
  ByteWriter w;
  w.U32(version);
  w.U32(1);  // ButtonType
  w.U32(0);  // HorizontalAlignment
  w.U32(2);  // VerticalAlignment
  w.CountedBytes({});                       // Picture
  w.CountedBytes(std::vector<std::uint8_t>(60, 7));  // Font
  w.CountedText("&Go");                     // Caption
  return w.Take();
}

TEST(ButtonBlock, ReadsFieldsAndDefaults) {
  auto values = ReadKindBlock(ButtonBlockLayout(), ButtonBlock(1));
  ASSERT_TRUE(values);
  EXPECT_EQ(values->Number(bp::ButtonType), 1u);
  EXPECT_EQ(values->Number(bp::VerticalAlignment), 2u);
  EXPECT_EQ(values->Data(bp::Font).size(), 60u);
  EXPECT_EQ(values->Text(bp::Caption), "&Go");

  auto defaults = ReadKindBlock(ButtonBlockLayout(), {});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->Text(bp::Caption), "\xB0\xB4\xC5\xA5");  // 按钮
  EXPECT_EQ(defaults->Number(bp::HorizontalAlignment), 1u);
}

TEST(KindValues, LogicalsHoldZeroOrOneAndUnknownIndexesAreRefused) {
  KindValues values(WindowBlockLayout());
  values.SetNumber(wp::EscCloses, 2);
  EXPECT_EQ(values.Number(wp::EscCloses), 1u);

  OwnValue written;
  written.low = 0x12345;
  EXPECT_FALSE(values.Store(40, written));
  OwnValue read;
  EXPECT_FALSE(values.Load(-1, read));
  EXPECT_EQ(read.low, 0u);

  OwnValue text;
  text.text = "new caption";
  ASSERT_TRUE(values.Store(wp::Caption, text));
  OwnValue back;
  ASSERT_TRUE(values.Load(wp::Caption, back));
  EXPECT_STREQ(back.text, "new caption");
}

TEST(KindValues, AFontKeepsItsRecordUnlessAWholeOneIsWritten) {
  auto values = ReadKindBlock(ButtonBlockLayout(), ButtonBlock(1));
  ASSERT_TRUE(values);
  OwnValue inParts;
  inParts.low = 5;
  EXPECT_TRUE(values->Store(bp::Font, inParts));
  EXPECT_EQ(values->Data(bp::Font).size(), 60u);

  const std::uint8_t shorter[] = {1, 2, 3};
  OwnValue whole;
  whole.bytes = shorter;
  whole.byteCount = sizeof shorter;
  EXPECT_TRUE(values->Store(bp::Font, whole));
  EXPECT_EQ(values->Data(bp::Font).size(), 3u);
  EXPECT_FALSE(FontFromData(values->Data(bp::Font)).logFont);
}

TEST(FontData, OnlyAWholeFontRecordIsUsed) {
  for (std::size_t length : {0u, 1u, 59u, 61u, 120u}) {
    std::vector<std::uint8_t> data(length, 1);
    EXPECT_FALSE(FontFromData(data).logFont) << length << " bytes";
  }
  std::vector<std::uint8_t> record(60);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i);
  auto font = FontFromData(record);
  ASSERT_TRUE(font.logFont);
  EXPECT_EQ((*font.logFont)[59], 59);
}

}  // namespace
}  // namespace pelmora
