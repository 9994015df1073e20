#include "tests/support/runtime_fixture.h"

#include <array>
#include <utility>

#include "runtime/control_kind.h"

namespace pelmora::testing {

namespace {

HandlerCallback& Callback() {
  static HandlerCallback callback;
  return callback;
}

template <std::uint32_t Reference>
HandlerResult Recorded(Runtime& runtime, std::span<const std::uint32_t> arguments) {
  if (!Callback()) return std::nullopt;
  return Callback()(Reference, runtime, arguments);
}

template <std::size_t... I>
constexpr std::array<HandlerEntry, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
  return {HandlerEntry{I + 1, &Recorded<I + 1>}...};
}

constexpr auto kTable = MakeTable(std::make_index_sequence<kHandlerCount>{});

}  // namespace

std::span<const HandlerEntry> RecordedHandlers() { return kTable; }

void SetHandlerCallback(HandlerCallback callback) { Callback() = std::move(callback); }

std::string RuntimeErrorText(const std::string& message) {
  // 运行时出错!\r\n\r\n错误信息：<message>\r\n
  return "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
         "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA" +
         message + "\r\n";
}

void RuntimeTest::SetUp() {
  sim::Reset();
  sim::AnswerMessageBoxesAutomatically(true);
  onHandler = [this](std::uint32_t reference, Runtime&, std::span<const std::uint32_t>) {
    log.Add("handler " + std::to_string(reference));
    return HandlerResult{};
  };
  SetHandlerCallback([this](std::uint32_t reference, Runtime& r, std::span<const std::uint32_t> a) {
    return onHandler(reference, r, a);
  });
}

void RuntimeTest::TearDown() {
  sim::Reset();
  SetHandlerCallback(nullptr);
  runtime.reset();
}

Runtime& RuntimeTest::MakeRuntimeFromBlock(std::vector<std::uint8_t> block,
                                           std::vector<ControlKind*> kinds) {
  block_ = std::move(block);
  kinds_ = kinds.empty() ? std::vector<ControlKind*>{&windowKind, &childKind} : std::move(kinds);
  runtime = std::make_unique<Runtime>(ProgramImage{block_, RecordedHandlers(), {}, kinds_});
  return *runtime;
}

Runtime& RuntimeTest::MakeRuntime(const std::vector<WindowDescription>& windows,
                                  std::vector<ControlKind*> kinds) {
  return MakeRuntimeFromBlock(BuildBlock(windows), std::move(kinds));
}

Runtime& RuntimeTest::Load(const std::vector<WindowDescription>& windows,
                           std::vector<ControlKind*> kinds) {
  Runtime& made = MakeRuntime(windows, std::move(kinds));
  made.StartRuntime();
  made.LoadWindow(windows.front().windowId);
  return made;
}

std::optional<int> RuntimeTest::ExitCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const sim::ProcessEnded& ended) {
    return ended.exitCode;
  }
  return std::nullopt;
}

void RuntimeTest::ExpectRuntimeError(const std::function<void()>& action,
                                     const std::string& message) {
  const std::size_t boxesBefore = sim::MessageBoxes().size();
  EXPECT_EQ(ExitCodeOf(action), -1);
  ASSERT_EQ(sim::MessageBoxes().size(), boxesBefore + 1);
  const auto& box = sim::MessageBoxes().back();
  EXPECT_EQ(box.caption, "\xB4\xED\xCE\xF3");  // 错误
  EXPECT_EQ(box.text, RuntimeErrorText(message));
}

platform::WindowHandle RuntimeTest::NativeWindowOf(WindowId windowId, ControlId controlId) const {
  for (const ControlView& view : runtime->ControlsOf(windowId)) {
    if (view.controlId == controlId && view.live != nullptr) return view.live->Window();
  }
  return platform::WindowHandle::None;
}

}  // namespace pelmora::testing
