// Process services on Linux.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/gtk/native_window.h"

namespace pelmora::gtk {
namespace {
bool gtkStarted = false;
}

bool GtkStarted() { return gtkStarted; }

}  // namespace pelmora::gtk

namespace pelmora::platform {

// Nothing to widen: Linux shows no system error boxes for a process.
void WidenErrorMode() {}

// GTK stands in for the component services: the web view needs a running GTK. False without
// a display; the run time then reports its start-up error.
bool StartComponentServices() {
  if (gtk::gtkStarted) return true;
  // Measured: without compositing the web process needs less memory and the first page shows
  // sooner. A value the user set is left alone.
  setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fprintf(stderr, "pelmora: cannot open a display (is DISPLAY set?)\n");
    return false;
  }
  gtk::gtkStarted = true;
  gtk::InstallInputHandler();
  return true;
}

// GTK is not shut down while the process runs; the process end releases it.
void StopComponentServices() {}

void ResetFloatingPointEnvironment() {
  std::fesetround(FE_TONEAREST);
  std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__i386__) || defined(__x86_64__)
  // x87: 64-bit significand, round to nearest, every exception masked.
  unsigned short control = 0x037F;
  __asm__ volatile("fldcw %0" : : "m"(control));
#endif
}

std::uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
            static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

std::string ProgramPath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  // The whole path, also beyond the system's 260 bytes: a cut path would name another folder.
  return path.string();
}

char PathSeparator() { return '/'; }

bool ChangeDirectory(std::string_view path) {
  std::string copy(path);
  return chdir(copy.c_str()) == 0;
}

std::string WorkingDirectory() {
  std::error_code error;
  std::string path = std::filesystem::current_path(error).string();
  return error ? std::string() : path;
}

// Exit code -1 becomes 255 on Linux, where a process ends with 8 bits. _exit: the web view's
// helper processes and GTK are not torn down one by one on the way out.
[[noreturn]] void EndProcess(int exitCode) {
  std::fflush(nullptr);
  if (gtk::GtkStarted()) gdk_display_flush(gdk_display_get_default());
  _exit(exitCode);
}

void* HeapAllocate(std::size_t bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }

void HeapRelease(void* block) { std::free(block); }

}  // namespace pelmora::platform
