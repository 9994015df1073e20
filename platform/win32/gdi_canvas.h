// The Canvas a window procedure draws with while it handles msg::Paint: a GDI device
// context between BeginPaint and EndPaint.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace pelmora::platform::win32 {

class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, RECT invalid);
  ~GdiCanvas();
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  Rect InvalidRect() const override;
  void FillRect(Rect area, Colour colour) override;
  void SelectFont(const FontSpec& font) override;
  void DrawTextIn(std::string_view text, Rect area, std::uint32_t flags,
                  Colour colour) override;
  void SetClip(Rect area) override;

 private:
  HDC dc_;
  RECT invalid_;
  HGDIOBJ originalFont_ = nullptr;
  HFONT ownedFont_ = nullptr;
};

}  // namespace pelmora::platform::win32
