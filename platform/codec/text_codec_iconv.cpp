// glibc's iconv does the conversion; this file only walks past what it refuses.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/codec/text_codec.h"

namespace pelmora::platform {
namespace {

// Converts with iconv; a sequence the target cannot hold, or that is invalid in the source,
// becomes '?' and the walk goes on after it. skipInvalid says how many source bytes an
// unconvertible character takes.
std::string Convert(const char* to, const char* from, std::string_view text,
                    std::size_t (*skipInvalid)(std::string_view rest)) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  std::string out;
  out.reserve(text.size() * 2);
  char buffer[256];
  std::size_t offset = 0;
  while (offset < text.size()) {
    char* input = const_cast<char*>(text.data() + offset);
    std::size_t inputLeft = text.size() - offset;
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    std::size_t result = iconv(converter, &input, &inputLeft, &output, &outputLeft);
    int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    out.append(buffer, static_cast<std::size_t>(output - buffer));
    offset = text.size() - inputLeft;
    if (error == EILSEQ || error == EINVAL) {
      out.push_back('?');
      offset += skipInvalid(text.substr(offset));
    } else if (error != 0 && error != E2BIG) {
      break;
    }
  }
  iconv_close(converter);
  return out;
}

// What an unconvertible code page 936 character spans: a lead byte (0x81-0xFE) with a trail
// byte (0x40-0xFE but 0x7F) is one character; any other byte stands alone, so that a stray
// byte does not take the next, valid character with it.
std::size_t Cp936CharacterLength(std::string_view rest) {
  auto lead = static_cast<unsigned char>(rest[0]);
  if (lead < 0x81 || lead == 0xFF || rest.size() < 2) return 1;
  auto trail = static_cast<unsigned char>(rest[1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

// What an unconvertible UTF-8 character spans: the whole sequence its first byte announces
// when its continuation bytes are there, else only as far as they go (a stray byte alone).
std::size_t Utf8CharacterLength(std::string_view rest) {
  auto lead = static_cast<unsigned char>(rest[0]);
  std::size_t announced = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
  std::size_t length = 1;
  while (length < announced && length < rest.size() &&
         (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

}  // namespace

std::string Cp936ToUtf8(std::string_view text) {
  return Convert("UTF-8", "CP936", text, Cp936CharacterLength);
}

std::string Utf8ToCp936(std::string_view text) {
  return Convert("CP936", "UTF-8", text, Utf8CharacterLength);
}

}  // namespace pelmora::platform
