// ReadProperty and WriteProperty: the transfer rules of every PropertyType, the common
// properties with their clamping and their live or stored reads, and rebuilding a control.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr WindowId kUnloaded = 0x52010002;
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kFirst = 0x16010003;
constexpr ControlId kSecond = 0x16010004;

// One own property of each transfer rule, by own index.
const std::vector<PropertyType> kOwnTypes = {
    PropertyType::Integer1000, PropertyType::Integer,   PropertyType::Int64A,
    PropertyType::Int64B,      PropertyType::Logical,   PropertyType::Choice,
    PropertyType::Word1014,    PropertyType::Text,      PropertyType::Address,
    PropertyType::Bytes1009,   PropertyType::MousePointer, PropertyType::Font,
    PropertyType{1025},        PropertyType{999}};

PropertyNumber NumberOf(PropertyType type) {
  for (std::size_t i = 0; i < kOwnTypes.size(); ++i) {
    if (kOwnTypes[i] == type) return static_cast<PropertyNumber>(8 + i);
  }
  return -1;
}

std::vector<std::uint8_t> ByteDataOf(std::vector<std::uint8_t> bytes) {
  std::vector<std::uint8_t> value = {1, 0, 0, 0, static_cast<std::uint8_t>(bytes.size()), 0, 0, 0};
  value.insert(value.end(), bytes.begin(), bytes.end());
  return value;
}

// The bytes of a ByteData value handed out by ReadProperty.
std::vector<std::uint8_t> BytesOfValue(std::uintptr_t address) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(address);
  std::uint32_t one = 0;
  std::uint32_t count = 0;
  std::memcpy(&one, data, 4);
  std::memcpy(&count, data + 4, 4);
  EXPECT_EQ(one, 1u);
  return std::vector<std::uint8_t>(data + 8, data + 8 + count);
}

// Values as a kind holds them.
RecordedValue Words(std::uint32_t low, std::uint32_t high) {
  RecordedValue value;
  value.low = low;
  value.high = high;
  return value;
}
RecordedValue TextValueOf(std::string text) {
  RecordedValue value;
  value.hasText = true;
  value.text = std::move(text);
  return value;
}
RecordedValue BytesValueOf(std::vector<std::uint8_t> bytes) {
  RecordedValue value;
  value.hasBytes = true;
  value.bytes = std::move(bytes);
  return value;
}

class PropertyAccessTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    auto controls = [] {
      return std::vector<ControlRecord>{
          ControlBuilder(kOwn, kind_ids::Window).At(100, 100, 400, 300),
          ControlBuilder(kFirst, kTransferKindId).At(10, 20, 30, 40).Tag("tagged"),
          ControlBuilder(kSecond, kTransferKindId).At(10, 80, 30, 40)};
    };
    Load({WindowOf(kMain, controls()), WindowOf(kUnloaded, controls())},
         {&windowKind, &transferKind});
  }

  static constexpr KindId kTransferKindId = 0x00030002;
  FixtureChildKind transferKind{log, kTransferKindId, kOwnTypes};
};

const char kAbc[] = "abc";
const std::vector<std::uint8_t> kThreeBytes = ByteDataOf({7, 8, 9});

struct WriteRule {
  const char* name;
  PropertyType type;
  std::uintptr_t low;
  std::uint32_t high;
  RecordedValue received;
};

