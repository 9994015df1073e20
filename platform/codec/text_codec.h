// Conversion between the program's code page 936 texts and UTF-8, for the places that show
// texts outside the program: the GTK widgets, the traces of the scripted driver, test output.
// A character that one side cannot hold becomes '?': a known limit, never a truncated text.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::platform {

std::string Cp936ToUtf8(std::string_view text);
std::string Utf8ToCp936(std::string_view text);

}  // namespace pelmora::platform
