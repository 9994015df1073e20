// A second, deliberately plain reading of the number at the start of a code page 936 text,
// written independently of the run time's (whole-string narrowing, index-based scanning, the
// C library's strtod for the conversion) so that the fuzzer can compare the two.
// It uses the C locale's strtod and is therefore only for the fuzzer, which never changes
// the locale.
#pragma once

#include <string>
#include <string_view>

namespace pelmora::reference {

// The narrowed form of the text up to its first zero byte.
std::string Narrow(std::string_view text);
// The number at the start of an already narrowed text, 0 when there is none.
double NumberPrefix(const std::string& narrowed);

}  // namespace pelmora::reference