TEST_F(PropertyAccessTest, WhatTheKindReceivesByType) {
  const auto text = reinterpret_cast<std::uintptr_t>(kAbc);
  const auto bytes = reinterpret_cast<std::uintptr_t>(kThreeBytes.data());
  const WriteRule rules[] = {
      {"integer keeps the low word only", PropertyType::Integer, 5000, 1, Words(5000, 0)},
      {"1000 like 1001", PropertyType::Integer1000, 0xFFFFFFFF, 3, Words(0xFFFFFFFF, 0)},
      {"64-bit keeps both words", PropertyType::Int64A, 1, 2, Words(1, 2)},
      {"1004 like 1002", PropertyType::Int64B, 0xFFFFFFFF, 0x80000000, Words(0xFFFFFFFF, 0x80000000)},
      {"logical 2 is 1", PropertyType::Logical, 2, 0, Words(1, 0)},
      {"logical 0 is 0", PropertyType::Logical, 0, 5, Words(0, 0)},
      {"negative choice is 0", PropertyType::Choice, static_cast<std::uint32_t>(-3), 0, Words(0, 0)},
      {"positive choice stays", PropertyType::Choice, 4, 9, Words(4, 0)},
      {"32-bit value keeps the low word", PropertyType::Word1014, 9, 3, Words(9, 0)},
      {"text", PropertyType::Text, text, 0, TextValueOf("abc")},
      {"null text is empty", PropertyType::Address, 0, 0, TextValueOf("")},
      {"byte data", PropertyType::Bytes1009, bytes, 0, BytesValueOf({7, 8, 9})},
      {"null byte data is nothing", PropertyType::Bytes1009, 0, 0, RecordedValue{}},
      {"mouse pointer data as bytes", PropertyType::MousePointer, bytes, 0, BytesValueOf({7, 8, 9})},
      {"font words pass as they are", PropertyType::Font, 3, 4, Words(3, 4)},
      {"unknown type gives 0, 0", PropertyType{1025}, 5, 6, Words(0, 0)},
      {"below the known types too", PropertyType{999}, 5, 6, Words(0, 0)},
  };
  for (const WriteRule& rule : rules) {
    SCOPED_TRACE(rule.name);
    const PropertyNumber number = NumberOf(rule.type);
    transferKind.written.clear();
    runtime->WriteProperty(kMain, kFirst, number, -1, rule.low, rule.high);
    ASSERT_TRUE(transferKind.written.contains(number - 8));
    EXPECT_EQ(transferKind.written[number - 8], rule.received);
  }
}

struct ReadRule {
  const char* name;
  PropertyType type;
  std::optional<RecordedValue> kindValue;  // nullopt: the kind does not know the index
  std::uint32_t low;                       // for words
  std::uint32_t high;
  std::optional<std::string> text = std::nullopt;                 // a TextValue is expected
  std::optional<std::vector<std::uint8_t>> bytes = std::nullopt;  // a ByteData is expected
};

TEST_F(PropertyAccessTest, WhatTheCallerReceivesByType) {
  const ReadRule rules[] = {
      {"integer: the low word, high 0", PropertyType::Integer, Words(7, 9), 7, 0},
      {"1000 like 1001", PropertyType::Integer1000, Words(0xFFFFFFFE, 1), 0xFFFFFFFE, 0},
      {"64-bit: both words", PropertyType::Int64A, Words(1, 2), 1, 2},
      {"logical exactly 1", PropertyType::Logical, Words(1, 0), 1, 0},
      {"logical other than 1 is 0", PropertyType::Logical, Words(2, 0), 0, 0},
      {"choice: the low word", PropertyType::Choice, Words(5, 6), 5, 0},
      {"32-bit value", PropertyType::Word1014, Words(11, 12), 11, 0},
      {"text of seven characters", PropertyType::Text, TextValueOf("abcdefg"), 0, 0,
       "abcdefg"},
      {"empty text is null", PropertyType::Address, TextValueOf(""), 0, 0},
      {"absent text is null", PropertyType::Text, RecordedValue{}, 0, 0},
      {"byte data", PropertyType::Bytes1009, BytesValueOf({4, 5}), 0, 0,
       std::nullopt, std::vector<std::uint8_t>{4, 5}},
      {"no bytes is null", PropertyType::MousePointer, BytesValueOf({}), 0,
       0},
      {"font: both words", PropertyType::Font, Words(3, 4), 3, 4},
      {"unknown type reads 0", PropertyType{1025}, Words(5, 6), 0, 0},
      {"an index the kind lacks reads 0", PropertyType::Integer, std::nullopt, 0, 0},
      {"an index the kind lacks reads null", PropertyType::Text, std::nullopt, 0, 0},
  };
  for (const ReadRule& rule : rules) {
    SCOPED_TRACE(rule.name);
    const PropertyNumber number = NumberOf(rule.type);
    transferKind.readValues.clear();
    if (rule.kindValue) transferKind.readValues[number - 8] = *rule.kindValue;
    PropertyWords words = runtime->ReadProperty(kMain, kFirst, number);
    if (rule.text) {
      ASSERT_NE(words.low, 0u);
      const auto* value = reinterpret_cast<const char*>(words.low);
      EXPECT_EQ(std::string(value), *rule.text);
      runtime->FreeValue(value);
    } else if (rule.bytes) {
      ASSERT_NE(words.low, 0u);
      EXPECT_EQ(BytesOfValue(words.low), *rule.bytes);
      runtime->FreeValue(reinterpret_cast<const void*>(words.low));
    } else {
      EXPECT_EQ(words.low, rule.low);
    }
    EXPECT_EQ(words.high, rule.high);
  }
}

