// The process as the sim shows it: recorded start-up services, a settable program path and
// working directory, the heap with failure injection, and an end of process the test sees.
#include <cstdlib>

#include "platform/sim/world.h"

namespace pelmora::platform {

using namespace sim::detail;

void WidenErrorMode() { TheWorld().errorModeWidened = true; }

bool StartComponentServices() {
  World& world = TheWorld();
  if (world.componentServicesFail) return false;
  world.componentServicesRunning = true;
  return true;
}

void StopComponentServices() { TheWorld().componentServicesRunning = false; }

// Only recorded: the tests of every module share one process, and the host's defaults are
// already round to nearest with every exception masked.
void ResetFloatingPointEnvironment() { TheWorld().floatingPointReset = true; }

std::string ProgramPath() { return TheWorld().programPath; }

char PathSeparator() { return '\\'; }

bool ChangeDirectory(std::string_view path) {
  if (path.empty()) return false;
  TheWorld().workingDirectory = std::string(path);
  return true;
}

std::string WorkingDirectory() { return TheWorld().workingDirectory; }

[[noreturn]] void EndProcess(int exitCode) { throw sim::ProcessEnded{exitCode}; }

void* HeapAllocate(std::size_t bytes) {
  World& world = TheWorld();
  if (world.allocationsUntilFailure > 0 && --world.allocationsUntilFailure == 0) return nullptr;
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block != nullptr) world.heapBlocks.insert(block);
  return block;
}

void HeapRelease(void* block) {
  TheWorld().heapBlocks.erase(block);
  std::free(block);
}

bool OpenHelp(std::string_view file, std::uint32_t context) {
  TheWorld().helpRequests.push_back(sim::HelpRequest{std::string(file), context});
  return false;
}

void EnableControlContainment() { TheWorld().controlContainmentEnabled = true; }

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;

void FailNthAllocation(std::uint32_t n) { TheWorld().allocationsUntilFailure = n; }

void FailWindowClass(platform::WindowClass windowClass) {
  TheWorld().refusedClasses.insert(windowClass);
}

void FailBrowser(BrowserFault fault) { TheWorld().browserFault = fault; }

void FailComponentServices(bool fail) { TheWorld().componentServicesFail = fail; }

void SetObserver(Observer observer) { TheWorld().observer = std::move(observer); }

void SetProgramPath(std::string_view path) { TheWorld().programPath = std::string(path); }

bool ComponentServicesRunning() { return TheWorld().componentServicesRunning; }

bool ErrorModeWidened() { return TheWorld().errorModeWidened; }

bool FloatingPointEnvironmentReset() { return TheWorld().floatingPointReset; }

bool ControlContainmentEnabled() { return TheWorld().controlContainmentEnabled; }

const std::vector<HelpRequest>& HelpRequests() { return TheWorld().helpRequests; }

}  // namespace pelmora::sim
