// Joining texts and measuring them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/values.h"
#include "tests/values/value_test_support.h"

namespace pelmora {
namespace {

struct JoinCase {
  std::vector<const char*> parts;
  std::string expected;
};

TEST(JoinTexts, JoinsInOrderIntoABlockOfExactlyTheJoinedSize) {
  const JoinCase cases[] = {
      {{"", ""}, ""},
      {{nullptr, nullptr}, ""},
      {{"Pelmora", "3304"}, "Pelmora3304"},
      {{"a", nullptr, "", "bc"}, "abc"},
      {{"\xCD\xA3\xD6\xB9"}, "\xCD\xA3\xD6\xB9"},  // 停止
  };
  for (const JoinCase& c : cases) {
    testing::FakeValueMemory memory;
    char* joined = JoinTexts(memory, c.parts);
    ASSERT_NE(joined, nullptr) << "JoinTexts never hands out null, not even for empty parts";
    EXPECT_EQ(std::string(joined), c.expected);
    EXPECT_EQ(memory.BlockSize(joined), c.expected.size() + 1);
    for (const char* part : c.parts) EXPECT_NE(joined, part) << "a part was handed back";
    memory.FreeValue(joined);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
  }
}

TEST(JoinTexts, PassesAFailedAllocationOnWithoutTouchingItsParts) {
  testing::FakeValueMemory memory;
  char first[] = "left";
  memory.RefuseAllocation(1);
  EXPECT_THROW(JoinTexts(memory, {first, "right"}), testing::AllocationRefused);
  EXPECT_STREQ(first, "left");
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST(TextLength, CountsBytesUpToTheFirstZero) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("Pelmora"), 7u);
  EXPECT_EQ(TextLength("\xD7\xD4\xB6\xAF"), 4u);  // 自动: two characters, four bytes
  EXPECT_EQ(TextLength("ab\0cd"), 2u);
}

}  // namespace
}  // namespace pelmora
