// The folder of the program file, found as the system finds it in a double-byte code page.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// The text before the last separator of the path, or "" when there is none. The path is
// searched character by character in code page 936: a lead byte (0x81 to 0xFE) and the byte
// after it are one character, so a trail byte equal to the separator (0x5C is a valid trail
// byte) is not taken for one.
std::string FolderOfProgram(std::string_view programPath, char separator);

}  // namespace pelmora
