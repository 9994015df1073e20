// ToText and the calling convention of the value commands.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "runtime/values.h"
#include "tests/values/value_test_support.h"

namespace pelmora {
namespace {

class ValueCommandTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(memory_.LiveBlocks(), 0u) << "a value was not freed"; }

  // The text ToText hands out, compared and freed at once; nullptr stays nullptr.
  std::optional<std::string> TextOf(const TypedValue& argument) {
    const TypedValue result = CallCommand(context_, ToText, {argument});
    EXPECT_EQ(result.high, 0u);
    EXPECT_EQ(result.type, 0u);
    char* text = result.AsOwnedText();
    if (text == nullptr) return std::nullopt;
    EXPECT_EQ(memory_.BlockSize(text), std::strlen(text) + 1) << "not exactly length + 1 bytes";
    std::string copy = text;
    memory_.FreeValue(text);
    return copy;
  }

  testing::TestValueContext values_;
  testing::FakeValueMemory& memory_ = values_.memory;
  ValueContext& context_ = values_.context;
};

TEST_F(ValueCommandTest, ToTextOfAnIntegerIsItsSignedDecimalForm) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0"}, {-5, "-5"}, {32767, "32767"}, {7, "7"}, {100, "100"},
      {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
  for (const auto& [number, expected] : cases) {
    EXPECT_EQ(TextOf(TypedValue::Int32(number)), expected) << number;
  }
}

TEST_F(ValueCommandTest, ToTextOfATextIsAFreshCopyOrNullWhenEmpty) {
  const char title[] = "Pelmora\xD7\xD4";  // a title with a double-byte character, 自
  const TypedValue result = CallCommand(context_, ToText, {TypedValue::Text(title)});
  char* copy = result.AsOwnedText();
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, title) << "the caller must own a copy, not the constant";
  EXPECT_STREQ(copy, title);
  EXPECT_EQ(memory_.BlockSize(copy), sizeof title);
  memory_.FreeValue(copy);

  EXPECT_EQ(TextOf(TypedValue::Text("")), std::nullopt);
  EXPECT_EQ(TextOf(TypedValue::Text(nullptr)), std::nullopt);
  EXPECT_EQ(TextOf(TypedValue::Omitted()), std::nullopt);
  EXPECT_EQ(memory_.RequestedSizes().size(), 1u) << "the empty text must not allocate";
}

TEST_F(ValueCommandTest, ToTextPassesAFailedAllocationOnAndLeaksNothing) {
  for (const TypedValue& argument : {TypedValue::Int32(5), TypedValue::Text("abc")}) {
    memory_.RefuseAllocation(1);
    EXPECT_THROW(CallCommand(context_, ToText, {argument}), testing::AllocationRefused);
  }
}

TEST_F(ValueCommandTest, ADoubleTravelsInTheLowHalfOfTheLowWordAndTheHighWord) {
  const double value = -1234.5678;
  const TypedValue typed = TypedValue::Double(value);
  const auto bits = std::bit_cast<std::uint64_t>(value);
  EXPECT_EQ(typed.low, static_cast<std::uint32_t>(bits));
  EXPECT_EQ(typed.high, static_cast<std::uint32_t>(bits >> 32));
  EXPECT_EQ(typed.type, value_type::kDouble);
  EXPECT_EQ(typed.AsDouble(), value);

  const TypedValue result = CallCommand(context_, ToNumber, {TypedValue::Text("-1234.5678")});
  EXPECT_EQ(result.low, typed.low);
  EXPECT_EQ(result.high, typed.high);
  EXPECT_EQ(result.type, 0u) << "a result's type word stays 0";
}

}  // namespace
}  // namespace pelmora
