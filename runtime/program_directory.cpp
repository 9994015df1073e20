#include "runtime/program_directory.h"

#include <cstdint>

namespace pelmora {

namespace {
bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
}  // namespace

std::string FolderOfProgram(std::string_view programPath, char separator) {
  std::size_t lastSeparator = std::string_view::npos;
  for (std::size_t i = 0; i < programPath.size();) {
    const auto byte = static_cast<unsigned char>(programPath[i]);
    if (IsLeadByte(byte) && i + 1 < programPath.size()) {
      i += 2;
      continue;
    }
    if (programPath[i] == separator) lastSeparator = i;
    ++i;
  }
  if (lastSeparator == std::string_view::npos) return {};
  return std::string(programPath.substr(0, lastSeparator));
}

}  // namespace pelmora
