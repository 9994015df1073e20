// Icons from the icon data stored in a description (an .ico file, or one icon image).
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace pelmora::platform::win32 {

// An icon of about the given size made from the data; null when the data holds no icon.
HICON IconFromData(std::span<const std::uint8_t> data, int size);

}  // namespace pelmora::platform::win32