struct GeometryRule {
  PropertyNumber property;
  std::int32_t written;
  std::int32_t kept;
};

TEST_F(PropertyAccessTest, GeometryIsClampedStoredAndAppliedToTheLiveWindow) {
  const GeometryRule rules[] = {
      {common_property::Left, 40000, 32627},   {common_property::Left, -40000, -32627},
      {common_property::Left, -32627, -32627}, {common_property::Top, 32628, 32627},
      {common_property::Top, -12, -12},        {common_property::Width, -5, 0},
      {common_property::Width, 32700, 32627},  {common_property::Height, 0x7FFFFFFF, 32627},
      {common_property::Height, 55, 55},
  };
  for (const GeometryRule& rule : rules) {
    SCOPED_TRACE(::testing::Message() << "property " << rule.property << " = " << rule.written);
    const auto low = static_cast<std::uint32_t>(rule.written);
    for (WindowId window : {kMain, kUnloaded}) {
      runtime->WriteProperty(window, kFirst, rule.property, -1, low, 0);
      EXPECT_EQ(runtime->ReadProperty(window, kFirst, rule.property).low,
                static_cast<std::uint32_t>(rule.kept));
    }
    const platform::Rect bounds = sim::Inspect(NativeWindowOf(kMain, kFirst))->bounds;
    const std::int32_t live[] = {bounds.left, bounds.top, bounds.width, bounds.height};
    EXPECT_EQ(live[rule.property], rule.kept);
  }
}

TEST_F(PropertyAccessTest, LiveReadsFollowTheWindowStoredReadsTheRecord) {
  const auto handle = NativeWindowOf(kMain, kFirst);
  // Moved and hidden behind the run time's back: a live read reports what is.
  platform::SetBounds(handle, {1, 2, 3, 4});
  platform::ShowNativeWindow(handle, vocab::Show::Hide);
  platform::EnableNativeWindow(handle, false);
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Left).low, 1u);
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Height).low, 4u);
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Visible).low, 0u);
  EXPECT_EQ(runtime->ReadProperty(kMain, kFirst, common_property::Disabled).low, 1u);
  EXPECT_EQ(runtime->ReadProperty(kUnloaded, kFirst, common_property::Left).low, 10u);
  EXPECT_EQ(runtime->ReadProperty(kUnloaded, kFirst, common_property::Visible).low, 1u);
  EXPECT_EQ(runtime->ReadProperty(kUnloaded, kFirst, common_property::Disabled).low, 0u);

  // Writes reach the window at once and the record as well.
  runtime->WriteProperty(kMain, kFirst, common_property::Visible, -1, 7, 0);
  runtime->WriteProperty(kMain, kFirst, common_property::Disabled, -1, 0, 0);
  EXPECT_TRUE(sim::Inspect(handle)->visible);
  EXPECT_TRUE(sim::Inspect(handle)->enabled);
  runtime->WriteProperty(kMain, kSecond, common_property::Disabled, -1, 1, 0);
  EXPECT_FALSE(sim::Inspect(NativeWindowOf(kMain, kSecond))->enabled);
  runtime->WriteProperty(kUnloaded, kFirst, common_property::Visible, -1, 0, 0);
  runtime->WriteProperty(kUnloaded, kFirst, common_property::Disabled, -1, 1, 0);
  EXPECT_EQ(runtime->ReadProperty(kUnloaded, kFirst, common_property::Visible).low, 0u);
  EXPECT_EQ(runtime->ReadProperty(kUnloaded, kFirst, common_property::Disabled).low, 1u);

  // A width change keeps the position.
  runtime->WriteProperty(kMain, kFirst, common_property::Width, -1, 90, 0);
  EXPECT_EQ(sim::Inspect(handle)->bounds, (platform::Rect{1, 2, 90, 4}));
}

