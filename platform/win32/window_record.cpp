#include "platform/win32/window_record.h"

namespace pelmora::platform::win32 {

namespace {
constexpr const wchar_t* kRecordProperty = L"Pelmora.WindowRecord";
}

void AttachRecord(HWND window, WindowRecord* record) {
  SetPropW(window, kRecordProperty, record);
}

WindowRecord* RecordOf(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<WindowRecord*>(GetPropW(window, kRecordProperty));
}

void ReleaseRecord(HWND window) {
  auto* record = static_cast<WindowRecord*>(RemovePropW(window, kRecordProperty));
  if (record == nullptr) return;
  if (record->releasedDuringCreation != nullptr) *record->releasedDuringCreation = true;
  if (record->ownedFont != nullptr) DeleteObject(record->ownedFont);
  if (record->ownedBigIcon != nullptr) DestroyIcon(record->ownedBigIcon);
  if (record->ownedSmallIcon != nullptr) DestroyIcon(record->ownedSmallIcon);
  if (record->colours && record->colours->brush != nullptr) DeleteObject(record->colours->brush);
  delete record;
}

}  // namespace pelmora::platform::win32
