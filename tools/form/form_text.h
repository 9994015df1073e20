// Texts and numbers as a form source writes them. Sources are UTF-8; the program's texts are
// code page 936, so quoting converts, and a byte sequence that would not come back unchanged
// is written with \x escapes instead.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::form {

// A double-quoted UTF-8 form of code page 936 bytes, with C escapes (\t \r \n \" \\ \xNN).
std::string Quote(std::string_view cp936);
// Numbers: small ones in decimal, large ones in hexadecimal.
std::string FormatNumber(std::uint32_t value);
std::string FormatSigned(std::int32_t value);
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

// Splits a source line into words; a double-quoted word is unquoted (UTF-8 -> code page 936,
// escapes applied). Nothing when a quote is left open or an escape is bad. A '#' outside
// quotes starts a comment.
struct Word {
  std::string text;
  bool quoted = false;
};
std::optional<std::vector<Word>> SplitWords(std::string_view line, std::string& error);

std::optional<std::uint32_t> ParseNumber(std::string_view text);  // decimal, 0x hex, negative
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text);

}  // namespace pelmora::form
