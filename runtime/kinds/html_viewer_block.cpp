#include "runtime/kinds/html_viewer_block.h"

#include "runtime/byte_reader.h"

namespace pelmora {

namespace {
constexpr std::uint32_t kNewestVersion = 1;
}  // namespace

std::optional<HtmlViewerBlock> ReadHtmlViewerBlock(std::span<const std::uint8_t> bytes) {
  HtmlViewerBlock block;
  if (bytes.empty()) return block;
  ByteReader reader(bytes);
  const std::uint32_t version = reader.U32();
  block.textSize = reader.I32();
  block.offline = reader.U32();
  block.silent = reader.U32();
  block.address = reader.CountedText();
  if (reader.Failed() || version > kNewestVersion) return std::nullopt;
  // Everywhere else the address travels as a zero-terminated text, so a stored 0 byte would
  // make the navigated address and the one read back differ; cut it there once.
  if (auto end = block.address.find('\0'); end != std::string::npos) block.address.resize(end);
  return block;
}

std::vector<std::uint8_t> WriteHtmlViewerBlock(const HtmlViewerBlock& block) {
  ByteWriter writer;
  writer.U32(kNewestVersion);
  writer.I32(block.textSize);
  writer.U32(block.offline);
  writer.U32(block.silent);
  writer.CountedText(block.address);
  return writer.Take();
}

}  // namespace pelmora
