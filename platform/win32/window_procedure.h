// The window procedures of the back end: one for the classes we register, one for the
// subclassed system EDIT and BUTTON. Both pass the run time's messages on to its
// WindowProcedure after the system's own handling.
#pragma once

#include <windows.h>

namespace pelmora::platform::win32 {

LRESULT CALLBACK OwnClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora::platform::win32
