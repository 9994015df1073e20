#include "runtime/kinds/html_viewer_block.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/byte_reader.h"

namespace pelmora {
namespace {

std::vector<std::uint8_t> Block(std::uint32_t version, std::int32_t textSize,
                                std::uint32_t offline, std::uint32_t silent,
                                const std::string& address) {
  ByteWriter writer;
  writer.U32(version);
  writer.I32(textSize);
  writer.U32(offline);
  writer.U32(silent);
  writer.CountedText(address);
  return writer.Take();
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

// A count that promises more address bytes than follow.
std::vector<std::uint8_t> OverlongCount() {
  auto bytes = Block(1, 2, 0, 0, "abc");
  bytes[16] = 4;
  return bytes;
}

struct Expected {
  std::int32_t textSize;
  std::uint32_t offline;
  std::uint32_t silent;
  std::string address;
};

struct ReadCase {
  std::string name;
  std::vector<std::uint8_t> bytes;
  std::optional<Expected> expected;  // nullopt: the block is refused
};

TEST(HtmlViewerBlock, ReadsAcceptedVersionsAndRefusesBadBlocks) {
  const std::string url = "http://example.org/";
  // 网址 in code page 936
  const std::string chinese = "\xCD\xF8\xD6\xB7";
  const std::vector<ReadCase> cases = {
      {"absent block gives the defaults", {}, Expected{2, 0, 0, ""}},
      {"the program's own block", Block(1, 2, 0, 0, ""), Expected{2, 0, 0, ""}},
      {"version 0 with every field", Block(0, 4, 1, 1, url), Expected{4, 1, 1, url}},
      {"flags keep any non-zero value", Block(1, 0, 7, 0x80000000u, ""),
       Expected{0, 7, 0x80000000u, ""}},
      {"text size outside 0..4 kept as stored", Block(1, 9, 0, 0, ""), Expected{9, 0, 0, ""}},
      {"negative text size kept as stored", Block(1, -3, 0, 0, ""), Expected{-3, 0, 0, ""}},
      {"address bytes taken unchanged", Block(1, 2, 0, 0, chinese),
       Expected{2, 0, 0, chinese}},
      {"address cut at a stored 0 byte", Block(1, 2, 0, 0, std::string("ab\0cd", 5)),
       Expected{2, 0, 0, "ab"}},
      {"version 2", Block(2, 2, 0, 0, ""), std::nullopt},
      {"version 0xFFFFFFFF", Block(0xFFFFFFFFu, 2, 0, 0, ""), std::nullopt},
      {"ends before the address length", Cut(Block(1, 2, 0, 0, ""), 16), std::nullopt},
      {"ends inside the address length", Cut(Block(1, 2, 0, 0, ""), 19), std::nullopt},
      {"ends inside the address", Cut(Block(1, 2, 0, 0, url), 20 + url.size() - 1),
       std::nullopt},
      {"length larger than what follows", OverlongCount(), std::nullopt},
      {"version only", Cut(Block(1, 2, 0, 0, ""), 4), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto block = ReadHtmlViewerBlock(c.bytes);
    ASSERT_EQ(block.has_value(), c.expected.has_value());
    if (!block) continue;
    EXPECT_EQ(block->textSize, c.expected->textSize);
    EXPECT_EQ(block->offline, c.expected->offline);
    EXPECT_EQ(block->silent, c.expected->silent);
    EXPECT_EQ(block->address, c.expected->address);
  }
}

TEST(HtmlViewerBlock, WritesVersionOneInStoredOrder) {
  HtmlViewerBlock block;
  block.textSize = 3;
  block.offline = 1;
  block.silent = 0;
  block.address = "ab";
  EXPECT_EQ(WriteHtmlViewerBlock(block),
            (std::vector<std::uint8_t>{1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,  //
                                       2, 0, 0, 0, 'a', 'b'}));
  EXPECT_EQ(WriteHtmlViewerBlock({}).size(), 20u);

  block = {-1, 5, 1, "http://\xC4\xE3\xBA\xC3/"};  // 你好
  const auto back = ReadHtmlViewerBlock(WriteHtmlViewerBlock(block));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->textSize, block.textSize);
  EXPECT_EQ(back->offline, block.offline);
  EXPECT_EQ(back->silent, block.silent);
  EXPECT_EQ(back->address, block.address);
}

}  // namespace
}  // namespace pelmora
