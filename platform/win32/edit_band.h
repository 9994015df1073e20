// The single-line edit box's centred text line. The system edit box draws its line at the
// top of its client area; cutting the client area down to a band (WM_NCCALCSIZE) moves the
// line, and the cut-off parts become frame: painted with the box's background and reported
// as border to hit-testing, so a click there does not move the caret.
#pragma once

#include <windows.h>

#include "platform/win32/window_record.h"

namespace pelmora::platform::win32 {

// Handles WM_NCCALCSIZE, WM_NCPAINT and WM_NCHITTEST of an edit box with a text band.
// False for every other message.
bool HandleEditBandMessage(HWND edit, WindowRecord& record, UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT& result);

}  // namespace pelmora::platform::win32
