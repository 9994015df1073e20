#include "runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

#include "runtime/number_text_narrow.h"

namespace pelmora {

namespace {

bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }
bool IsWhiteSpace(unsigned char byte) { return byte == ' ' || (byte >= 0x09 && byte <= 0x0D); }
bool IsSign(unsigned char byte) { return byte == '+' || byte == '-'; }
bool IsExponentMarker(unsigned char byte) {
  return byte == 'e' || byte == 'E' || byte == 'd' || byte == 'D';
}

// Beyond this an exponent only decides between infinity and zero; capping it keeps the sums
// below far from overflow whatever the length of the text.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;
// The exponent handed to the decimal conversion. With at most 25 mantissa digits any exponent
// beyond it is out of range either way, so clamping changes no result.
constexpr std::int64_t kConversionExponentLimit = 99'999;

// A decimal number as read: value = digits * 10^exponent.
struct DecimalNumber {
  bool negative = false;
  bool anyDigit = false;
  char digits[kSignificantDigitsRead] = {};  // significant digits, the first one non-zero
  std::size_t digitCount = 0;
  std::int64_t exponent = 0;
};

void ReadMantissa(NarrowedReader& reader, DecimalNumber& number) {
  bool afterPoint = false;
  for (;;) {
    const unsigned char byte = reader.Peek();
    if (byte == '.' && !afterPoint) {
      afterPoint = true;
    } else if (IsDigit(byte)) {
      number.anyDigit = true;
      const bool leadingZero = byte == '0' && number.digitCount == 0;
      const bool kept = !leadingZero && number.digitCount < kSignificantDigitsRead;
      if (kept) number.digits[number.digitCount++] = static_cast<char>(byte);
      // A digit after the point moves the point when it is kept or is a leading zero; a
      // dropped digit before the point moves it the other way. Both change by one per byte
      // of text, so they cannot overflow.
      if (afterPoint && (kept || leadingZero)) --number.exponent;
      if (!afterPoint && !kept && !leadingZero) ++number.exponent;
    } else {
      return;
    }
    reader.Advance();
  }
}

// An exponent counts only when its marker is followed by a digit, after an optional sign;
// otherwise the number ends before the marker.
void ReadExponent(NarrowedReader& reader, DecimalNumber& number) {
  if (!IsExponentMarker(reader.Peek(0))) return;
  const std::size_t firstDigit = IsSign(reader.Peek(1)) ? 2 : 1;
  if (!IsDigit(reader.Peek(firstDigit))) return;
  const bool negative = reader.Peek(1) == '-';
  for (std::size_t i = 0; i < firstDigit; ++i) reader.Advance();
  std::int64_t magnitude = 0;
  for (unsigned char byte = reader.Peek(); IsDigit(byte); byte = reader.Peek()) {
    magnitude = std::min(magnitude * 10 + (byte - '0'), kExponentCap);
    reader.Advance();
  }
  number.exponent += negative ? -magnitude : magnitude;
}

double ToNearestDouble(const DecimalNumber& number) {
  const double zero = number.negative ? -0.0 : 0.0;
  if (number.digitCount == 0) return zero;
  const std::int64_t exponent =
      std::clamp(number.exponent, -kConversionExponentLimit, kConversionExponentLimit);

  // "<digits>e<exponent>" for the standard library's exact, locale-free conversion.
  char text[kSignificantDigitsRead + 24];
  char* end = std::copy_n(number.digits, number.digitCount, text);
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, exponent).ptr;

  double magnitude = 0.0;
  const std::from_chars_result conversion =
      std::from_chars(text, end, magnitude, std::chars_format::scientific);
  if (conversion.ec == std::errc::result_out_of_range) {
    // The digits are at least 1 and below 10^25, so only a positive exponent can overflow
    // and only a negative one can underflow.
    if (exponent > 0) return number.negative ? -std::numeric_limits<double>::infinity()
                                             : std::numeric_limits<double>::infinity();
    return zero;
  }
  return number.negative ? -magnitude : magnitude;
}

}  // namespace

double ReadNumberPrefix(const char* text) {
  NarrowedReader reader(text);
  while (IsWhiteSpace(reader.Peek())) reader.Advance();

  DecimalNumber number;
  if (IsSign(reader.Peek())) {
    number.negative = reader.Peek() == '-';
    reader.Advance();
  }
  ReadMantissa(reader, number);
  if (!number.anyDigit) return 0.0;
  ReadExponent(reader, number);
  return ToNearestDouble(number);
}

}  // namespace pelmora
