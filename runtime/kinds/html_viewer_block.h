// The stored block of an HTML viewer's own properties: a format version, the text size
// level, the offline and silent flags and the start address.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pelmora {

struct HtmlViewerBlock {
  // The browser's text size level, 0 (smallest) to 4 (largest). Kept as stored, even outside
  // that range; it is clamped only where it is applied.
  std::int32_t textSize = 2;
  std::uint32_t offline = 0;  // any non-zero value means on
  std::uint32_t silent = 0;
  // Code page 936 bytes; empty: nothing is loaded at creation.
  std::string address;
};

// Empty bytes give the defaults. Null when the version is newer than this run time knows or
// the bytes end before the last field (the address's bytes included).
std::optional<HtmlViewerBlock> ReadHtmlViewerBlock(std::span<const std::uint8_t> bytes);

// Always the newest format version.
std::vector<std::uint8_t> WriteHtmlViewerBlock(const HtmlViewerBlock& block);

}  // namespace pelmora
