#include "tools/form/form_text.h"

#include <charconv>
#include <cstdio>

#include "platform/codec/text_codec.h"

namespace pelmora::form {
namespace {

void AppendEscaped(std::string& out, std::string_view utf8OrBytes, bool bytesOnly) {
  for (unsigned char c : utf8OrBytes) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c < 0x20 || c == 0x7F || (bytesOnly && c >= 0x80)) {
          char escape[5];
          std::snprintf(escape, sizeof escape, "\\x%02X", c);
          out += escape;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string Quote(std::string_view cp936) {
  std::string utf8 = platform::Cp936ToUtf8(cp936);
  bool faithful = platform::Utf8ToCp936(utf8) == cp936;
  std::string out = "\"";
  AppendEscaped(out, faithful ? std::string_view(utf8) : cp936, !faithful);
  out += "\"";
  return out;
}

std::string FormatNumber(std::uint32_t value) {
  if (value < 0x10000) return std::to_string(value);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string FormatSigned(std::int32_t value) { return std::to_string(value); }

std::string FormatHexBytes(std::span<const std::uint8_t> bytes) {
  std::string out;
  char pair[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    out += pair;
  }
  return out;
}

std::optional<std::vector<Word>> SplitWords(std::string_view line, std::string& error) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      // Escapes are applied to the UTF-8 text; \x escapes stand for code page 936 bytes and
      // are kept apart so that the conversion does not touch them.
      std::string cp936;
      std::string pendingUtf8;
      auto flush = [&] {
        cp936 += platform::Utf8ToCp936(pendingUtf8);
        pendingUtf8.clear();
      };
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          pendingUtf8.push_back(d);
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case 't': pendingUtf8.push_back('\t'); break;
          case 'r': pendingUtf8.push_back('\r'); break;
          case 'n': pendingUtf8.push_back('\n'); break;
          case '"': pendingUtf8.push_back('"'); break;
          case '\\': pendingUtf8.push_back('\\'); break;
          case 'x': {
            int high = i < line.size() ? HexDigit(line[i]) : -1;
            int low = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
            if (high < 0 || low < 0) {
              error = "\\x needs two hexadecimal digits";
              return std::nullopt;
            }
            flush();
            cp936.push_back(static_cast<char>(high * 16 + low));
            i += 2;
            break;
          }
          default:
            error = std::string("unknown escape \\") + e;
            return std::nullopt;
        }
      }
      if (!closed) {
        error = "a quoted text is not closed";
        return std::nullopt;
      }
      flush();
      words.push_back({cp936, true});
    } else {
      std::size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r' &&
             line[end] != '#') {
        ++end;
      }
      words.push_back({std::string(line.substr(i, end - i)), false});
      i = end;
    }
  }
  return words;
}

std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative ? value > 0x80000000u : value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(negative ? 0u - value : value);
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int high = HexDigit(text[i]);
    int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

}  // namespace pelmora::form
