// Little-endian reading and writing of stored blocks. The reader never reads outside its
// bytes: the first read that would run past the end fails, and every later read fails too,
// so a parser can read a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pelmora {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Failed() const { return failed_; }
  std::size_t Offset() const { return offset_; }
  std::size_t Remaining() const { return failed_ ? 0 : bytes_.size() - offset_; }
  bool AtEnd() const { return Remaining() == 0; }

  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  // The next n bytes; empty (and failed) when fewer remain.
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    if (failed_ || n > bytes_.size() - offset_) {
      failed_ = true;
      return {};
    }
    auto taken = bytes_.subspan(offset_, n);
    offset_ += n;
    return taken;
  }

  // A u32 byte count, then that many bytes. A count that does not fit fails.
  std::span<const std::uint8_t> CountedBytes() {
    std::uint32_t count = U32();
    return Bytes(count);
  }
  std::string CountedText() {
    auto bytes = CountedBytes();
    return std::string(bytes.begin(), bytes.end());
  }
  // Bytes up to a 0 byte, which is consumed. Fails when no 0 byte follows.
  std::string ZeroTerminatedText() {
    if (failed_) return {};
    for (std::size_t end = offset_; end < bytes_.size(); ++end) {
      if (bytes_[end] == 0) {
        std::string text(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                         bytes_.begin() + static_cast<std::ptrdiff_t>(end));
        offset_ = end + 1;
        return text;
      }
    }
    failed_ = true;
    return {};
  }

 private:
  std::uint64_t Little(std::size_t width) {
    auto bytes = Bytes(width);
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | bytes[i];
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
  bool failed_ = false;
};

class ByteWriter {
 public:
  void U16(std::uint16_t value) { Little(value, 2); }
  void U32(std::uint32_t value) { Little(value, 4); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void Bytes(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
  void CountedBytes(std::span<const std::uint8_t> bytes) {
    U32(static_cast<std::uint32_t>(bytes.size()));
    Bytes(bytes);
  }
  void CountedText(const std::string& text) {
    CountedBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  }
  void ZeroTerminatedText(const std::string& text) {
    Bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    out_.push_back(0);
  }

  std::size_t Size() const { return out_.size(); }
  // Overwrites a u32 written earlier (lengths known only after their content).
  // An offset that does not name four written bytes is a caller's error.
  void PatchU32(std::size_t offset, std::uint32_t value) {
    if (offset > out_.size() || out_.size() - offset < 4) {
      throw std::out_of_range("ByteWriter::PatchU32 past the written bytes");
    }
    for (std::size_t i = 0; i < 4; ++i) out_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  const std::vector<std::uint8_t>& Data() const { return out_; }
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  void Little(std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  std::vector<std::uint8_t> out_;
};

}  // namespace pelmora
