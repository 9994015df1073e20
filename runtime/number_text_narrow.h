// Reading a code page 936 text as its single-byte form: the full-width digits, signs, letters
// and the ideographic space that an input method types become the ASCII bytes a number parser
// understands. Every other double-byte character passes through unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pelmora {

// Yields the narrowed bytes of a zero-terminated text one at a time, without building a copy,
// with a look-ahead of a few bytes. It never reads past the terminator: a lead byte directly
// before it is dropped and ends the text.
class NarrowedReader {
 public:
  static constexpr std::size_t kMaxLookAhead = 3;

  explicit NarrowedReader(const char* text) : next_(reinterpret_cast<const unsigned char*>(text)) {}

  // The narrowed byte `ahead` places from here (0 is the current one); 0 at the end.
  // `ahead` must be below kMaxLookAhead.
  unsigned char Peek(std::size_t ahead = 0);
  // Moves past the current byte; does nothing at the end.
  void Advance();
  bool AtEnd() { return Peek() == 0; }

 private:
  // Decodes the next character of the source into pending_; false at the end of the source.
  bool DecodeOne();

  const unsigned char* next_;  // null once the source's end was reached
  // Decoded bytes not yet consumed, oldest first. One character gives at most two bytes, so a
  // look-ahead of kMaxLookAhead needs room for one more.
  std::array<unsigned char, kMaxLookAhead + 1> pending_{};
  std::size_t pendingCount_ = 0;
};

// The whole narrowed form of a zero-terminated text (null counts as empty).
std::string NarrowFullWidth(const char* text);

}  // namespace pelmora
