// The canvas a procedure paints with during msg::Paint: cairo for fills and clipping, Pango
// for text.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include "platform/platform.h"

namespace pelmora::gtk {

class CairoCanvas final : public platform::Canvas {
 public:
  CairoCanvas(cairo_t* cr, platform::Size clientSize);
  ~CairoCanvas();
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  platform::Rect InvalidRect() const override;
  void FillRect(platform::Rect area, platform::Colour colour) override;
  void SelectFont(const platform::FontSpec& font) override;
  void DrawTextIn(std::string_view text, platform::Rect area, std::uint32_t flags,
                  platform::Colour colour) override;
  void SetClip(platform::Rect area) override;

 private:
  cairo_t* cr_;
  platform::Size clientSize_;
  PangoFontDescription* font_;
};

// Where a text block of this size goes inside an area by the vocab::dt flags: horizontal
// alignment always, vertical alignment only for a single line (as the system's DrawText).
platform::Point PlaceText(platform::Rect area, platform::Size text, std::uint32_t flags);

}  // namespace pelmora::gtk
