// The run time's font records (60-byte LOGFONTA) as Pango font descriptions.
#pragma once

#include <pango/pango.h>

#include <string>

#include "platform/platform.h"

namespace pelmora::gtk {

struct FontChoice {
  std::string family;     // UTF-8
  double pixelSize = 0;   // em size in pixels; 0: the default point size
  int weight = 400;       // 100..900 as in the record; 0 there means normal
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

// The default GUI font: a sans of 9 points. A record gives its height, weight, italic and face
// (a positive height is a cell height, of which the em takes 7/8; a negative one is the em).
FontChoice ChooseFont(const platform::FontSpec& font);

// A new description; the caller frees it with pango_font_description_free.
PangoFontDescription* DescribeFont(const FontChoice& choice);

// The same choice as CSS declarations for a widget's style sheet.
std::string FontCss(const FontChoice& choice);

}  // namespace pelmora::gtk
