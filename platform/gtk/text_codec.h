// Code page 936 <-> UTF-8 at the boundary between the program's texts and GTK.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::gtk {

// Code page 936 bytes as UTF-8. A byte sequence that is not valid code page 936 becomes '?'
// per byte, so nothing after it is lost.
std::string Utf8FromCp936(std::string_view cp936);

// UTF-8 as code page 936 bytes. A character that code page 936 cannot hold (or a malformed
// UTF-8 sequence) becomes '?'; the rest of the text is kept.
std::string Cp936FromUtf8(std::string_view utf8);

}  // namespace pelmora::gtk
