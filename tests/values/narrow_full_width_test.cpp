// The single-byte form of a code page 936 text.
#include <gtest/gtest.h>

#include <string>

#include "runtime/number_text_narrow.h"

namespace pelmora {
namespace {

struct NarrowCase {
  const char* text;
  std::string expected;
};

void PrintTo(const NarrowCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(std::string(c.text));
}

class NarrowFullWidthOf : public ::testing::TestWithParam<NarrowCase> {};

TEST_P(NarrowFullWidthOf, MapsTheFullWidthFormsAndKeepsEverythingElse) {
  EXPECT_EQ(NarrowFullWidth(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, NarrowFullWidthOf,
    ::testing::Values(
        NarrowCase{"", ""}, NarrowCase{"a 1\t~", "a 1\t~"},
        NarrowCase{"\xA1\xA1", " "},   // ideographic space
        NarrowCase{"\xA1\xAB", "~"},   // full-width tilde
        NarrowCase{"\xA1\xEE", "*"},   // white star
        NarrowCase{"\xA1\xEF", "*"},   // black star
        NarrowCase{"\xA1\xA2", "\xA1\xA2"},  // 、 is no full-width form
        NarrowCase{"\xA3\xA1", "!"},   // first of the full-width forms, ！
        NarrowCase{"\xA3\xFE", "~"},   // last of them, ￣
        NarrowCase{"\xA3\xB0\xA3\xB9", "09"},
        NarrowCase{"\xA3\xC1\xA3\xFA", "Az"},
        NarrowCase{"\xA3\xA0", "\xA3\xA0"},  // just below the row's range
        NarrowCase{"\xA3\xFF", "\xA3\xFF"},  // just above it
        NarrowCase{"\xD7\xD4\xB6\xAF", "\xD7\xD4\xB6\xAF"},  // 自动 stays
        // A trail byte belongs to its lead byte even when it could lead itself: 0xA3 0xB1 is
        // no full-width 1 here, and the 0xB1 left alone at the end is dropped.
        NarrowCase{"\x81\xA3\xB1", "\x81\xA3"},
        NarrowCase{"\x81" "5", "\x81" "5"},
        // A lead byte directly before the terminator is dropped and ends the text.
        NarrowCase{"5\xA3", "5"}, NarrowCase{"\xA3\xB5\xA1", "5"}, NarrowCase{"\x80", ""}));

TEST(NarrowFullWidthOfNull, IsEmpty) { EXPECT_EQ(NarrowFullWidth(nullptr), ""); }

// The parser looks up to three bytes ahead; the look-ahead must see the same bytes that the
// reader later yields, also across pairs that stay two bytes.
TEST(NarrowedReaderLookAhead, AgreesWithTheBytesLaterYielded) {
  const char* text = "\xA3\xB1\xD7\xD4" "e\xA1\xA1" "x\xA3";
  const std::string whole = NarrowFullWidth(text);
  ASSERT_EQ(whole, "1\xD7\xD4" "e x");
  NarrowedReader reader(text);
  for (std::size_t at = 0; at <= whole.size(); ++at) {
    for (std::size_t ahead = 0; ahead < NarrowedReader::kMaxLookAhead; ++ahead) {
      const unsigned char expected =
          at + ahead < whole.size() ? static_cast<unsigned char>(whole[at + ahead]) : 0;
      EXPECT_EQ(reader.Peek(ahead), expected) << "at " << at << ", ahead " << ahead;
    }
    reader.Advance();
  }
  EXPECT_TRUE(reader.AtEnd());
  reader.Advance();  // past the end stays at the end
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace pelmora
