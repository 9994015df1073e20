// Fonts of the seam (a stored 60-byte LOGFONTA record, or the default GUI font) as GDI fonts.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace pelmora::platform::win32 {

// A GDI font for the font description. `owned` tells whether the caller must DeleteObject it (the stock
// default GUI font is shared). The face name of a stored record is code page 936 text, so it
// is converted and the font made with the wide API.
HFONT MakeFont(const FontSpec& font, bool& owned);

}  // namespace pelmora::platform::win32
