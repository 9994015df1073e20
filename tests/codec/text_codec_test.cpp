#include "platform/codec/text_codec.h"

#include <gtest/gtest.h>

namespace pelmora::platform {
namespace {

struct CodecCase {
  const char* name;
  std::string cp936;
  std::string utf8;
};

// Texts that both directions must carry unchanged.
const CodecCase kRoundTrips[] = {
    {"empty", "", ""},
    {"ascii", "http://127.0.0.1:8000/a?b=c", "http://127.0.0.1:8000/a?b=c"},
    // 自动刷新 停止
    {"chinese", "\xD7\xD4\xB6\xAF\xCB\xA2\xD0\xC2 \xCD\xA3\xD6\xB9",
     "\xE8\x87\xAA\xE5\x8A\xA8\xE5\x88\xB7\xE6\x96\xB0 \xE5\x81\x9C\xE6\xAD\xA2"},
    // 运行时出错!\r\n\r\n错误信息： mixes single and double bytes and control characters.
    {"error box text", "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA",
     "\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE5\x87\xBA\xE9\x94\x99!\r\n\r\n\xE9\x94\x99\xE8\xAF\xAF"
     "\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x9A"},
};

TEST(TextCodec, CarriesCodePage936TextsBothWays) {
  for (const auto& c : kRoundTrips) {
    EXPECT_EQ(platform::Cp936ToUtf8(c.cp936), c.utf8) << c.name;
    EXPECT_EQ(platform::Utf8ToCp936(c.utf8), c.cp936) << c.name;
  }
}

TEST(TextCodec, UnrepresentableCharactersBecomeQuestionMarksAndTheRestIsKept) {
  // "a😀b€c": the emoji has no code page 936 form; € is 0x80 there.
  EXPECT_EQ(platform::Utf8ToCp936("a\xF0\x9F\x98\x80" "b\xE2\x82\xAC" "c"), "a?b\x80" "c");
  // Hangul at the very end, where a converter could drop it silently.
  EXPECT_EQ(platform::Utf8ToCp936("x\xED\x95\x9C"), "x?");
}

TEST(TextCodec, MalformedInputIsReplacedNotTruncated) {
  // A UTF-8 sequence cut short, then more text.
  EXPECT_EQ(platform::Utf8ToCp936("a\xE4" "bc"), "a?bc");
  // A lone lead byte at the end of a code page 936 text, and one in the middle before ASCII.
  EXPECT_EQ(platform::Cp936ToUtf8("ok\xD7"), "ok?");
  // A byte no character starts with: systems differ in what stands for it (iconv refuses it,
  // Windows' table gives a private-use character), but the text after it is never lost.
  std::string stray = platform::Cp936ToUtf8("\xFF" "z");
  ASSERT_GE(stray.size(), 2u);
  EXPECT_EQ(stray.back(), 'z');
}

}  // namespace
}  // namespace pelmora::platform
