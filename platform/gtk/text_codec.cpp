#include "platform/gtk/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace pelmora::gtk {
namespace {

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray byte, so that a
// malformed sequence is stepped over one byte at a time.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Converts with iconv; where the input cannot be converted, writes '?' and skips what
// skipLength says. glibc's iconv stops at the first such sequence (EILSEQ) or at an
// incomplete one at the end (EINVAL); both are replaced and the conversion goes on.
// Skip length of an unconvertible UTF-8 sequence: the whole character when it is well
// formed, else only as far as its continuation bytes go.
std::size_t Utf8SkipLength(const char* at, std::size_t left) {
  std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(at[0]));
  std::size_t taken = 1;
  while (taken < length && taken < left &&
         (static_cast<unsigned char>(at[taken]) & 0xC0) == 0x80) {
    ++taken;
  }
  return taken;
}

template <typename SkipLength>
std::string Convert(const char* to, const char* from, std::string_view input,
                    SkipLength skipLength) {
  std::string output;
  if (input.empty()) return output;
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "pelmora: iconv cannot convert %s to %s; text passed unchanged\n", from,
                 to);
    return std::string(input);
  }
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out);
    if (result != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: one character that cannot be taken.
    output.push_back('?');
    std::size_t skip = skipLength(in, inLeft);
    in += skip;
    inLeft -= skip;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(converter);
  return output;
}

}  // namespace

std::string Utf8FromCp936(std::string_view cp936) {
  return Convert("UTF-8", "CP936", cp936, [](const char*, std::size_t) { return std::size_t{1}; });
}

std::string Cp936FromUtf8(std::string_view utf8) {
  return Convert("CP936", "UTF-8", utf8, Utf8SkipLength);
}

}  // namespace pelmora::gtk
