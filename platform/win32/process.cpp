// The process services of the seam: error mode, OLE, floating point, heap, paths, the error
// box, help and the end of the process.
#include <windows.h>
#include <float.h>
#include <ole2.h>
#include <shellapi.h>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include <cstdio>
#include <cwctype>
#include <string>

#include "platform/platform.h"
#include "platform/win32/text_conversion.h"

namespace pelmora::platform {

namespace {
// OleInitialize succeeded (S_OK or S_FALSE) and waits for its OleUninitialize.
bool g_oleStarted = false;

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
  const std::size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos) return false;
  std::wstring found = path.substr(dot);
  for (wchar_t& c : found) c = static_cast<wchar_t>(std::towlower(c));
  return found == extension;
}
}  // namespace

void WidenErrorMode() {
  const UINT current = SetErrorMode(0);
  SetErrorMode(current | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

bool StartComponentServices() {
  if (g_oleStarted) return true;
  g_oleStarted = SUCCEEDED(OleInitialize(nullptr));
  return g_oleStarted;
}

void StopComponentServices() {
  if (!g_oleStarted) return;
  OleUninitialize();
  g_oleStarted = false;
}

void ResetFloatingPointEnvironment() {
  _fpreset();
#if defined(__i386__)
  // x87: round to nearest, 64-bit significand for intermediate results, nothing traps.
  _controlfp(_RC_NEAR | _PC_64 | _MCW_EM, _MCW_RC | _MCW_PC | _MCW_EM);
#else
  // x86-64 has no precision control; rounding and masks still apply.
  _controlfp(_RC_NEAR | _MCW_EM, _MCW_RC | _MCW_EM);
#endif
#if defined(__SSE__)
  // SSE math (the i686 build uses it too): the power-on MXCSR, every exception masked, round
  // to nearest, denormals kept.
  _mm_setcsr(0x1F80);
#endif
}

std::uint32_t TickCount() { return GetTickCount(); }

std::string ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  // A path of MAX_PATH wide characters may take more than 260 bytes in code page 936; it is
  // kept whole rather than cut inside a character, since a cut path names another folder.
  return win32::Cp936FromWide(std::wstring_view(path, length));
}

char PathSeparator() { return '\\'; }

bool ChangeDirectory(std::string_view path) {
  return SetCurrentDirectoryW(win32::WideFrom936(path).c_str()) != FALSE;
}

std::string WorkingDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, path.data());
  path.resize(length < needed ? length : 0);
  return win32::Cp936FromWide(path);
}

void EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

void* HeapAllocate(std::size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes); }

void HeapRelease(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void ShowErrorBox(std::string_view caption, std::string_view text) {
  MessageBoxW(nullptr, win32::WideFrom936(text).c_str(), win32::WideFrom936(caption).c_str(),
              MB_OK | MB_ICONERROR);
}

bool OpenHelp(std::string_view file, std::uint32_t context) {
  const std::wstring path = win32::WideFrom936(file);
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (HasExtension(path, L".hlp")) {
    const UINT command = context != 0 ? HELP_CONTEXT : HELP_FINDER;
    if (WinHelpW(GetActiveWindow(), path.c_str(), command, context)) return true;
  }
  // Compiled HTML help and anything else open in the viewer the system associates with the
  // file; that viewer cannot be told the context number.
  if (context != 0) {
    std::fprintf(stderr, "pelmora: the help viewer opens %s at its contents; context %u is not "
                 "passed on\n", std::string(file).c_str(), static_cast<unsigned>(context));
  }
  const auto result = reinterpret_cast<std::intptr_t>(
      ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::uint32_t ModifierKeys() {
  std::uint32_t keys = 0;
  if (GetKeyState(VK_CONTROL) < 0) keys |= 1u;
  if (GetKeyState(VK_SHIFT) < 0) keys |= 2u;
  if (GetKeyState(VK_MENU) < 0) keys |= 4u;
  return keys;
}

}  // namespace pelmora::platform
