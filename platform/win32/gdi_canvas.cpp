#include "platform/win32/gdi_canvas.h"

#include "platform/win32/fonts.h"
#include "platform/win32/text_conversion.h"

namespace pelmora::platform::win32 {

namespace {
RECT ToRect(Rect area) {
  return RECT{area.left, area.top, area.left + area.width, area.top + area.height};
}
}  // namespace

GdiCanvas::GdiCanvas(HDC dc, RECT invalid) : dc_(dc), invalid_(invalid) {}

GdiCanvas::~GdiCanvas() {
  if (originalFont_ != nullptr) SelectObject(dc_, originalFont_);
  if (ownedFont_ != nullptr) DeleteObject(ownedFont_);
}

Rect GdiCanvas::InvalidRect() const {
  if (IsRectEmpty(&invalid_)) return {};
  return Rect{invalid_.left, invalid_.top, invalid_.right - invalid_.left,
              invalid_.bottom - invalid_.top};
}

void GdiCanvas::FillRect(Rect area, Colour colour) {
  const RECT rect = ToRect(area);
  const HBRUSH brush = CreateSolidBrush(colour);
  ::FillRect(dc_, &rect, brush);
  DeleteObject(brush);
}

void GdiCanvas::SelectFont(const FontSpec& font) {
  bool owned = false;
  const HFONT made = MakeFont(font, owned);
  const HGDIOBJ previous = SelectObject(dc_, made);
  if (originalFont_ == nullptr) originalFont_ = previous;
  if (ownedFont_ != nullptr) DeleteObject(ownedFont_);
  ownedFont_ = owned ? made : nullptr;
}

void GdiCanvas::DrawTextIn(std::string_view text, Rect area, std::uint32_t flags,
                           Colour colour) {
  std::wstring wide = WideFrom936(text);
  RECT rect = ToRect(area);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, colour);
  DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &rect, flags);
}

void GdiCanvas::SetClip(Rect area) {
  const HRGN region = CreateRectRgn(area.left, area.top, area.left + area.width,
                                    area.top + area.height);
  SelectClipRgn(dc_, region);
  DeleteObject(region);
}

}  // namespace pelmora::platform::win32
