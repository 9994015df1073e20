#include "runtime/kinds/timer_block.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/byte_reader.h"

namespace pelmora {
namespace {

std::vector<std::uint8_t> Block(std::uint32_t version, std::int32_t period) {
  ByteWriter writer;
  writer.U32(version);
  writer.I32(period);
  return writer.Take();
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

std::vector<std::uint8_t> Extended(std::vector<std::uint8_t> bytes) {
  bytes.push_back(0x7F);
  return bytes;
}

struct ReadCase {
  std::string name;
  std::vector<std::uint8_t> bytes;
  std::optional<std::int32_t> period;  // nullopt: the block is refused
};

TEST(TimerBlock, ReadsAcceptedVersionsAndRefusesBadBlocks) {
  const std::vector<ReadCase> cases = {
      {"absent block gives period 0", {}, 0},
      {"version 0", Block(0, 5000), 5000},
      {"version 1", Block(1, 250), 250},
      {"negative period kept as stored", Block(1, -1000), -1000},
      {"bytes after the period are ignored", Extended(Block(1, 40)), 40},
      {"version 2", Block(2, 5000), std::nullopt},
      {"version with the top bit set", Block(0x80000001u, 5000), std::nullopt},
      {"version only", Cut(Block(1, 5000), 4), std::nullopt},
      {"one byte short", Cut(Block(1, 5000), 7), std::nullopt},
      {"one byte", Cut(Block(1, 5000), 1), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto block = ReadTimerBlock(c.bytes);
    ASSERT_EQ(block.has_value(), c.period.has_value());
    if (block) {
      EXPECT_EQ(block->period, *c.period);
    }
  }
}

TEST(TimerBlock, WritesVersionOneAndThePeriodLittleEndian) {
  EXPECT_EQ(WriteTimerBlock({-2}),
            (std::vector<std::uint8_t>{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  for (std::int32_t period : {0, 1, 5000, -1000, INT32_MAX, INT32_MIN}) {
    const auto back = ReadTimerBlock(WriteTimerBlock({period}));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->period, period);
  }
}

}  // namespace
}  // namespace pelmora
