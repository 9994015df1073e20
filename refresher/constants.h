// The program's constant area: the title, the empty text and the number of milliseconds in a
// second. Values inside it are never freed, so a handler may hand them on like any value.
#pragma once

#include <cstddef>
#include <span>

namespace pelmora::refresher {

struct ConstantArea {
  char title[8];          // "Pelmora", the same text as the window's stored caption
  char emptyText[8];      // ""
  double millisecondsPerSecond;  // 1000.0
};
static_assert(sizeof(ConstantArea) == 24);

extern const ConstantArea kConstants;

inline std::span<const std::byte> ConstantBytes() {
  return std::as_bytes(std::span<const ConstantArea, 1>(&kConstants, 1));
}

}  // namespace pelmora::refresher
