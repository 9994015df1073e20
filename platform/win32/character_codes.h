// Character messages: the wide message loop carries UTF-16 characters, the run time speaks
// code page 936. A double-byte character is one code, lead byte << 8 | trail byte.
#pragma once

#include <cstdint>

namespace pelmora::platform::win32 {

// A character that code page 936 cannot hold (a lone surrogate among them) gives '?'.
std::uintptr_t Cp936CodeOf(wchar_t character);
// The UTF-16 character of a code page 936 code; '?' when the code is no character.
wchar_t WideCharOf(std::uintptr_t code);

}  // namespace pelmora::platform::win32
