// Code page 936 bytes (the program's texts) to and from the wide strings of the Windows API.
// The conversion is explicit so that captions read right whatever the system's ANSI code
// page is.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::platform::win32 {

std::wstring WideFrom936(std::string_view text);
// A character that code page 936 cannot hold becomes '?'.
std::string Cp936FromWide(std::wstring_view text);

}  // namespace pelmora::platform::win32
