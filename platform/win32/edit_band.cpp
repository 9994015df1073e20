#include "platform/win32/edit_band.h"

#include <algorithm>

namespace pelmora::platform::win32 {

namespace {

LRESULT CallEdit(const WindowRecord& record, HWND edit, UINT message, WPARAM wParam,
                 LPARAM lParam) {
  return CallWindowProcW(record.systemProcedure, edit, message, wParam, lParam);
}

RECT Offset(RECT rect, int dx, int dy) {
  OffsetRect(&rect, dx, dy);
  return rect;
}

LRESULT CalculateClientArea(HWND edit, WindowRecord& record, WPARAM wParam, LPARAM lParam) {
  // Both forms of the message start with the proposed window rectangle.
  auto* rect = reinterpret_cast<RECT*>(lParam);
  const RECT windowRect = *rect;
  const LRESULT result = CallEdit(record, edit, WM_NCCALCSIZE, wParam, lParam);
  EditTextBand& band = *record.textBand;
  const RECT full = *rect;
  const LONG top = std::min(full.top + band.top, full.bottom);
  const LONG bottom = std::clamp<LONG>(top + band.height, top, full.bottom);
  rect->top = std::max(top, full.top);
  rect->bottom = bottom;
  band.fullClient = Offset(full, -windowRect.left, -windowRect.top);
  band.band = Offset(*rect, -windowRect.left, -windowRect.top);
  return result;
}

HBRUSH BackgroundBrush(const WindowRecord& record) {
  if (record.colours) return record.colours->brush;
  return GetSysColorBrush(COLOR_WINDOW);
}

void PaintBands(HWND edit, const WindowRecord& record) {
  const EditTextBand& band = *record.textBand;
  const HDC dc = GetWindowDC(edit);
  if (dc == nullptr) return;
  const HBRUSH brush = BackgroundBrush(record);
  const RECT above{band.fullClient.left, band.fullClient.top, band.fullClient.right,
                   band.band.top};
  const RECT below{band.fullClient.left, band.band.bottom, band.fullClient.right,
                   band.fullClient.bottom};
  if (above.bottom > above.top) FillRect(dc, &above, brush);
  if (below.bottom > below.top) FillRect(dc, &below, brush);
  ReleaseDC(edit, dc);
}

bool InBandsOutsideLine(HWND edit, const EditTextBand& band, LPARAM lParam) {
  RECT windowRect{};
  GetWindowRect(edit, &windowRect);
  const POINT point{static_cast<short>(LOWORD(lParam)) - windowRect.left,
                    static_cast<short>(HIWORD(lParam)) - windowRect.top};
  return PtInRect(&band.fullClient, point) && !PtInRect(&band.band, point);
}

}  // namespace

bool HandleEditBandMessage(HWND edit, WindowRecord& record, UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT& result) {
  if (record.systemProcedure == nullptr || !record.textBand) return false;
  switch (message) {
    case WM_NCCALCSIZE:
      result = CalculateClientArea(edit, record, wParam, lParam);
      return true;
    case WM_NCPAINT:
      result = CallEdit(record, edit, message, wParam, lParam);
      PaintBands(edit, record);
      return true;
    case WM_NCHITTEST:
      result = InBandsOutsideLine(edit, *record.textBand, lParam)
                   ? HTBORDER
                   : CallEdit(record, edit, message, wParam, lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace pelmora::platform::win32
