// The form compiler and dumper: the program's own description, round trips of unusual
// blocks, and the messages for bad input.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "refresher/handlers.h"
#include "refresher/program.h"
#include "runtime/description.h"
#include "tools/form/form_tools.h"

namespace pelmora::form {
namespace {

std::vector<NamedRoutine> Routines() {
  std::vector<NamedRoutine> routines;
  for (const auto& named : refresher::NamedHandlers()) routines.push_back({named.reference, named.name});
  return routines;
}

std::vector<std::uint8_t> Compile(const std::string& source) {
  auto result = CompileForm(source, Routines());
  if (auto* error = std::get_if<FormError>(&result)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<std::vector<std::uint8_t>>(result);
}

std::string Dump(std::span<const std::uint8_t> block) {
  auto result = DumpForm(block, Routines());
  if (auto* error = std::get_if<FormError>(&result)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<std::string>(result);
}

TEST(ProgramDescription, HasTheStoredSizesAndComesBackFromItsDump) {
  std::span<const std::uint8_t> block = refresher::MainWindowBlock();
  EXPECT_EQ(block.size(), 1854u);
  // The control buffer's byte length follows the window table, the window's two values, its
  // two empty texts and its record count.
  ASSERT_GE(block.size(), 36u);
  std::uint32_t bufferLength = block[32] | block[33] << 8 | block[34] << 16 | block[35] << 24;
  EXPECT_EQ(bufferLength, 1818u);
  EXPECT_EQ(Compile(Dump(block)), std::vector<std::uint8_t>(block.begin(), block.end()));
}

TEST(ProgramDescription, ReadsAsTheMainWindowWithItsNineControls) {
  DescriptionReadResult read = ReadDescriptionBlock(refresher::MainWindowBlock(), refresher::HandlerTable());
  ASSERT_TRUE(read.Ok());
  ASSERT_EQ(read.windows.size(), 1u);
  const WindowDescription& window = read.windows[0];
  EXPECT_EQ(window.windowId, 0x52010001u);
  EXPECT_EQ(window.firstValue, 0x021B7E18u);
  EXPECT_EQ(window.secondValue, 0x1901000Au);
  const std::vector<std::pair<ControlId, std::string>> expected = {
      {0x06010000, ""},
      {0x16010016, "\xCA\xB1\xD6\xD3" "2"},  // 时钟2
      {0x1601000C, "\xCA\xB1\xD6\xD3" "1"},  // 时钟1
      {0x16010009, "\xB0\xB4\xC5\xA5" "2"},  // 按钮2
      {0x16010008, "\xB0\xB4\xC5\xA5" "1"},  // 按钮1
      {0x16010007, "\xB1\xE0\xBC\xAD\xBF\xF2" "2"},  // 编辑框2
      {0x16010006, "\xB1\xEA\xC7\xA9" "2"},  // 标签2
      {0x16010005, "\xB1\xEA\xC7\xA9" "1"},  // 标签1
      {0x16010004, "\xB1\xE0\xBC\xAD\xBF\xF2" "1"},  // 编辑框1
      {0x16010003, "\xB3\xAC\xCE\xC4\xB1\xBE\xE4\xAF\xC0\xC0\xBF\xF2" "1"},  // 超文本浏览框1
  };
  ASSERT_EQ(window.records.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(window.records[i].controlId, expected[i].first) << i;
    EXPECT_EQ(window.records[i].description.name, expected[i].second) << i;
  }
  // The start button: Clicked and DoubleClick bound to their routines.
  const auto& startBindings = window.records[4].description.bindings;
  ASSERT_EQ(startBindings.size(), 2u);
  EXPECT_EQ(startBindings[0].handler, &refresher::StartButtonClicked);
  EXPECT_EQ(startBindings[1].eventNumber, -3);
  EXPECT_EQ(startBindings[1].handler, &refresher::StartButtonDoubleClicked);
}

// Blocks that use what the program's own description leaves at its defaults.
TEST(FormRoundTrip, KeepsEveryStoredField) {
  const std::string source =
      "window 0x52010002\n"
      "  placeholder 7\n"
      "  values 1 2\n"
      "  texts \"one\" \"\\x80\\xFFtwo\"\n"
      "control 0x06010000 window\n"
      "  name \"\"\n"
      "  place -5 10 200 100\n"
      "  flags visible disabled 0x00000100\n"
      "  taborder -2\n"
      "  binding-source 0x16010009\n"
      "  container 0x16010003\n"
      "  children 0x16010004 0 0x16010005\n"
      "  pointer none\n"
      "  tag \"a \\\"tag\\\"\\r\\n\"\n"
      "  second-text \"second\"\n"
      "  reserved 1 2 3 4\n"
      "  reserved-after-tag 9\n"
      "  reserved-tail 0102030405060708090a0b0c0d0e0f1011121314\n"
      "  live-object 0x12345678\n"
      "  on 12 none\n"
      "  on 0 0x00000063\n"
      "  block 2\n"
      "    Caption \"标题\"\n"
      "    ShowInTaskbar false\n"
      "control 0x16010004 0x00070001\n"
      "  name \"x\"\n"
      "  place 0 0 1 1\n"
      "  flags none\n"
      "  block-bytes 00ff\n"
      "menu-item 0x26010007 0a0b0c\n";
  auto routines = Routines();
  routines.push_back({0x63, "Extra"});
  auto compiled = CompileForm(source, routines);
  ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(compiled)) << std::get<FormError>(compiled).message;
  const auto& block = std::get<std::vector<std::uint8_t>>(compiled);
  auto dumped = DumpForm(block, routines);
  ASSERT_TRUE(std::holds_alternative<std::string>(dumped)) << std::get<FormError>(dumped).message;
  auto again = CompileForm(std::get<std::string>(dumped), routines);
  ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(again));
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(again), block);
  // The version-2 window block stores neither the later fields nor their defaults.
  EXPECT_EQ(std::get<std::string>(dumped).find("DragAnywhere"), std::string::npos);
}

TEST(FormCompiler, NamesTheLineOfTheFirstProblem) {
  const std::string head = "window 0x52010001\ncontrol 0x06010000 window\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {head + "  block 7\n", "line 3: the window block has no version 7"},
      {head + "  block 1\n    DragAnywhere true\n", "line 4: 'DragAnywhere' is not stored by block version 1"},
      {head + "  block 6\n    Colour 3\n", "line 4: the window block has no field 'Colour'"},
      {head + "  place 1 2 3\n", "line 3: 'place' takes 4 value(s)"},
      {head + "  name \"open\n", "line 3: a quoted text is not closed"},
      {head + "  on 0 NoSuchRoutine\n", "line 3: no routine is named 'NoSuchRoutine'"},
      {head + "  block 6\n    Caption 5\n", "line 4: '5' should be a quoted text"},
      {head + "  block 6\n    Placement lots\n", "line 4: 'lots' is not a number"},
      {"control 0x06010000 window\n", "line 1: 'control' before any 'window'"},
  };
  for (const auto& [source, message] : cases) {
    auto result = CompileForm(source, Routines());
    ASSERT_TRUE(std::holds_alternative<FormError>(result)) << source;
    EXPECT_EQ(std::get<FormError>(result).message, message);
  }
}

