#include "fuzz/reference_number_reader.h"

#include <cerrno>
#include <cstdlib>
#include <string>

namespace pelmora::reference {

std::string Narrow(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      i += 1;
      continue;
    }
    if (i + 1 >= text.size()) break;  // lone lead byte at the end: dropped
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    i += 2;
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }
char At(const std::string& s, std::size_t i) { return i < s.size() ? s[i] : '\0'; }

}  // namespace

double NumberPrefix(const std::string& s) {
  std::size_t i = 0;
  while (At(s, i) == ' ' || (At(s, i) >= '\t' && At(s, i) <= '\r')) ++i;
  bool negative = false;
  if (At(s, i) == '+' || At(s, i) == '-') negative = s[i++] == '-';

  std::string digits;          // every mantissa digit, point removed
  std::size_t pointAt = std::string::npos;  // digits before the point
  for (;; ++i) {
    if (Digit(At(s, i))) {
      digits += s[i];
    } else if (At(s, i) == '.' && pointAt == std::string::npos) {
      pointAt = digits.size();
    } else {
      break;
    }
  }
  if (digits.empty()) return 0.0;
  if (pointAt == std::string::npos) pointAt = digits.size();

  long long exponent = 0;
  const char marker = At(s, i);
  if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
    std::size_t j = i + 1;
    const bool negativeExponent = At(s, j) == '-';
    if (At(s, j) == '+' || At(s, j) == '-') ++j;
    for (; Digit(At(s, j)); ++j) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
    }
    if (negativeExponent) exponent = -exponent;
  }

  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return negative ? -0.0 : 0.0;
  const std::string kept = digits.substr(first, 25);
  // value = 0.<digits from first> * 10^(pointAt - first), of which `kept` are the leading ones.
  exponent += static_cast<long long>(pointAt) - static_cast<long long>(first) -
              static_cast<long long>(kept.size());
  const std::string canonical =
      (negative ? "-" : "") + kept + "e" + std::to_string(exponent);
  errno = 0;
  return std::strtod(canonical.c_str(), nullptr);
}

}  // namespace pelmora::reference
