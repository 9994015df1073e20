// A loaded window on the simulated platform, made of the real window, edit box, label and
// button kinds, whose bound handlers record every call and answer as the test tells them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "runtime/kinds/kind_block.h"
#include "runtime/runtime.h"
#include "tests/support/description_builder.h"

namespace pelmora::testing {

inline constexpr WindowId kWindowId = 0x52010001;
inline constexpr ControlId kWindowControl = 0x06010000;
constexpr ControlId ChildId(std::uint32_t serial) { return 0x16010000u | serial; }

// A kind block written from the kind's defaults with the changes a test asks for.
std::vector<std::uint8_t> BlockWith(const BlockLayout& layout,
                                    const std::function<void(KindValues&)>& change = {});

using Change = std::function<void(KindValues&)>;
// Records of the four standard kinds (the fixture also knows the timer and HTML viewer kinds) with their blocks written from the defaults plus `change`. The
// window is 400 x 300; children are 80 x 24, visible and with a tab stop.
ControlBuilder WindowRecord(const Change& change = {});
ControlBuilder EditRecord(std::uint32_t serial, const Change& change = {});
ControlBuilder LabelRecord(std::uint32_t serial, const Change& change = {});
ControlBuilder ButtonRecord(std::uint32_t serial, const Change& change = {});

inline constexpr std::uint32_t kVisibleTabStop = state_flag::Visible | state_flag::TabStop;

// One handler call: which handler reference ran, for which control, with which arguments.
struct HandlerCall {
  std::uint32_t reference = 0;
  ControlId control = 0;
  std::vector<std::uint32_t> arguments;
};

class StandardKindsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads the window; the first record is the window itself.
  void Load(std::vector<ControlRecord> records);
  platform::WindowHandle Handle(ControlId control) const;
  platform::WindowHandle WindowHandle() const { return Handle(kWindowControl); }
  sim::WindowInfo Info(ControlId control) const;

  // Handler references 1 to 15 are bound by the tests; each records its calls here.
  static std::vector<HandlerCall>& Calls();
  // References called, in order (shorthand for sequence checks).
  static std::vector<std::uint32_t> References();
  // What the handler with this reference returns (default: no value).
  static void Answer(std::uint32_t reference, HandlerResult result);
  // Something the handler with this reference does before returning.
  static void OnCall(std::uint32_t reference, std::function<void(Runtime&)> action);

  std::unique_ptr<Runtime> runtime;
};

}  // namespace pelmora::testing
