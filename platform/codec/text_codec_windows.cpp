// The system's own code page tables do the conversion.
#include <windows.h>

#include <string>

#include "platform/codec/text_codec.h"

namespace pelmora::platform {
namespace {

constexpr UINT kChinese = 936;

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// Code page 936 holds no character beyond the 16-bit range: each surrogate pair becomes one
// '?' here, where the system would make two of it.
std::wstring WithoutSurrogatePairs(const std::wstring& wide) {
  std::wstring out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF;
    out.push_back(pair ? L'?' : wide[i]);
    if (pair) ++i;
  }
  return out;
}

std::string Narrow(UINT codePage, const std::wstring& original) {
  const std::wstring wide = codePage == CP_UTF8 ? original : WithoutSurrogatePairs(original);
  if (wide.empty()) return {};
  // UTF-8 takes no default character; code page 936 replaces what it cannot hold with '?'.
  const char* replacement = codePage == CP_UTF8 ? nullptr : "?";
  int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   replacement, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), length,
                      replacement, nullptr);
  return narrow;
}

}  // namespace

std::string Cp936ToUtf8(std::string_view text) { return Narrow(CP_UTF8, Widen(kChinese, text)); }

std::string Utf8ToCp936(std::string_view text) { return Narrow(kChinese, Widen(CP_UTF8, text)); }

}  // namespace pelmora::platform
