// Reading the number at the start of a text: syntax, full-width forms, exactness and locale
// independence.
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/number_text.h"
#include "runtime/values.h"
#include "tests/values/value_test_support.h"

namespace pelmora {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct NumberCase {
  const char* text;
  double expected;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

// Goes through CallCommand as the handlers do, so the double's placement in the value words
// is covered as well.
double ToNumberCommand(const char* text) {
  testing::TestValueContext values;
  const TypedValue result = CallCommand(values.context, ToNumber, {TypedValue::Text(text)});
  EXPECT_EQ(result.type, 0u);
  EXPECT_EQ(values.memory.LiveBlocks(), 0u);
  return result.AsDouble();
}

// Bitwise, so that +0/-0 and infinities are told apart and NaN never passes.
void ExpectSameDouble(double actual, double expected, const char* text) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
      << "text \"" << text << "\": got " << actual << ", expected " << expected;
}

class ToNumberOfText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ToNumberOfText, GivesTheValueOfTheLeadingNumber) {
  ExpectSameDouble(ToNumberCommand(GetParam().text), GetParam().expected, GetParam().text);
}

// The texts and results the interval box must be read with.
INSTANTIATE_TEST_SUITE_P(
    Syntax, ToNumberOfText,
    ::testing::Values(
        NumberCase{"", 0.0}, NumberCase{"abc", 0.0}, NumberCase{"+-1", 0.0},
        NumberCase{".", 0.0}, NumberCase{"0x10", 0.0}, NumberCase{"inf", 0.0},
        NumberCase{"nan", 0.0}, NumberCase{" 5", 5.0}, NumberCase{"5s", 5.0},
        NumberCase{"+5", 5.0}, NumberCase{"5.", 5.0}, NumberCase{"1e", 1.0},
        NumberCase{"1e+", 1.0}, NumberCase{"1.5", 1.5}, NumberCase{"-2", -2.0},
        NumberCase{".5", 0.5}, NumberCase{"1e3", 1000.0}, NumberCase{"1d3", 1000.0},
        NumberCase{"1,5", 1.0}, NumberCase{"1 000", 1.0}, NumberCase{"\t5", 5.0},
        NumberCase{"\n5", 5.0}, NumberCase{"\v5", 5.0}, NumberCase{"\f5", 5.0},
        NumberCase{"\r5", 5.0},
        // １２ (full-width digits)
        NumberCase{"\xA3\xB1\xA3\xB2", 12.0},
        // －５ (full-width minus and digit)
        NumberCase{"\xA3\xAD\xA3\xB5", -5.0},
        // ５．５ (full-width digits and full stop)
        NumberCase{"\xA3\xB5\xA3\xAE\xA3\xB5", 5.5},
        // an ideographic space, then ５
        NumberCase{"\xA1\xA1\xA3\xB5", 5.0},
        NumberCase{"1e400", kInfinity}, NumberCase{"-1e400", -kInfinity},
        NumberCase{"1e-400", 0.0}));

// Where the number ends and what the exponent takes.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, ToNumberOfText,
    ::testing::Values(
        NumberCase{"1E3", 1000.0}, NumberCase{"1D-3", 0.001}, NumberCase{"2.5e+2x", 250.0},
        NumberCase{"1e-", 1.0}, NumberCase{"1ex", 1.0}, NumberCase{"1e+-3", 1.0},
        NumberCase{"1.2.3", 1.2}, NumberCase{"-.5", -0.5}, NumberCase{"-", 0.0},
        NumberCase{"- 5", 0.0}, NumberCase{"e3", 0.0}, NumberCase{".e3", 0.0},
        NumberCase{"-0", -0.0}, NumberCase{"-0e999", -0.0}, NumberCase{"0.000", 0.0},
        NumberCase{"\x01" "5", 0.0}, NumberCase{"\xD7\xD4" "5", 0.0},
        // a lead byte alone at the end is dropped
        NumberCase{"7\xA3", 7.0},
        // １ｅ３ and ５Ｅ－１: full-width exponents
        NumberCase{"\xA3\xB1\xA3\xE5\xA3\xB3", 1000.0},
        NumberCase{"\xA3\xB5\xA3\xC5\xA3\xAD\xA3\xB1", 0.5},
        // ＋，: a full-width comma ends the number like an ASCII one
        NumberCase{"\xA3\xAB" "3\xA3\xAC" "5", 3.0},
        // a double-byte character whose trail byte is an ASCII digit is no digit
        NumberCase{"\x81" "5", 0.0}));

