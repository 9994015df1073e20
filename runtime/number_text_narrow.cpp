#include "runtime/number_text_narrow.h"

#include <algorithm>

namespace pelmora {

namespace {

constexpr unsigned char kIdeographicSpaceLead = 0xA1;
constexpr unsigned char kFullWidthFormsLead = 0xA3;

// The single byte a double-byte character stands for, or 0 when it keeps both bytes.
unsigned char NarrowPair(unsigned char lead, unsigned char trail) {
  if (lead == kIdeographicSpaceLead) {
    switch (trail) {
      case 0xA1: return ' ';  // ideographic space
      case 0xAB: return '~';  // full-width tilde
      case 0xEE:              // white star
      case 0xEF: return '*';  // black star
      default: return 0;
    }
  }
  if (lead == kFullWidthFormsLead && trail >= 0xA1 && trail <= 0xFE) {
    // Row 3 of the code page mirrors ASCII 0x21 to 0x7E with the high bit set.
    return static_cast<unsigned char>(trail & 0x7F);
  }
  return 0;
}

}  // namespace

bool NarrowedReader::DecodeOne() {
  if (next_ == nullptr || *next_ == 0) {
    next_ = nullptr;
    return false;
  }
  const unsigned char lead = next_[0];
  if (lead < 0x80) {
    pending_[pendingCount_++] = lead;
    ++next_;
    return true;
  }
  const unsigned char trail = next_[1];
  if (trail == 0) {
    // A lead byte without its trail byte is no character: drop it, and the text ends here.
    next_ = nullptr;
    return false;
  }
  next_ += 2;
  if (const unsigned char single = NarrowPair(lead, trail); single != 0) {
    pending_[pendingCount_++] = single;
  } else {
    pending_[pendingCount_++] = lead;
    pending_[pendingCount_++] = trail;
  }
  return true;
}

unsigned char NarrowedReader::Peek(std::size_t ahead) {
  while (pendingCount_ <= ahead) {
    if (!DecodeOne()) return 0;
  }
  return pending_[ahead];
}

void NarrowedReader::Advance() {
  if (Peek() == 0) return;
  std::copy(pending_.begin() + 1, pending_.begin() + pendingCount_, pending_.begin());
  --pendingCount_;
}

std::string NarrowFullWidth(const char* text) {
  std::string narrowed;
  NarrowedReader reader(text);
  for (unsigned char byte = reader.Peek(); byte != 0; byte = reader.Peek()) {
    narrowed.push_back(static_cast<char>(byte));
    reader.Advance();
  }
  return narrowed;
}

}  // namespace pelmora
