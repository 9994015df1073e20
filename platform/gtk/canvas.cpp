#include "platform/gtk/canvas.h"

#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "platform/gtk/font_mapping.h"
#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::gtk {
namespace {

namespace dt = vocab::dt;

void SetSourceColour(cairo_t* cr, platform::Colour colour) {
  cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                       ((colour >> 16) & 0xFF) / 255.0);
}

}  // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, platform::Size clientSize)
    : cr_(cr), clientSize_(clientSize), font_(DescribeFont(ChooseFont({}))) {
  // A saved state to go back to, so that SetClip replaces the clip instead of narrowing it.
  cairo_save(cr_);
  cairo_save(cr_);
}

CairoCanvas::~CairoCanvas() {
  cairo_restore(cr_);
  cairo_restore(cr_);
  pango_font_description_free(font_);
}

platform::Rect CairoCanvas::InvalidRect() const {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  auto left = static_cast<std::int32_t>(std::floor(std::max(x1, 0.0)));
  auto top = static_cast<std::int32_t>(std::floor(std::max(y1, 0.0)));
  auto right = static_cast<std::int32_t>(std::ceil(std::min<double>(x2, clientSize_.width)));
  auto bottom = static_cast<std::int32_t>(std::ceil(std::min<double>(y2, clientSize_.height)));
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

void CairoCanvas::FillRect(platform::Rect area, platform::Colour colour) {
  SetSourceColour(cr_, colour);
  cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
  cairo_fill(cr_);
}

void CairoCanvas::SelectFont(const platform::FontSpec& font) {
  pango_font_description_free(font_);
  font_ = DescribeFont(ChooseFont(font));
}

void CairoCanvas::DrawTextIn(std::string_view text, platform::Rect area, std::uint32_t flags,
                             platform::Colour colour) {
  PangoLayout* layout = pango_cairo_create_layout(cr_);
  std::string utf8 = platform::Cp936ToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  pango_layout_set_font_description(layout, font_);
  if ((flags & dt::SingleLine) != 0) {
    pango_layout_set_single_paragraph_mode(layout, TRUE);
  } else if ((flags & dt::WordBreak) != 0) {
    pango_layout_set_width(layout, area.width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  PangoAlignment alignment = PANGO_ALIGN_LEFT;
  if ((flags & dt::Center) != 0) alignment = PANGO_ALIGN_CENTER;
  if ((flags & dt::Right) != 0) alignment = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, alignment);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  platform::Point at = PlaceText(area, {width, height}, flags);
  cairo_save(cr_);
  if ((flags & dt::NoClip) == 0) {
    cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
    cairo_clip(cr_);
  }
  SetSourceColour(cr_, colour);
  // A wrapped layout aligns inside its own width, which starts at the area's left edge.
  cairo_move_to(cr_, (flags & dt::WordBreak) != 0 && (flags & dt::SingleLine) == 0 ? area.left : at.x,
                at.y);
  pango_cairo_show_layout(cr_, layout);
  cairo_restore(cr_);
  g_object_unref(layout);
}

void CairoCanvas::SetClip(platform::Rect area) {
  cairo_restore(cr_);
  cairo_save(cr_);
  cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
  cairo_clip(cr_);
}

platform::Point PlaceText(platform::Rect area, platform::Size text, std::uint32_t flags) {
  platform::Point at{area.left, area.top};
  if ((flags & dt::Center) != 0) {
    at.x = area.left + (area.width - text.width) / 2;
  } else if ((flags & dt::Right) != 0) {
    at.x = area.left + area.width - text.width;
  }
  if ((flags & dt::SingleLine) != 0) {
    if ((flags & dt::VCenter) != 0) {
      at.y = area.top + (area.height - text.height) / 2;
    } else if ((flags & dt::Bottom) != 0) {
      at.y = area.top + area.height - text.height;
    }
  }
  return at;
}

}  // namespace pelmora::gtk

namespace pelmora::platform {

Size MeasureText(const FontSpec& font, std::string_view text) {
  PangoFontMap* fontMap = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(fontMap);
  if (gtk::GtkStarted()) {
    if (GdkScreen* screen = gdk_screen_get_default(); screen != nullptr) {
      pango_cairo_context_set_resolution(context, gdk_screen_get_resolution(screen));
    }
  }
  PangoLayout* layout = pango_layout_new(context);
  std::string utf8 = platform::Cp936ToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  PangoFontDescription* description = gtk::DescribeFont(gtk::ChooseFont(font));
  pango_layout_set_font_description(layout, description);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  pango_font_description_free(description);
  g_object_unref(layout);
  g_object_unref(context);
  return {width, height};
}

// Asked of the theme once: the labels paint with it on every paint.
Colour FaceColour() {
  constexpr Colour kFallback = 0xF0F0F0;
  if (!gtk::GtkStarted()) return kFallback;
  static std::optional<Colour> cached;
  if (cached) return *cached;
  GtkWidget* probe = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkStyleContext* context = gtk_widget_get_style_context(probe);
  GdkRGBA* background = nullptr;
  gtk_style_context_get(context, GTK_STATE_FLAG_NORMAL, "background-color", &background, nullptr);
  Colour colour = kFallback;
  if (background != nullptr && background->alpha > 0.5) {
    auto channel = [](double value) {
      return static_cast<Colour>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    colour = channel(background->red) | channel(background->green) << 8 |
             channel(background->blue) << 16;
  }
  if (background != nullptr) gdk_rgba_free(background);
  gtk_widget_destroy(probe);
  cached = colour;
  return colour;
}

}  // namespace pelmora::platform
