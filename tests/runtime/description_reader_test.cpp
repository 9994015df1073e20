// The description reader and writer: every field of a block assembled by hand, the exact bytes
// back, and every kind of broken block (run under the asan preset: no read outside the block).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "runtime/byte_reader.h"
#include "runtime/description.h"
#include "tests/support/description_builder.h"

namespace pelmora {
namespace {

HandlerResult First(Runtime&, std::span<const std::uint32_t>) { return std::nullopt; }
HandlerResult Second(Runtime&, std::span<const std::uint32_t>) { return 2u; }

const HandlerEntry kHandlers[] = {{0x10, &First}, {0x20, &Second}};

// A one-window block written field by field, independently of WriteDescriptionBlock, with the
// offset of every field a test wants to break.
struct AssembledBlock {
  std::vector<std::uint8_t> bytes;
  std::map<std::string, std::size_t> at;
};

AssembledBlock AssembleBlock() {
  // The control buffer first, so that its length is known.
  ByteWriter records;
  std::map<std::string, std::size_t> inRecords;

  // Record 0: the window itself.
  const std::size_t window = records.Size();
  records.U32(0);  // length, patched below
  records.U32(kind_ids::Window);
  records.U32(0);                                   // binding source
  for (std::uint32_t r : {1u, 2u, 3u, 4u}) records.U32(r);  // reserved, kept
  records.ZeroTerminatedText("");
  records.ZeroTerminatedText("second");
  records.U32(0xAABBCCDD);  // stored LiveObject, kept
  records.I32(-5);
  records.I32(7);
  records.I32(400);
  records.I32(300);
  records.U32(0x11223344);  // stored LiveCursor, kept
  records.U32(0);           // container
  records.U32(0);           // no children
  records.CountedBytes(std::vector<std::uint8_t>{0, 0, 0, 0});
  records.ZeroTerminatedText("wtag");
  records.U32(9);  // reserved after the tag
  records.U32(state_flag::Visible);
  records.I32(0);
  records.U32(2);  // bindings
  records.I32(0);
  records.U32(0x10);
  records.I32(3);
  records.U32(kNoHandler);
  for (int i = 0; i < 20; ++i) records.Bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)});
  records.Bytes(std::vector<std::uint8_t>{0xE1, 0xE2});  // kind block
  records.PatchU32(window, static_cast<std::uint32_t>(records.Size() - window - 4));

  // Record 1: a control inside the window, bound to the second routine.
  const std::size_t control = records.Size();
  inRecords["control record"] = control;
  records.U32(0);
  records.U32(kind_ids::Button);
  records.U32(0x16010004);
  for (int r = 0; r < 4; ++r) records.U32(0);
  records.ZeroTerminatedText("\xB0\xB4\xC5\xA5" "1");  // 按钮1
  records.ZeroTerminatedText("");
  records.U32(0);
  records.I32(10);
  records.I32(20);
  records.I32(30);
  records.I32(40);
  records.U32(0);
  records.U32(0x16010004);
  inRecords["child count"] = records.Size();
  records.U32(3);
  for (std::uint32_t id : {0x16010005u, 0u, 0x16010006u}) records.U32(id);
  inRecords["pointer count"] = records.Size();
  records.CountedBytes(std::vector<std::uint8_t>{1, 0, 0, 0, 0xFF});
  records.ZeroTerminatedText("");
  records.U32(0);
  records.U32(state_flag::Disabled | state_flag::TabStop);
  records.I32(-2);
  inRecords["binding count"] = records.Size();
  records.U32(1);
  records.I32(-3);
  inRecords["handler reference"] = records.Size();
  records.U32(0x20);
  for (int i = 0; i < 20; ++i) records.Bytes(std::vector<std::uint8_t>{0});
  records.PatchU32(control, static_cast<std::uint32_t>(records.Size() - control - 4));

  // Record 2: a menu item, kept as bytes.
  const std::size_t menu = records.Size();
  records.CountedBytes(std::vector<std::uint8_t>{0xDE, 0xAD});

  ByteWriter out;
  AssembledBlock block;
  block.at["table length"] = out.Size();
  out.U32(8);
  out.U32(0x52010001);
  out.U32(0x77);  // placeholder, kept
  out.U32(0x021B7E18);
  out.U32(0x1901000A);
  out.CountedText("");
  out.CountedText("t2");
  block.at["control count"] = out.Size();
  out.U32(3);
  block.at["buffer length"] = out.Size();
  out.U32(static_cast<std::uint32_t>(3 * 8 + records.Size()));
  const std::size_t buffer = out.Size();
  for (std::uint32_t id : {0x06010000u, 0x16010003u, 0x26010007u}) out.U32(id);
  block.at["offset 1"] = out.Size() + 4;
  for (std::size_t offset : {window, control, menu}) out.U32(static_cast<std::uint32_t>(offset));
  const std::size_t recordsStart = out.Size();
  out.Bytes(records.Data());
  for (const auto& [name, offset] : inRecords) block.at[name] = recordsStart + offset;
  block.at["control length"] = recordsStart + control;
  (void)buffer;
  block.bytes = out.Take();
  return block;
}

void PatchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(DescriptionReader, ReadsEveryFieldAndResolvesHandlers) {
  const auto block = AssembleBlock();
  auto result = ReadDescriptionBlock(block.bytes, kHandlers);
  ASSERT_TRUE(result.Ok()) << result.error->reason << " at " << result.error->offset;
  ASSERT_EQ(result.windows.size(), 1u);
  const WindowDescription& window = result.windows[0];
  EXPECT_EQ(window.windowId, 0x52010001u);
  EXPECT_EQ(window.placeholder, 0x77u);
  EXPECT_EQ(window.firstValue, 0x021B7E18u);
  EXPECT_EQ(window.secondValue, 0x1901000Au);
  EXPECT_EQ(window.firstText, "");
  EXPECT_EQ(window.secondText, "t2");
  ASSERT_EQ(window.records.size(), 3u);

  const ControlDescription& own = window.records[0].description;
  EXPECT_EQ(window.records[0].controlId, 0x06010000u);
  EXPECT_EQ(own.kind, kind_ids::Window);
  EXPECT_EQ(own.reserved, (std::array<std::uint32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(own.secondText, "second");
  EXPECT_EQ(own.storedLiveObject, 0xAABBCCDDu);
  EXPECT_EQ(own.storedLiveCursor, 0x11223344u);
  EXPECT_EQ(own.left, -5);
  EXPECT_EQ(own.height, 300);
  EXPECT_EQ(own.tag, "wtag");
  EXPECT_EQ(own.reservedAfterTag, 9u);
  EXPECT_EQ(own.reservedTail[19], 19);
  EXPECT_EQ(own.kindBlock, (std::vector<std::uint8_t>{0xE1, 0xE2}));
  ASSERT_EQ(own.bindings.size(), 2u);
  EXPECT_EQ(own.bindings[0].handler, &First);
  EXPECT_EQ(own.bindings[1].eventNumber, 3);
  EXPECT_EQ(own.bindings[1].handler, nullptr);

  const ControlDescription& button = window.records[1].description;
  EXPECT_EQ(button.name, "\xB0\xB4\xC5\xA5" "1");
  EXPECT_EQ(button.bindingSourceId, 0x16010004u);
  EXPECT_EQ(button.containerId, 0x16010004u);
  EXPECT_EQ(button.childIds, (std::vector<ControlId>{0x16010005, 0, 0x16010006}));
  EXPECT_EQ(button.mousePointer, (std::vector<std::uint8_t>{1, 0, 0, 0, 0xFF}));
  EXPECT_EQ(button.stateFlags, state_flag::Disabled | state_flag::TabStop);
  EXPECT_EQ(button.tabOrder, -2);
  ASSERT_EQ(button.bindings.size(), 1u);
  EXPECT_EQ(button.bindings[0].handler, &Second);
  EXPECT_TRUE(button.kindBlock.empty());

  EXPECT_TRUE(window.records[2].IsMenuItem());
  EXPECT_EQ(window.records[2].menuItemBytes, (std::vector<std::uint8_t>{0xDE, 0xAD}));

  EXPECT_EQ(WriteDescriptionBlock(result.windows), block.bytes);
}

TEST(DescriptionReader, EveryTruncationFails) {
  const auto block = AssembleBlock();
  for (std::size_t length = 0; length < block.bytes.size(); ++length) {
    // A copy of exactly that length, so that ASan sees any read past it.
    std::vector<std::uint8_t> cut(block.bytes.begin(), block.bytes.begin() + length);
    auto result = ReadDescriptionBlock(cut, kHandlers);
    EXPECT_FALSE(result.Ok()) << "cut at " << length;
    EXPECT_TRUE(result.windows.empty());
  }
}

struct Corruption {
  const char* field;
  std::uint32_t value;
  std::string reason;
};

class DescriptionReaderCorruption : public ::testing::TestWithParam<Corruption> {};

TEST_P(DescriptionReaderCorruption, Fails) {
  auto block = AssembleBlock();
  ASSERT_TRUE(block.at.contains(GetParam().field));
  PatchU32(block.bytes, block.at[GetParam().field], GetParam().value);
  auto result = ReadDescriptionBlock(block.bytes, kHandlers);
  ASSERT_FALSE(result.Ok());
  EXPECT_TRUE(result.windows.empty());
  EXPECT_EQ(result.error->reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    BadCountsOffsetsAndLengths, DescriptionReaderCorruption,
    ::testing::Values(Corruption{"table length", 12, "window table length is not a multiple of 8"},          // not a multiple of 8
                      Corruption{"table length", 16, "the data ends inside a field"},          // two windows, one stored
                      Corruption{"table length", 0xFFFFFFF8, "window table runs past the block"},  // far past the end
                      Corruption{"control count", 4, "a record lies outside its control buffer"},          // more records than stored
                      Corruption{"control count", 0x7FFFFFFF, "control count runs past the buffer"},
                      Corruption{"buffer length", 0xFFFFFFFF, "the data ends inside a field"},
                      Corruption{"offset 1", 0x10000, "a record lies outside its control buffer"},         // record outside the buffer
                      Corruption{"offset 1", 0xFFFFFFFF, "a record lies outside its control buffer"},
                      Corruption{"control length", 0xFFFFFFF0, "a record lies outside its control buffer"},  // overruns its buffer
                      Corruption{"control length", 40, "the data ends inside a field"},        // shorter than its fields
                      Corruption{"child count", 0x40000000, "child count runs past the record"},
                      Corruption{"pointer count", 0xFFFFFFFF, "the data ends inside a field"},
                      Corruption{"binding count", 0x20000000, "binding count runs past the record"},
                      Corruption{"binding count", 2, "the data ends inside a field"},          // eats the reserved bytes
                      Corruption{"handler reference", 0x30, "a binding names no routine of the program"}),  // names no routine
    [](const auto& info) { return "Row" + std::to_string(info.index); });

TEST(DescriptionReader, BytesLeftOverFail) {
  auto block = AssembleBlock();
  block.bytes.push_back(0);
  EXPECT_FALSE(ReadDescriptionBlock(block.bytes, kHandlers).Ok());
}

TEST(DescriptionReader, EmptyTableAndNegativeTextLengths) {
  EXPECT_TRUE(ReadDescriptionBlock(std::vector<std::uint8_t>{0, 0, 0, 0}, kHandlers).Ok());
  EXPECT_FALSE(ReadDescriptionBlock(std::vector<std::uint8_t>{}, kHandlers).Ok());

  // A window text with a length of 0 or less is empty and takes no bytes.
  ByteWriter out;
  out.U32(8);
  out.U32(0x52010001);
  out.U32(0);
  out.U32(0);
  out.U32(0);
  out.I32(-1);
  out.I32(-100);
  out.U32(0);
  out.U32(0);
  auto result = ReadDescriptionBlock(out.Data(), kHandlers);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.windows[0].firstText, "");
  EXPECT_EQ(result.windows[0].secondText, "");
  EXPECT_TRUE(result.windows[0].records.empty());
}

TEST(DescriptionReader, BuiltBlocksOfSeveralWindowsComeBackUnchanged) {
  using testing::ControlBuilder;
  std::vector<WindowDescription> windows = {
      testing::WindowOf(0x52010001,
                        {ControlBuilder(0x06010000, kind_ids::Window).At(1, 2, 3, 4).Bind(0, 0x10),
                         ControlBuilder(0x16010003, kind_ids::Timer).Name("t").KindBlock({1, 0, 0, 0})}),
      testing::WindowOf(0x52010002, {ControlBuilder(0x06010000, kind_ids::Window).Tag("x").Bind(-3, 0x20)}),
  };
  const auto bytes = testing::BuildBlock(windows);
  auto result = ReadDescriptionBlock(bytes, kHandlers);
  ASSERT_TRUE(result.Ok());
  windows[0].records[0].description.bindings[0].handler = &First;
  windows[1].records[0].description.bindings[0].handler = &Second;
  EXPECT_EQ(result.windows, windows);
  EXPECT_EQ(WriteDescriptionBlock(result.windows), bytes);
}

TEST(DescriptionReader, FindRecordTriesTheFirstThenSearchesFromTheStart) {
  std::vector<ControlRecord> records(3);
  records[0].controlId = 5;
  records[1].controlId = 7;
  records[2].controlId = 7;
  EXPECT_EQ(FindRecord(records, 5), 0u);
  EXPECT_EQ(FindRecord(records, 7), 1u);
  EXPECT_EQ(FindRecord(records, 9), std::nullopt);
}

}  // namespace
}  // namespace pelmora