// Only the first 25 significant mantissa digits count, the rest only place the point; within
// that the nearest double, ties to even; beyond the range infinity or zero.
INSTANTIATE_TEST_SUITE_P(
    Exactness, ToNumberOfText,
    ::testing::Values(
        NumberCase{"0.1", 0.1}, NumberCase{"0.57", 0.57}, NumberCase{"1.005", 1.005},
        // 2^53 + 1 lies halfway between two doubles: ties to even.
        NumberCase{"9007199254740993", 9007199254740992.0},
        // A 25th significant digit still counts and tips it upward...
        NumberCase{"9007199254740993.000000001", 9007199254740994.0},
        // ...a 26th does not.
        NumberCase{"9007199254740993.0000000001", 9007199254740992.0},
        NumberCase{"9007199254740993.00000000009999", 9007199254740992.0},
        // Dropped digits before the point still scale the value.
        NumberCase{"1234567890123456789012345999", 1.234567890123456789012345e27},
        // Leading zeros are not significant.
        NumberCase{"000000000000000000000000000000000000000012", 12.0},
        NumberCase{"0.0000000000000000000000000000000000000012345", 1.2345e-39},
        NumberCase{"1.7976931348623157e308", std::numeric_limits<double>::max()},
        NumberCase{"1.7976931348623159e308", kInfinity},
        NumberCase{"2.2250738585072014e-308", std::numeric_limits<double>::min()},
        NumberCase{"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        NumberCase{"3e-324", std::numeric_limits<double>::denorm_min()},
        NumberCase{"2e-324", 0.0}, NumberCase{"-2e-324", -0.0},
        NumberCase{"1e99999999999999999999999999", kInfinity},
        NumberCase{"-1e-99999999999999999999999999", -0.0},
        NumberCase{"0.00000000000000000000000000000000000000000000000001e50", 1.0},
        NumberCase{"100000000000000000000000000000000000000000000000000e-50", 1.0}));

// A point followed by many zeros and a digit: the zeros move the decimal exponent far beyond
// what a short text could, and an explicit exponent brings it back.
TEST(ToNumberOfLongText, LeadingZerosAndDroppedDigitsKeepTheirWeight) {
  const std::string zeros(5000, '0');
  ExpectSameDouble(ReadNumberPrefix(("0." + zeros + "25e5001").c_str()), 2.5, "0.0...25e5001");
  ExpectSameDouble(ReadNumberPrefix(("3" + zeros + "e-5000").c_str()), 3.0, "30...0e-5000");
  ExpectSameDouble(ReadNumberPrefix(("0." + zeros + "1").c_str()), 0.0, "0.0...1");
  ExpectSameDouble(ReadNumberPrefix(("1" + zeros).c_str()), kInfinity, "10...0");
}

TEST(ToNumberArguments, ReadsNullAndNonTextArgumentsAsTheEmptyText) {
  EXPECT_EQ(ReadNumberPrefix(nullptr), 0.0);
  testing::TestValueContext values;
  for (const TypedValue& argument :
       {TypedValue::Text(nullptr), TypedValue::Omitted(), TypedValue::Int32(42)}) {
    EXPECT_EQ(CallCommand(values.context, ToNumber, {argument}).AsDouble(), 0.0);
  }
  EXPECT_EQ(CallCommand(values.context, ToNumber, {}).AsDouble(), 0.0);
}

// GTK sets the user's locale at start-up; where the decimal separator is a comma, a
// locale-bound conversion would read "1.5" as 1.
TEST(ToNumberLocale, DoesNotDependOnTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  bool commaLocale = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de-DE", "German_Germany.1252"}) {
    if (std::setlocale(LC_ALL, name) != nullptr &&
        std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
      commaLocale = true;
      break;
    }
  }
  if (!commaLocale) {
    std::setlocale(LC_ALL, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  const double pointText = ReadNumberPrefix("1.5");
  const double commaText = ReadNumberPrefix("1,5");
  const double exponentText = ReadNumberPrefix("2.5e-1");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(pointText, 1.5);
  EXPECT_EQ(commaText, 1.0);
  EXPECT_EQ(exponentText, 0.25);
}

}  // namespace
}  // namespace pelmora
