// How windows look: shape, icon, font, edit colours, and the screen metrics and text
// measurement the run time lays windows out with.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/platform.h"
#include "platform/win32/fonts.h"
#include "platform/win32/icons.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform {

using win32::ToHandle;
using win32::ToHwnd;

namespace {

enum WindowShape : std::int32_t { Rectangle = 0, Ellipse = 1, RoundedRectangle = 2, Ring = 3 };

HRGN RegionForShape(std::int32_t shape, int width, int height) {
  const int shorter = std::min(width, height);
  switch (shape) {
    case Ellipse:
      return CreateEllipticRgn(0, 0, width + 1, height + 1);
    case RoundedRectangle: {
      const int corner = std::max(8, shorter / 5);
      return CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
    }
    case Ring: {
      const int thickness = std::max(4, shorter / 4);
      const HRGN outer = CreateEllipticRgn(0, 0, width + 1, height + 1);
      const HRGN inner = CreateEllipticRgn(thickness, thickness, width - thickness + 1,
                                           height - thickness + 1);
      CombineRgn(outer, outer, inner, RGN_DIFF);
      DeleteObject(inner);
      return outer;
    }
    default:
      return nullptr;
  }
}

HICON ProgramIcon(int size) {
  const HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON, size,
                                 size, LR_DEFAULTCOLOR | LR_SHARED);
  if (icon != nullptr) return static_cast<HICON>(icon);
  return LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

}  // namespace

void SetShape(WindowHandle window, std::int32_t shape) {
  const HWND hwnd = ToHwnd(window);
  if (shape == Rectangle) {
    SetWindowRgn(hwnd, nullptr, TRUE);
    return;
  }
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  const HRGN region = RegionForShape(shape, rect.right - rect.left, rect.bottom - rect.top);
  if (region == nullptr) {
    std::fprintf(stderr, "pelmora: window shape %d is not available; the window stays "
                 "rectangular\n", static_cast<int>(shape));
    SetWindowRgn(hwnd, nullptr, TRUE);
    return;
  }
  // The system owns the region from here on.
  SetWindowRgn(hwnd, region, TRUE);
}

void SetIcon(WindowHandle window, std::span<const std::uint8_t> iconData) {
  const HWND hwnd = ToHwnd(window);
  win32::WindowRecord* record = win32::RecordOf(hwnd);
  const int bigSize = GetSystemMetrics(SM_CXICON);
  const int smallSize = GetSystemMetrics(SM_CXSMICON);
  HICON big = nullptr;
  HICON small = nullptr;
  if (!iconData.empty()) {
    big = win32::IconFromData(iconData, bigSize);
    small = win32::IconFromData(iconData, smallSize);
    if (big == nullptr || small == nullptr) {
      std::fprintf(stderr, "pelmora: the window's icon data is not an icon image; the "
                   "program's icon is used instead\n");
      if (big != nullptr) DestroyIcon(big);
      if (small != nullptr) DestroyIcon(small);
      big = small = nullptr;
    }
  }
  const bool owned = big != nullptr;
  if (!owned) {
    big = ProgramIcon(bigSize);
    small = ProgramIcon(smallSize);
  }
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (record == nullptr) return;
  if (record->ownedBigIcon != nullptr) DestroyIcon(record->ownedBigIcon);
  if (record->ownedSmallIcon != nullptr) DestroyIcon(record->ownedSmallIcon);
  record->ownedBigIcon = owned ? big : nullptr;
  record->ownedSmallIcon = owned ? small : nullptr;
}

void SetFont(WindowHandle window, const FontSpec& font) {
  const HWND hwnd = ToHwnd(window);
  bool owned = false;
  const HFONT made = win32::MakeFont(font, owned);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  win32::WindowRecord* record = win32::RecordOf(hwnd);
  if (record == nullptr) {
    return;  // not ours: the font stays with the window for the process's life
  }
  if (record->ownedFont != nullptr) DeleteObject(record->ownedFont);
  record->ownedFont = owned ? made : nullptr;
}

void SetColours(WindowHandle window, Colour text, Colour background) {
  const HWND hwnd = ToHwnd(window);
  win32::WindowRecord* record = win32::RecordOf(hwnd);
  if (record == nullptr) return;
  if (record->colours && record->colours->brush != nullptr) DeleteObject(record->colours->brush);
  record->colours = win32::EditColours{text, background, CreateSolidBrush(background)};
  // The frame bands of a single-line box are painted with the background too.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

Size ScreenSize() {
  return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Rect WorkAreaNear(WindowHandle window) {
  RECT area{};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR monitor = MonitorFromWindow(ToHwnd(window), MONITOR_DEFAULTTONEAREST);
  if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
    area = info.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  return Rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
}

std::int32_t EdgeHeight() { return GetSystemMetrics(SM_CYEDGE); }

Colour FaceColour() { return GetSysColor(COLOR_BTNFACE); }

Size MeasureText(const FontSpec& font, std::string_view text) {
  const HDC dc = GetDC(nullptr);
  bool owned = false;
  const HFONT made = win32::MakeFont(font, owned);
  const HGDIOBJ previous = SelectObject(dc, made);
  const std::wstring wide = win32::WideFrom936(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, previous);
  if (owned) DeleteObject(made);
  ReleaseDC(nullptr, dc);
  return Size{size.cx, size.cy};
}

}  // namespace pelmora::platform
