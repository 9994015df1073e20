#include "platform/win32/character_codes.h"

#include <string>

#include "platform/win32/text_conversion.h"

namespace pelmora::platform::win32 {

std::uintptr_t Cp936CodeOf(wchar_t character) {
  if (character < 0x80) return character;
  const std::string bytes = Cp936FromWide(std::wstring_view(&character, 1));
  if (bytes.size() == 1) return static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 2) {
    return static_cast<std::uintptr_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                       static_cast<unsigned char>(bytes[1]));
  }
  return '?';
}

wchar_t WideCharOf(std::uintptr_t code) {
  if (code < 0x80) return static_cast<wchar_t>(code);
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>((code >> 8) & 0xFF));
  bytes.push_back(static_cast<char>(code & 0xFF));
  const std::wstring wide = WideFrom936(bytes);
  return wide.size() == 1 ? wide[0] : L'?';
}

}  // namespace pelmora::platform::win32
