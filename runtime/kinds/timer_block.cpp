#include "runtime/kinds/timer_block.h"

#include "runtime/byte_reader.h"

namespace pelmora {

namespace {
constexpr std::uint32_t kNewestVersion = 1;
}  // namespace

std::optional<TimerBlock> ReadTimerBlock(std::span<const std::uint8_t> bytes) {
  TimerBlock block;
  if (bytes.empty()) return block;
  ByteReader reader(bytes);
  const std::uint32_t version = reader.U32();
  block.period = reader.I32();
  if (reader.Failed() || version > kNewestVersion) return std::nullopt;
  return block;
}

std::vector<std::uint8_t> WriteTimerBlock(const TimerBlock& block) {
  ByteWriter writer;
  writer.U32(kNewestVersion);
  writer.I32(block.period);
  return writer.Take();
}

}  // namespace pelmora
