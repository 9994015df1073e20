// A Runtime over the simulated platform, for tests of the run time and of the kinds.
//
// Each test gets a fresh simulated world (sim::Reset before and after, so that windows still
// alive are destroyed and their kinds free what they hold before the Runtime goes), error boxes
// answered at once, and handler routines 1 to 8 that call the test's `onHandler`.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "runtime/description.h"
#include "runtime/runtime.h"
#include "tests/support/description_builder.h"
#include "tests/support/fixture_kinds.h"

namespace pelmora::testing {

// The program's routines as the tests see them: references 1 to 8, each calling onHandler.
inline constexpr std::uint32_t kHandlerCount = 8;
using HandlerCallback =
    std::function<HandlerResult(std::uint32_t reference, Runtime&, std::span<const std::uint32_t>)>;
std::span<const HandlerEntry> RecordedHandlers();
void SetHandlerCallback(HandlerCallback callback);

// The box text of a run-time error with code 0 and this message, as the user sees it.
std::string RuntimeErrorText(const std::string& message);

// Members are public so that tables of cases (lambdas) can reach them.
class RuntimeTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Makes the Runtime over a block of these windows with the given kinds (the fixture window
  // kind and child kind when none are given); StartRuntime is the test's to call.
  Runtime& MakeRuntime(const std::vector<WindowDescription>& windows,
                       std::vector<ControlKind*> kinds = {});
  Runtime& MakeRuntimeFromBlock(std::vector<std::uint8_t> block,
                                std::vector<ControlKind*> kinds = {});
  // MakeRuntime, StartRuntime, LoadWindow of the first window.
  Runtime& Load(const std::vector<WindowDescription>& windows,
                std::vector<ControlKind*> kinds = {});

  // Runs `action` and expects it to end the process through the error box showing `message`,
  // with exit code -1.
  void ExpectRuntimeError(const std::function<void()>& action, const std::string& message);
  // Runs `action` and returns the exit code it ended the process with (nullopt: it returned).
  std::optional<int> ExitCodeOf(const std::function<void()>& action);

  // The native window of a live control of a loaded window (None when not live).
  platform::WindowHandle NativeWindowOf(WindowId windowId, ControlId controlId) const;

  // Called by handler routines 1 to 8; the default logs "handler <n>" and returns no value.
  HandlerCallback onHandler;

  CallLog log;
  FixtureWindowKind windowKind{log};
  FixtureChildKind childKind{log, kFixtureChildKindId};
  std::unique_ptr<Runtime> runtime;

  static constexpr KindId kFixtureChildKindId = 0x00030001;

 private:
  std::vector<std::uint8_t> block_;
  std::vector<ControlKind*> kinds_;
};

}  // namespace pelmora::testing
