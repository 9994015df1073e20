// Texts, fonts, colours, icons and shapes of windows, and the edit box's settings.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <numbers>

#include "platform/gtk/font_mapping.h"
#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::platform {
namespace {

using gtk::Find;
using gtk::NativeWindow;

std::string CssColour(Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

// Each widget keeps one style sheet of its own, rebuilt from its font and colour parts.
void RestyleWidget(NativeWindow& window) {
  if (window.widget == nullptr) return;
  if (window.css == nullptr) {
    window.css = gtk_css_provider_new();
    gtk_style_context_add_provider(gtk_widget_get_style_context(window.widget),
                                   GTK_STYLE_PROVIDER(window.css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    // The provider lives as long as the widget.
    g_object_set_data_full(G_OBJECT(window.widget), "pelmora-css", window.css, g_object_unref);
  }
  std::string sheet = "* { " + window.cssFont + " " + window.cssColours + " }";
  gtk_css_provider_load_from_data(window.css, sheet.c_str(), -1, nullptr);
}

GtkWidget* ButtonLabel(NativeWindow& window) {
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(window.widget));
  return GTK_IS_LABEL(child) ? child : nullptr;
}

}  // namespace

void SetText(WindowHandle window, std::string_view text) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->text = std::string(text);
  if (record->widget == nullptr) return;
  std::string utf8 = platform::Cp936ToUtf8(text);
  switch (record->windowClass) {
    case WindowClass::Frame:
      gtk_window_set_title(GTK_WINDOW(record->widget), utf8.c_str());
      return;
    case WindowClass::Button:
      if (GtkWidget* label = ButtonLabel(*record)) {
        gtk_label_set_text(GTK_LABEL(label), utf8.c_str());
      } else {
        gtk_button_set_label(GTK_BUTTON(record->widget), utf8.c_str());
      }
      return;
    case WindowClass::Edit:
      // The system's edit box reports every text it is given as one change, also an
      // unchanged text; GTK reports none for an unchanged text and may report two for a
      // replaced one. Report it here, once.
      record->settingText = true;
      gtk_entry_set_text(GTK_ENTRY(record->widget), utf8.c_str());
      record->settingText = false;
      gtk::Deliver(window, vocab::msg::ReflectedCommand, vocab::notify::EditChanged,
                   static_cast<std::intptr_t>(window));
      return;
    case WindowClass::Label:
      gtk_widget_queue_draw(record->widget);
      return;
    default:
      return;
  }
}

std::string TextOf(WindowHandle window) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return {};
  if (record->windowClass == WindowClass::Edit && record->widget != nullptr) {
    return platform::Utf8ToCp936(gtk_entry_get_text(GTK_ENTRY(record->widget)));
  }
  return record->text;
}

void SetFont(WindowHandle window, const FontSpec& font) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->font = font;
  if (record->windowClass != WindowClass::Edit && record->windowClass != WindowClass::Button) {
    return;  // frames and labels draw their texts with the fonts their procedures select
  }
  record->cssFont = gtk::FontCss(gtk::ChooseFont(font));
  RestyleWidget(*record);
}

void SetColours(WindowHandle window, Colour text, Colour background) {
  NativeWindow* record = Find(window);
  if (record == nullptr) return;
  record->cssColours = "color: " + CssColour(text) + "; background-color: " +
                       CssColour(background) + "; background-image: none;";
  RestyleWidget(*record);
}

void SetIcon(WindowHandle window, std::span<const std::uint8_t> iconData) {
  NativeWindow* record = Find(window);
  if (record == nullptr || record->widget == nullptr || !gtk::IsTopLevel(*record)) return;
  GtkWindow* gtkWindow = GTK_WINDOW(record->widget);
  if (iconData.empty()) {
    gtk_window_set_icon_name(gtkWindow, "pelmora");
    return;
  }
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  bool loaded = gdk_pixbuf_loader_write(loader, iconData.data(), iconData.size(), nullptr) &&
                gdk_pixbuf_loader_close(loader, nullptr);
  GdkPixbuf* pixbuf = loaded ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (pixbuf != nullptr) {
    gtk_window_set_icon(gtkWindow, pixbuf);
  } else {
    if (!loaded) gdk_pixbuf_loader_close(loader, nullptr);
    std::fprintf(stderr, "pelmora: the window's icon data cannot be read; it keeps its icon\n");
  }
  g_object_unref(loader);
}

