#include "platform/win32/window_classes.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"
#include "platform/win32/window_procedure.h"

namespace pelmora::platform::win32 {

namespace {

struct ClassLook {
  UINT style;
  HBRUSH background;
};

ClassLook LookOf(WindowClass windowClass) {
  switch (windowClass) {
    case WindowClass::Frame:
    case WindowClass::Label:
      // Painted entirely by the run time's procedure: no background brush.
      return {CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr};
    case WindowClass::TimerHost:
      return {CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))};
    case WindowClass::BrowserHost:
      return {CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
              static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))};
    case WindowClass::HiddenOwner:
    case WindowClass::Edit:
    case WindowClass::Button:
      break;
  }
  return {0, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))};
}

const wchar_t* DefaultNameOf(WindowClass windowClass) {
  switch (windowClass) {
    case WindowClass::Frame: return L"PelmoraFrame";
    case WindowClass::Edit: return L"EDIT";
    case WindowClass::Button: return L"BUTTON";
    case WindowClass::Label: return L"PelmoraLabel";
    case WindowClass::TimerHost: return L"PelmoraTimerHost";
    case WindowClass::BrowserHost: return L"PelmoraBrowserHost";
    case WindowClass::HiddenOwner: return L"PelmoraHiddenOwner";
  }
  return L"";
}

bool EnsureRegistered(const std::wstring& name, ClassLook look) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name.c_str(), &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = look.style;
  wc.lpfnWndProc = OwnClassProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = look.background;
  wc.lpszClassName = name.c_str();
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

std::wstring ClassNameFor(WindowClass windowClass, std::string_view frameClassName) {
  if (windowClass == WindowClass::Edit || windowClass == WindowClass::Button) {
    return DefaultNameOf(windowClass);  // system classes, subclassed after creation
  }
  std::wstring name = DefaultNameOf(windowClass);
  if (windowClass == WindowClass::Frame && !frameClassName.empty()) {
    name = WideFrom936(frameClassName);
  }
  if (!EnsureRegistered(name, LookOf(windowClass))) return {};
  return name;
}

}  // namespace pelmora::platform::win32
