// The stored-block reader and writer: little-endian order, reads that never leave the block,
// a failure that sticks, and texts that round-trip through the writer.
#include "runtime/byte_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace pelmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A heap block of exactly the given bytes, so that under AddressSanitizer a read one byte past
// the end is reported instead of landing in a vector's spare capacity.
class ExactBlock {
 public:
  explicit ExactBlock(const Bytes& bytes) : size_(bytes.size()), data_(new std::uint8_t[bytes.size()]) {
    if (size_ != 0) std::memcpy(data_.get(), bytes.data(), size_);
  }
  std::span<const std::uint8_t> View() const { return {data_.get(), size_}; }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> data_;
};

TEST(ByteReaderTest, NumbersAreLittleEndian) {
  const Bytes bytes = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80};
  ByteReader reader(bytes);
  EXPECT_EQ(reader.U16(), 0x1234u);
  EXPECT_EQ(reader.U32(), 0x12345678u);
  EXPECT_EQ(reader.I32(), -2);
  EXPECT_EQ(reader.I32(), INT32_MIN);
  EXPECT_FALSE(reader.Failed());
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Offset(), bytes.size());
}

// Each read that does not fit in what is left fails, yields nothing and moves nothing.
struct ShortRead {
  const char* name;
  Bytes block;
  void (*read)(ByteReader&);
};