void SetShape(WindowHandle window, std::int32_t shape) {
  NativeWindow* record = Find(window);
  if (record == nullptr || record->widget == nullptr) return;
  if (shape == 0) {
    gtk_widget_shape_combine_region(record->widget, nullptr);
    return;
  }
  if (shape < 0 || shape > 3) {
    std::fprintf(stderr, "pelmora: window shape %d is not available here; it stays rectangular\n",
                 shape);
    return;
  }
  // The shape is drawn as a mask and taken as the window's region (for the size the window has
  // now: a later resize keeps the old outline).
  constexpr double kPi = std::numbers::pi;
  const double width = record->bounds.width, height = record->bounds.height;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A1, record->bounds.width,
                                                     record->bounds.height);
  cairo_t* cr = cairo_create(mask);
  auto ellipse = [cr](double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_translate(cr, x + w / 2, y + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
  };
  if (shape == 1 || shape == 3) ellipse(0, 0, width, height);
  if (shape == 3) {
    double inset = std::min(width, height) / 4;
    ellipse(inset, inset, width - 2 * inset, height - 2 * inset);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  }
  if (shape == 2) {
    double radius = std::min(width, height) / 8;
    cairo_new_sub_path(cr);
    cairo_arc(cr, width - radius, radius, radius, -kPi / 2, 0);
    cairo_arc(cr, width - radius, height - radius, radius, 0, kPi / 2);
    cairo_arc(cr, radius, height - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, radius, radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_region_t* region = gdk_cairo_region_create_from_surface(mask);
  gtk_widget_shape_combine_region(record->widget, region);
  cairo_region_destroy(region);
  cairo_surface_destroy(mask);
}

void SetEditLimit(WindowHandle edit, std::uint32_t maxLength) {
  NativeWindow* record = Find(edit);
  if (record == nullptr || record->windowClass != WindowClass::Edit) return;
  gint limit = maxLength > 65535 ? 65535 : static_cast<gint>(maxLength);
  gtk_entry_set_max_length(GTK_ENTRY(record->widget), limit);
}

void SetEditPasswordChar(WindowHandle edit, std::uint16_t character) {
  NativeWindow* record = Find(edit);
  if (record == nullptr || record->windowClass != WindowClass::Edit) return;
  // A code page 936 character: one byte, or a lead byte and a trail byte.
  std::string bytes;
  if (character > 0xFF) bytes.push_back(static_cast<char>(character >> 8));
  bytes.push_back(static_cast<char>(character & 0xFF));
  std::string utf8 = platform::Cp936ToUtf8(bytes);
  gunichar masking = utf8.empty() ? '*' : g_utf8_get_char_validated(utf8.c_str(), -1);
  if (character == 0) {
    gtk_entry_set_visibility(GTK_ENTRY(record->widget), TRUE);
    return;
  }
  gtk_entry_set_invisible_char(GTK_ENTRY(record->widget), masking);
  gtk_entry_set_visibility(GTK_ENTRY(record->widget), FALSE);
}

void SetEditSelection(WindowHandle edit, std::uint32_t start, std::uint32_t length) {
  NativeWindow* record = Find(edit);
  if (record == nullptr || record->windowClass != WindowClass::Edit) return;
  auto end = static_cast<std::uint64_t>(start) + length;
  auto clamp = [](std::uint64_t value) {
    return static_cast<gint>(value > 0x7FFFFFFF ? 0x7FFFFFFF : value);
  };
  gtk_editable_select_region(GTK_EDITABLE(record->widget), clamp(start), clamp(end));
}

// GtkEntry keeps its one line of text centred in any height; the band is kept so that a click
// above or below it is not taken as a click into the text.
void SetEditTextBand(WindowHandle edit, std::int32_t top, std::int32_t height) {
  NativeWindow* record = Find(edit);
  if (record == nullptr || record->windowClass != WindowClass::Edit) return;
  record->editTextBand = std::make_pair(top, height);
}

}  // namespace pelmora::platform