TEST(FormDumper, NamesTheOffsetWhereABlockStopsMakingSense) {
  std::span<const std::uint8_t> whole = refresher::MainWindowBlock();
  auto truncated = DumpForm(whole.first(40), Routines());
  ASSERT_TRUE(std::holds_alternative<FormError>(truncated));
  EXPECT_EQ(std::get<FormError>(truncated).message.rfind("byte ", 0), 0u) << std::get<FormError>(truncated).message;

  // Records stored in another order than their identifiers read fine, but the source form
  // lays records out in identifier order and could not give these bytes back: the dumper
  // says so instead of printing a source that compiles to something else. The control
  // buffer starts at byte 36: ten identifiers, then ten offsets.
  std::vector<std::uint8_t> reordered(whole.begin(), whole.end());
  for (std::size_t byte = 0; byte < 4; ++byte) {
    std::swap(reordered[40 + byte], reordered[44 + byte]);  // identifiers of records 1 and 2
    std::swap(reordered[80 + byte], reordered[84 + byte]);  // their offsets
  }
  auto refused = DumpForm(reordered, Routines());
  ASSERT_TRUE(std::holds_alternative<FormError>(refused));
  EXPECT_NE(std::get<FormError>(refused).message.find("not laid out one after the other"), std::string::npos);
}

}  // namespace
}  // namespace pelmora::form