TEST(ByteReaderTest, ReadPastTheEndFailsAndYieldsNothing) {
  const ShortRead cases[] = {
      {"u16 from one byte", {0xAA}, [](ByteReader& r) { EXPECT_EQ(r.U16(), 0u); }},
      {"u32 from three bytes", {0xAA, 0xBB, 0xCC}, [](ByteReader& r) { EXPECT_EQ(r.U32(), 0u); }},
      {"i32 from empty", {}, [](ByteReader& r) { EXPECT_EQ(r.I32(), 0); }},
      {"bytes one too many", {1, 2, 3}, [](ByteReader& r) { EXPECT_TRUE(r.Bytes(4).empty()); }},
      {"counted bytes longer than the rest", {3, 0, 0, 0, 'a', 'b'},
       [](ByteReader& r) { EXPECT_TRUE(r.CountedBytes().empty()); }},
      // A count near 2^32 must not wrap around an offset computation.
      {"counted text with a huge count", {0xFF, 0xFF, 0xFF, 0xFF, 'a'},
       [](ByteReader& r) { EXPECT_EQ(r.CountedText(), ""); }},
      {"counted text with a truncated count", {1, 0}, [](ByteReader& r) { EXPECT_EQ(r.CountedText(), ""); }},
      {"zero-terminated text without its zero", {'a', 'b', 'c'},
       [](ByteReader& r) { EXPECT_EQ(r.ZeroTerminatedText(), ""); }},
      {"zero-terminated text from empty", {}, [](ByteReader& r) { EXPECT_EQ(r.ZeroTerminatedText(), ""); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExactBlock block(c.block);
    ByteReader reader(block.View());
    c.read(reader);
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(ByteReaderTest, FailureSticksEvenForReadsThatWouldFit) {
  const Bytes bytes = {0x01, 0x00, 0x00, 0x00, 'x', 0x00, 0x02, 0x00};
  ByteReader reader(bytes);
  EXPECT_TRUE(reader.Bytes(bytes.size() + 1).empty());
  ASSERT_TRUE(reader.Failed());
  const std::size_t offset_after_failure = reader.Offset();
  // Everything below would succeed on a fresh reader.
  EXPECT_EQ(reader.U16(), 0u);
  EXPECT_EQ(reader.U32(), 0u);
  EXPECT_TRUE(reader.Bytes(0).empty());
  EXPECT_TRUE(reader.CountedBytes().empty());
  EXPECT_EQ(reader.ZeroTerminatedText(), "");
  EXPECT_TRUE(reader.Failed());
  EXPECT_EQ(reader.Offset(), offset_after_failure);
}

TEST(ByteReaderTest, TextsAreReadExactly) {
  ByteWriter writer;
  writer.CountedText("");
  writer.ZeroTerminatedText("");
  // Code page 936 bytes pass through untouched: 自动刷新
  writer.CountedText("\xD7\xD4\xB6\xAF\xCB\xA2\xD0\xC2");
  writer.ZeroTerminatedText("http://a/");
  writer.U16(0xBEEF);
  const Bytes bytes = writer.Take();

  ExactBlock block(bytes);
  ByteReader reader(block.View());
  EXPECT_EQ(reader.CountedText(), "");
  EXPECT_EQ(reader.ZeroTerminatedText(), "");
  EXPECT_EQ(reader.CountedText(), "\xD7\xD4\xB6\xAF\xCB\xA2\xD0\xC2");
  EXPECT_EQ(reader.ZeroTerminatedText(), "http://a/");
  // The terminator is consumed, so the next field starts right after it.
  EXPECT_EQ(reader.U16(), 0xBEEFu);
  EXPECT_FALSE(reader.Failed());
  EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteReaderTest, ZeroTerminatedTextStopsAtTheFirstZero) {
  const Bytes bytes = {'a', 0x00, 'b', 0x00};
  ByteReader reader(bytes);
  EXPECT_EQ(reader.ZeroTerminatedText(), "a");
  EXPECT_EQ(reader.Offset(), 2u);
  EXPECT_EQ(reader.ZeroTerminatedText(), "b");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.Failed());
}

// A record as the description readers see it: every field kind, with a length patched in
// after its content.
Bytes SampleRecord() {
  ByteWriter writer;
  writer.U32(0);  // length of what follows, patched below
  const std::size_t start = writer.Size();
  writer.U16(7);
  writer.I32(-1280);
  writer.CountedText("caption");
  writer.ZeroTerminatedText("edit");
  const Bytes raw = {0x00, 0xFF, 0x80};
  writer.CountedBytes(raw);
  writer.Bytes(raw);
  writer.PatchU32(0, static_cast<std::uint32_t>(writer.Size() - start));
  return writer.Take();
}

struct SampleFields {
  std::uint32_t length = 0;
  std::uint16_t id = 0;
  std::int32_t left = 0;
  std::string caption;
  std::string class_name;
  Bytes counted;
  Bytes raw;
};

SampleFields ReadSample(ByteReader& reader) {
  SampleFields f;
  f.length = reader.U32();
  f.id = reader.U16();
  f.left = reader.I32();
  f.caption = reader.CountedText();
  f.class_name = reader.ZeroTerminatedText();
  auto counted = reader.CountedBytes();
  f.counted.assign(counted.begin(), counted.end());
  auto raw = reader.Bytes(3);
  f.raw.assign(raw.begin(), raw.end());
  return f;
}

TEST(ByteReaderTest, WriterRoundTrip) {
  const Bytes record = SampleRecord();
  ByteReader reader(record);
  const SampleFields f = ReadSample(reader);
  ASSERT_FALSE(reader.Failed());
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(f.length, record.size() - 4);
  EXPECT_EQ(f.id, 7u);
  EXPECT_EQ(f.left, -1280);
  EXPECT_EQ(f.caption, "caption");
  EXPECT_EQ(f.class_name, "edit");
  EXPECT_EQ(f.counted, (Bytes{0x00, 0xFF, 0x80}));
  EXPECT_EQ(f.raw, (Bytes{0x00, 0xFF, 0x80}));
}

// Cut the record at every point: the parse must fail (never succeed on a partial record) and
// must stay inside the block, which AddressSanitizer checks in the asan build.
TEST(ByteReaderTest, EveryTruncationOfARecordFails) {
  const Bytes record = SampleRecord();
  for (std::size_t cut = 0; cut < record.size(); ++cut) {
    SCOPED_TRACE("record cut to " + std::to_string(cut) + " of " + std::to_string(record.size()) + " bytes");
    ExactBlock block(Bytes(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut)));
    ByteReader reader(block.View());
    ReadSample(reader);
    EXPECT_TRUE(reader.Failed());
    EXPECT_LE(reader.Offset(), cut);
  }
}

TEST(ByteWriterTest, RefusesToPatchBytesItHasNotWritten) {
  ByteWriter writer;
  writer.U32(0);
  writer.U16(0);
  EXPECT_NO_THROW(writer.PatchU32(2, 0x01020304u));
  EXPECT_THROW(writer.PatchU32(3, 0), std::out_of_range);
  EXPECT_THROW(writer.PatchU32(std::size_t(-1), 0), std::out_of_range);
  EXPECT_EQ(writer.Data(), (Bytes{0, 0, 0x04, 0x03, 0x02, 0x01}));
}

}  // namespace
}  // namespace pelmora
