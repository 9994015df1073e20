#include "platform/win32/icons.h"

#include <cstdlib>
#include <optional>

#include <algorithm>
#include <iterator>

namespace pelmora::platform::win32 {

namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;

struct ImageSlice {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// An .ico file: a 6-byte header (0, type 1, count) and 16-byte entries pointing at the
// images. Picks the entry whose width is closest to the wanted size.
std::optional<ImageSlice> BestImageOfIconFile(std::span<const std::uint8_t> data, int size) {
  if (data.size() < 6) return std::nullopt;
  const auto u16 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(data[at] | data[at + 1] << 8);
  };
  const auto u32 = [&](std::size_t at) {
    return u16(at) | u16(at + 2) << 16;
  };
  if (u16(0) != 0 || u16(2) != 1) return std::nullopt;
  const std::uint32_t count = u16(4);
  if (count == 0 || data.size() < 6 + 16ULL * count) return std::nullopt;
  std::optional<ImageSlice> best;
  int bestDistance = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16ULL * i;
    const int width = data[entry] == 0 ? 256 : data[entry];
    const ImageSlice slice{u32(entry + 12), u32(entry + 8)};
    if (slice.length == 0 || slice.offset > data.size() ||
        slice.length > data.size() - slice.offset) {
      continue;
    }
    const int distance = std::abs(width - size);
    if (!best || distance < bestDistance) {
      best = slice;
      bestDistance = distance;
    }
  }
  return best;
}

bool LooksLikeIconImage(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
  if (data.size() >= 4 && std::equal(std::begin(kPng), std::end(kPng), data.begin())) return true;
  // A device-independent bitmap with a 40-byte header, as icon resources hold them.
  return data.size() >= 40 && data[0] == 40 && data[1] == 0 && data[2] == 0 && data[3] == 0;
}

HICON MakeIcon(std::span<const std::uint8_t> image, int size) {
  return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()),
                                  static_cast<DWORD>(image.size()), TRUE, kIconFormatVersion,
                                  size, size, LR_DEFAULTCOLOR);
}

}  // namespace

HICON IconFromData(std::span<const std::uint8_t> data, int size) {
  if (const auto slice = BestImageOfIconFile(data, size)) {
    return MakeIcon(data.subspan(slice->offset, slice->length), size);
  }
  if (LooksLikeIconImage(data)) return MakeIcon(data, size);
  return nullptr;
}

}  // namespace pelmora::platform::win32
