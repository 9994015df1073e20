#include "platform/win32/window_procedure.h"

#include "platform/win32/edit_band.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform::win32 {

namespace {

// The messages the run time's procedure sees after the system has handled them.
bool IsForwardedAfterDefault(UINT message) {
  switch (message) {
    case WM_DESTROY:
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SHOWWINDOW:
    case WM_TIMER:
      return true;
    default:
      return false;
  }
}

// Messages the run time defines for itself (sent with SendToWindow): the procedure's result
// is the answer.
bool IsRuntimeMessage(UINT message) {
  return message == vocab::msg::ReflectedCommand || (message >= WM_APP && message < 0xC000);
}

LRESULT CallSystem(const WindowRecord* record, HWND window, UINT message, WPARAM wParam,
                   LPARAM lParam) {
  if (record != nullptr && record->systemProcedure != nullptr) {
    return CallWindowProcW(record->systemProcedure, window, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::intptr_t Forward(WindowRecord* record, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  if (record == nullptr || record->procedure == nullptr) return 0;
  // The run time only needs the activation state, not the minimized flag of the high word.
  if (message == WM_ACTIVATE) wParam = LOWORD(wParam);
  return record->procedure->OnMessage(
      Message{ToHandle(window), message, static_cast<std::uintptr_t>(wParam),
              static_cast<std::intptr_t>(lParam)});
}

// A click of a system button or a change of a system edit box is reported to the parent;
// the run time wants it at the control itself.
bool ReflectToChild(WPARAM wParam, LPARAM lParam) {
  const auto child = reinterpret_cast<HWND>(lParam);
  WindowRecord* childRecord = RecordOf(child);
  if (childRecord == nullptr || childRecord->procedure == nullptr) return false;
  // Only the notifications the run time has words for: a button's click, an edit's change.
  const bool click = childRecord->windowClass == WindowClass::Button && HIWORD(wParam) == BN_CLICKED;
  const bool change = childRecord->windowClass == WindowClass::Edit && HIWORD(wParam) == EN_CHANGE;
  if (!click && !change) return false;
  childRecord->procedure->OnMessage(Message{ToHandle(child), vocab::msg::ReflectedCommand,
                                            HIWORD(wParam), 0});
  return true;
}

// The colours an edit box was given with SetColours, answered to its colour request.
bool AnswerColourRequest(WPARAM wParam, LPARAM lParam, LRESULT& brush) {
  WindowRecord* childRecord = RecordOf(reinterpret_cast<HWND>(lParam));
  if (childRecord == nullptr || !childRecord->colours) return false;
  const auto dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, childRecord->colours->text);
  SetBkColor(dc, childRecord->colours->background);
  brush = reinterpret_cast<LRESULT>(childRecord->colours->brush);
  return true;
}

LRESULT Paint(WindowRecord* record, HWND window) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  {
    GdiCanvas canvas(dc, paint.rcPaint);
    Canvas* base = &canvas;
    Forward(record, window, WM_PAINT, 0, reinterpret_cast<LPARAM>(base));
  }
  EndPaint(window, &paint);
  return 0;
}

LRESULT HandleMessage(WindowRecord* record, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  if (record == nullptr) return CallSystem(nullptr, window, message, wParam, lParam);

  LRESULT bandResult = 0;
  if (record->textBand &&
      HandleEditBandMessage(window, *record, message, wParam, lParam, bandResult)) {
    return bandResult;
  }

  switch (message) {
    case WM_CLOSE:
      // No default: the procedure decides whether the window goes.
      Forward(record, window, message, wParam, lParam);
      return 0;
    case WM_QUERYENDSESSION: {
      // The procedure's answer decides; a window without one lets the session end.
      const LRESULT allowed = CallSystem(record, window, message, wParam, lParam);
      if (record->procedure == nullptr) return allowed;
      return Forward(record, window, message, wParam, lParam);
    }
    case WM_PAINT:
      if (record->systemProcedure == nullptr) return Paint(record, window);
      break;
    case WM_COMMAND:
      if (lParam != 0 && ReflectToChild(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      LRESULT brush = 0;
      if (AnswerColourRequest(wParam, lParam, brush)) return brush;
      break;
    }
    case WM_NCDESTROY: {
      const LRESULT result = CallSystem(record, window, message, wParam, lParam);
      // A window refused during its creation never reached the run time: it hears nothing.
      WindowProcedure* procedure =
          record->releasedDuringCreation == nullptr ? record->procedure : nullptr;
      ReleaseRecord(window);
      // The final message: the procedure may free itself here, so nothing of ours follows.
      if (procedure != nullptr) {
        procedure->OnMessage(Message{ToHandle(window), message, static_cast<std::uintptr_t>(wParam),
                                     static_cast<std::intptr_t>(lParam)});
      }
      return result;
    }
    default:
      if (IsRuntimeMessage(message)) return Forward(record, window, message, wParam, lParam);
      break;
  }

  const LRESULT result = CallSystem(record, window, message, wParam, lParam);
  if (IsForwardedAfterDefault(message)) Forward(record, window, message, wParam, lParam);
  return result;
}

}  // namespace

LRESULT CALLBACK OwnClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (create->lpCreateParams != nullptr) {
      AttachRecord(window, static_cast<WindowRecord*>(create->lpCreateParams));
    }
  }
  return HandleMessage(RecordOf(window), window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = RecordOf(window);
  if (record == nullptr) {
    // Only reachable if the record is gone while the window lives: fall back to the class.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (GetClassInfoExW(nullptr, name, &wc)) {
      return CallWindowProcW(wc.lpfnWndProc, window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return HandleMessage(record, window, message, wParam, lParam);
}

}  // namespace pelmora::platform::win32
