#include "platform/win32/fonts.h"

#include <cstring>
#include <string_view>

#include "platform/win32/text_conversion.h"

namespace pelmora::platform::win32 {

static_assert(sizeof(LOGFONTA) == 60, "a stored font record is a LOGFONTA");

HFONT MakeFont(const FontSpec& font, bool& owned) {
  owned = false;
  if (!font.logFont) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA stored{};
  std::memcpy(&stored, font.logFont->data(), sizeof stored);
  LOGFONTW wide{};
  std::memcpy(&wide, &stored, offsetof(LOGFONTA, lfFaceName));
  const std::string_view face(stored.lfFaceName, strnlen(stored.lfFaceName, LF_FACESIZE));
  const std::wstring wideFace = WideFrom936(face).substr(0, LF_FACESIZE - 1);
  std::memcpy(wide.lfFaceName, wideFace.c_str(), (wideFace.size() + 1) * sizeof(wchar_t));
  const HFONT made = CreateFontIndirectW(&wide);
  if (made == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  owned = true;
  return made;
}

}  // namespace pelmora::platform::win32
