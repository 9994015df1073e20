#include "platform/win32/text_conversion.h"

#include <windows.h>

namespace pelmora::platform::win32 {

namespace {
constexpr UINT kChineseCodePage = 936;
}

std::wstring WideFrom936(std::string_view text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(kChineseCodePage, 0, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kChineseCodePage, 0, text.data(), static_cast<int>(text.size()),
                      wide.data(), length);
  return wide;
}

std::string Cp936FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(kChineseCodePage, 0, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, "?",
                                         nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kChineseCodePage, 0, text.data(), static_cast<int>(text.size()),
                      bytes.data(), length, "?", nullptr);
  return bytes;
}

}  // namespace pelmora::platform::win32