TEST_F(PropertyAccessTest, TagAndMousePointerAreNewValues) {
  auto read = [&](PropertyNumber property) {
    return runtime->ReadProperty(kMain, kFirst, property).low;
  };
  auto tag = read(common_property::Tag);
  ASSERT_NE(tag, 0u);
  EXPECT_STREQ(reinterpret_cast<const char*>(tag), "tagged");
  auto again = read(common_property::Tag);
  EXPECT_NE(again, tag);  // a new value each time
  runtime->FreeValue(reinterpret_cast<const void*>(tag));
  runtime->FreeValue(reinterpret_cast<const void*>(again));
  runtime->WriteProperty(kMain, kFirst, common_property::Tag, -1, 0, 0);
  EXPECT_EQ(read(common_property::Tag), 0u);

  auto pointer = read(common_property::MousePointer);
  ASSERT_NE(pointer, 0u);
  EXPECT_EQ(BytesOfValue(pointer), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  runtime->FreeValue(reinterpret_cast<const void*>(pointer));
  runtime->WriteProperty(kMain, kFirst, common_property::MousePointer, -1,
                         reinterpret_cast<std::uintptr_t>(kThreeBytes.data()), 0);
  pointer = read(common_property::MousePointer);
  EXPECT_EQ(BytesOfValue(pointer), (std::vector<std::uint8_t>{7, 8, 9}));
  runtime->FreeValue(reinterpret_cast<const void*>(pointer));
  runtime->WriteProperty(kMain, kFirst, common_property::MousePointer, -1, 0, 0);
  EXPECT_EQ(read(common_property::MousePointer), 0u);
}

TEST_F(PropertyAccessTest, ARebuildReplacesTheControlInItsPlace) {
  const auto old = NativeWindowOf(kMain, kFirst);
  platform::SetFocusTo(old);
  ASSERT_EQ(platform::FocusedWindow(), old);
  transferKind.askRebuild = true;
  runtime->WriteProperty(kMain, kFirst, NumberOf(PropertyType::Integer), -1, 3, 0);

  const auto replacement = NativeWindowOf(kMain, kFirst);
  ASSERT_NE(replacement, platform::WindowHandle::None);
  EXPECT_NE(replacement, old);
  EXPECT_FALSE(platform::WindowExists(old));
  EXPECT_EQ(log.Count("destroyed 16010003"), 1);
  // Same child id, from the block the old one saved.
  EXPECT_EQ(log.Count("create 16010003 child=110 style=00000000"), 2);
  EXPECT_EQ(transferKind.blocks.back(), (std::vector<std::uint8_t>{0xB0}));
  auto info = sim::Inspect(replacement);
  EXPECT_EQ(info->bounds, (platform::Rect{10, 20, 30, 40}));
  EXPECT_EQ(info->parent, NativeWindowOf(kMain, kOwn));
  EXPECT_TRUE(info->visible);
  EXPECT_EQ(platform::FocusedWindow(), replacement);
  EXPECT_EQ(sim::ChildrenOf(NativeWindowOf(kMain, kOwn)),
            (std::vector{replacement, NativeWindowOf(kMain, kSecond)}));
  EXPECT_FALSE(runtime->EventsSuppressed());

  // A disabled, hidden control comes back disabled and hidden.
  runtime->WriteProperty(kMain, kSecond, common_property::Disabled, -1, 1, 0);
  runtime->WriteProperty(kMain, kSecond, common_property::Visible, -1, 0, 0);
  runtime->WriteProperty(kMain, kSecond, NumberOf(PropertyType::Integer), -1, 3, 0);
  EXPECT_EQ(log.Count("create 16010004 child=100 style=08000000"), 1);
  EXPECT_FALSE(sim::Inspect(NativeWindowOf(kMain, kSecond))->visible);
  EXPECT_EQ(platform::FocusedWindow(), replacement);
}

TEST_F(PropertyAccessTest, NoRebuildWhenTheKindForbidsIt) {
  FixtureChildKind fixed(log, kTransferKindId, kOwnTypes, KindAttributes{.rebuildAllowed = false});
  fixed.askRebuild = true;
  sim::Reset();
  Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window),
                         ControlBuilder(kFirst, kTransferKindId)})},
       {&windowKind, &fixed});
  const auto before = NativeWindowOf(kMain, kFirst);
  runtime->WriteProperty(kMain, kFirst, NumberOf(PropertyType::Integer), -1, 3, 0);
  EXPECT_EQ(NativeWindowOf(kMain, kFirst), before);
}

}  // namespace
}  // namespace pelmora::testing
