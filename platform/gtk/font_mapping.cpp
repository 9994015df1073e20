#include "platform/gtk/font_mapping.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/codec/text_codec.h"

namespace pelmora::gtk {
namespace {

constexpr const char* kDefaultFamily = "Sans";
constexpr double kDefaultPoints = 9.0;

std::int32_t ReadInt32(const std::array<std::uint8_t, 60>& record, std::size_t at) {
  return static_cast<std::int32_t>(record[at] | record[at + 1] << 8 | record[at + 2] << 16 |
                                   static_cast<std::uint32_t>(record[at + 3]) << 24);
}

}  // namespace

FontChoice ChooseFont(const platform::FontSpec& font) {
  FontChoice choice;
  choice.family = kDefaultFamily;
  if (!font.logFont) return choice;
  const auto& record = *font.logFont;
  // LOGFONTA: height 0, width 4, escapement 8, orientation 12, weight 16, italic 20,
  // underline 21, strikeout 22, character set 23, precisions and quality 24..27, face 28..59.
  std::int32_t height = ReadInt32(record, 0);
  if (height < 0) choice.pixelSize = -static_cast<double>(height);
  if (height > 0) choice.pixelSize = height * 7.0 / 8.0;
  std::int32_t weight = ReadInt32(record, 16);
  if (weight > 0) choice.weight = weight > 1000 ? 1000 : weight;
  choice.italic = record[20] != 0;
  choice.underline = record[21] != 0;
  choice.strikeout = record[22] != 0;
  std::size_t faceLength = 0;
  while (faceLength < 32 && record[28 + faceLength] != 0) ++faceLength;
  if (faceLength > 0) {
    choice.family = platform::Cp936ToUtf8(
        std::string_view(reinterpret_cast<const char*>(record.data() + 28), faceLength));
  }
  return choice;
}

PangoFontDescription* DescribeFont(const FontChoice& choice) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, choice.family.c_str());
  if (choice.pixelSize > 0) {
    pango_font_description_set_absolute_size(description, choice.pixelSize * PANGO_SCALE);
  } else {
    pango_font_description_set_size(description, static_cast<gint>(kDefaultPoints * PANGO_SCALE));
  }
  pango_font_description_set_weight(description, static_cast<PangoWeight>(choice.weight));
  pango_font_description_set_style(description,
                                   choice.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

std::string FontCss(const FontChoice& choice) {
  std::string family;
  for (char c : choice.family) {
    if (c == '"' || c == '\\') family.push_back('\\');
    family.push_back(c);
  }
  char size[48];
  if (choice.pixelSize > 0) {
    std::snprintf(size, sizeof size, "%.1fpx", choice.pixelSize);
  } else {
    std::snprintf(size, sizeof size, "%.0fpt", kDefaultPoints);
  }
  std::string css = "font-family: \"" + family + "\"; font-size: " + size +
                    "; font-weight: " + std::to_string(choice.weight / 100 * 100) +
                    "; font-style: " + (choice.italic ? "italic" : "normal") + ";";
  if (choice.underline || choice.strikeout) {
    css += std::string(" text-decoration-line:") + (choice.underline ? " underline" : "") +
           (choice.strikeout ? " line-through" : "") + ";";
  }
  return css;
}

}  // namespace pelmora::gtk
