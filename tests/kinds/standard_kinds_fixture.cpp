#include "tests/kinds/standard_kinds_fixture.h"

#include <array>
#include <utility>

#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/html_viewer_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/timer_kind.h"
#include "runtime/kinds/window_kind.h"

namespace pelmora::testing {
namespace {

struct HandlerState {
  std::vector<HandlerCall> calls;
  std::map<std::uint32_t, HandlerResult> answers;
  std::map<std::uint32_t, std::function<void(Runtime&)>> actions;
};

HandlerState& State() {
  static HandlerState state;
  return state;
}

template <std::uint32_t Reference>
HandlerResult Recording(Runtime& runtime, std::span<const std::uint32_t> arguments) {
  HandlerState& state = State();
  state.calls.push_back(
      {Reference, runtime.EventSource().second, {arguments.begin(), arguments.end()}});
  if (auto action = state.actions.find(Reference); action != state.actions.end()) {
    action->second(runtime);
  }
  auto answer = state.answers.find(Reference);
  return answer == state.answers.end() ? HandlerResult{} : answer->second;
}

template <std::uint32_t... References>
constexpr std::array<HandlerEntry, sizeof...(References)> HandlerTable(
    std::integer_sequence<std::uint32_t, References...>) {
  return {HandlerEntry{References, &Recording<References>}...};
}

const auto kHandlers = HandlerTable(std::make_integer_sequence<std::uint32_t, 16>{});

std::array<ControlKind*, 6> kKinds = {&WindowKind(), &EditBoxKind(), &LabelKind(),
                                      &ButtonKind(), &TimerKind(), &HtmlViewerKind()};

}  // namespace

std::vector<std::uint8_t> BlockWith(const BlockLayout& layout,
                                    const std::function<void(KindValues&)>& change) {
  auto values = ReadKindBlock(layout, {});
  if (change) change(*values);
  return WriteKindBlock(layout, *values);
}

ControlBuilder WindowRecord(const Change& change) {
  return ControlBuilder(kWindowControl, kind_ids::Window)
      .At(0, 0, 400, 300)
      .KindBlock(BlockWith(WindowBlockLayout(), change));
}

namespace {
ControlBuilder ChildRecord(std::uint32_t serial, KindId kind, const BlockLayout& layout,
                           const Change& change) {
  return ControlBuilder(ChildId(serial), kind)
      .Name("c" + std::to_string(serial))
      .At(10, 30 * static_cast<std::int32_t>(serial), 80, 24)
      .Flags(kVisibleTabStop)
      .KindBlock(BlockWith(layout, change));
}
}  // namespace

ControlBuilder EditRecord(std::uint32_t serial, const Change& change) {
  return ChildRecord(serial, kind_ids::EditBox, EditBoxBlockLayout(), change);
}
ControlBuilder LabelRecord(std::uint32_t serial, const Change& change) {
  return ChildRecord(serial, kind_ids::Label, LabelBlockLayout(), change);
}
ControlBuilder ButtonRecord(std::uint32_t serial, const Change& change) {
  return ChildRecord(serial, kind_ids::Button, ButtonBlockLayout(), change);
}

void StandardKindsTest::SetUp() {
  sim::Reset();
  State() = HandlerState{};
}

void StandardKindsTest::TearDown() {
  sim::Reset();
  runtime.reset();
  State() = HandlerState{};
}

void StandardKindsTest::Load(std::vector<ControlRecord> records) {
  static std::vector<std::uint8_t> block;
  block = BuildBlock({WindowOf(kWindowId, std::move(records))});
  ProgramImage image;
  image.descriptionBlock = block;
  image.handlers = kHandlers;
  image.kinds = kKinds;
  runtime = std::make_unique<Runtime>(image);
  runtime->StartRuntime();
  runtime->LoadWindow(kWindowId);
  sim::RunUntilIdle();
}

platform::WindowHandle StandardKindsTest::Handle(ControlId control) const {
  for (const ControlView& view : runtime->ControlsOf(kWindowId)) {
    if (view.controlId == control && view.live != nullptr) return view.live->Window();
  }
  return platform::WindowHandle::None;
}

sim::WindowInfo StandardKindsTest::Info(ControlId control) const {
  auto info = sim::Inspect(Handle(control));
  EXPECT_TRUE(info) << "no live window for control " << std::hex << control;
  return info.value_or(sim::WindowInfo{});
}

std::vector<HandlerCall>& StandardKindsTest::Calls() { return State().calls; }

std::vector<std::uint32_t> StandardKindsTest::References() {
  std::vector<std::uint32_t> references;
  for (const HandlerCall& call : State().calls) references.push_back(call.reference);
  return references;
}

void StandardKindsTest::Answer(std::uint32_t reference, HandlerResult result) {
  State().answers[reference] = result;
}

void StandardKindsTest::OnCall(std::uint32_t reference, std::function<void(Runtime&)> action) {
  State().actions[reference] = std::move(action);
}

}  // namespace pelmora::testing
