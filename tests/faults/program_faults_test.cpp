// Failures of the whole page refresher on the simulated platform: a failed allocation inside
// each handler path, a window description naming an unknown kind or carrying a kind block of a
// format version this run time does not know, a browser that cannot be created and a refused
// window class. Each must end the process with the error box showing the exact text and exit
// code -1; under the asan preset LeakSanitizer checks that nothing of the run is left behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "refresher/handlers.h"
#include "refresher/identifiers.h"
#include "refresher/program.h"
#include "runtime/byte_reader.h"
#include "runtime/description.h"
#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/html_viewer_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/timer_kind.h"
#include "runtime/kinds/window_kind.h"
#include "runtime/program_start.h"
#include "runtime/runtime.h"

namespace pelmora {
namespace {

using platform::WindowHandle;

// 载入启动窗口失败
constexpr char kStartupWindowFailed[] = "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";
// 错误
constexpr char kErrorCaption[] = "\xB4\xED\xCE\xF3";

// The box text of a run-time error with code 0, written out here rather than taken from the
// run time, so that a changed text shows: 运行时出错!\r\n\r\n错误信息：<message>\r\n
std::string BoxText(const std::string& message) {
  return "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA" +
         message + "\r\n";
}

// 分配 n 字节内存失败!
std::string AllocationFailed(std::size_t bytes) {
  return "\xB7\xD6\xC5\xE4 " + std::to_string(bytes) + " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";
}

constexpr char kTitle[] = "Pelmora";
constexpr std::uint32_t kIntervalMs = 5000;  // the interval box holds "5" seconds

// One run of the program, possibly over a changed description, with the user's actions once
// the main window waits for input.
class ProgramRun {
 public:
  using Action = std::function<void(ProgramRun&)>;

  explicit ProgramRun(std::vector<std::uint8_t> block) : block_(std::move(block)) {}

  // The exit code the process ended with; nullopt when the user ran out of steps first. Each
  // step is one turn of the user: what it does is processed before the next step.
  std::optional<int> Run(const std::function<void()>& platformFault, const std::vector<Action>& steps) {
    sim::Reset();
    if (platformFault) platformFault();
    sim::SetTickCount(1000);
    sim::AnswerMessageBoxesAutomatically(true);
    std::size_t next = 0;
    sim::SetUser([&] {
      if (next == steps.size()) return false;
      steps[next++](*this);
      return true;
    });
    std::optional<int> exitCode;
    {
      ProgramImage image = refresher::Image();
      image.descriptionBlock = block_;
      Runtime runtime(image);
      runtime_ = &runtime;
      try {
        RunProgram(runtime, refresher::Routines());
      } catch (const sim::ProcessEnded& ended) {
        exitCode = ended.exitCode;
      } catch (const sim::UserFinished&) {
      }
      mainCaption_ = CaptionNow();
      // The windows go before the run time their controls report to.
      sim::SetUser(nullptr);
      boxes_ = sim::MessageBoxes();
      sim::Reset();
      runtime_ = nullptr;
    }
    return exitCode;
  }

  WindowHandle HandleOf(ControlId controlId) const {
    for (const ControlView& view : runtime_->ControlsOf(refresher::kMainWindow)) {
      if (view.controlId == controlId && view.live != nullptr) return view.live->Window();
    }
    ADD_FAILURE() << "control " << std::hex << controlId << " is not live";
    return WindowHandle::None;
  }

  std::string CaptionNow() const {
    if (runtime_ == nullptr) return {};
    for (const ControlView& view : runtime_->ControlsOf(refresher::kMainWindow)) {
      if (view.controlId == refresher::kWindowItself && view.live != nullptr) {
        auto info = sim::Inspect(view.live->Window());
        return info ? info->text : std::string();
      }
    }
    return {};
  }

  const std::vector<sim::MessageBoxRecord>& Boxes() const { return boxes_; }
  const std::string& LastCaption() const { return mainCaption_; }

 private:
  std::vector<std::uint8_t> block_;
  Runtime* runtime_ = nullptr;
  std::vector<sim::MessageBoxRecord> boxes_;
  std::string mainCaption_;
};

std::vector<std::uint8_t> ProgramBlock() {
  auto block = refresher::MainWindowBlock();
  return {block.begin(), block.end()};
}

// The program's description with one change made to its records.
std::vector<std::uint8_t> ChangedBlock(const std::function<void(std::vector<ControlRecord>&)>& change) {
  DescriptionReadResult read = ReadDescriptionBlock(refresher::MainWindowBlock(), refresher::HandlerTable());
  EXPECT_TRUE(read.Ok());
  change(read.windows.at(0).records);
  return WriteDescriptionBlock(read.windows);
}

// The first control of this kind gets a kind block whose format version is newer than any
// this run time reads; the rest of its bytes stay.
std::vector<std::uint8_t> NewerVersionOf(KindId kind) {
  return ChangedBlock([kind](std::vector<ControlRecord>& records) {
    for (ControlRecord& record : records) {
      if (record.IsMenuItem() || record.description.kind != kind) continue;
      std::vector<std::uint8_t>& bytes = record.description.kindBlock;
      if (bytes.size() < 4) bytes.resize(4);  // an empty block holds no version yet
      bytes[0] = 0xE8;  // 1000, little-endian
      bytes[1] = 0x03;
      bytes[2] = bytes[3] = 0;
      return;
    }
    ADD_FAILURE() << "no control of kind " << std::hex << kind;
  });
}

std::vector<std::uint8_t> UnknownKindAt(ControlId controlId) {
  return ChangedBlock([controlId](std::vector<ControlRecord>& records) {
    for (ControlRecord& record : records) {
      if (record.controlId == controlId) record.description.kind = 0x7FFF0001;
    }
  });
}

void StartTimers(ProgramRun& run) { sim::DoubleClick(run.HandleOf(refresher::kStartButton)); }
void ClickStart(ProgramRun& run) { sim::Click(run.HandleOf(refresher::kStartButton)); }
void OneInterval(ProgramRun&) { sim::Advance(kIntervalMs); }

struct FaultCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> block;
  std::function<void()> platformFault;  // armed before the program starts
  ProgramRun::Action prepare;           // the user's actions before the allocation fault
  std::uint32_t failAllocation;         // 0: none; else the n-th allocation of `act` fails
  ProgramRun::Action act;
  std::function<std::string(const ProgramRun& undisturbed)> message;
};

std::string StartupFailed(const ProgramRun&) { return kStartupWindowFailed; }
std::string AddressRead(const ProgramRun&) { return AllocationFailed(sizeof "http://"); }

// The caption timer's number text: its size comes from an undisturbed run with the same clock,
// whose random numbers are the same; the caption is "Pelmora" and the digits.
std::size_t DigitsOf(const ProgramRun& undisturbed) {
  return undisturbed.LastCaption().size() - (sizeof kTitle - 1);
}

const FaultCase kFaultCases[] = {
    {"StartButtonReadsTheAddress", ProgramBlock, nullptr, nullptr, 1, ClickStart, AddressRead},
    // The double click's first half is a click (the address read, first allocation); the
    // double click handler then reads the interval box, "5".
    {"DoubleClickReadsTheInterval", ProgramBlock, nullptr, nullptr, 2, StartTimers,
     [](const ProgramRun&) { return AllocationFailed(sizeof "5"); }},
    // At each due time the reload timer ticks first (one allocation: the address), then the
    // caption timer: the title's text, the number's text, the joined caption.
    {"ReloadTickReadsTheAddress", ProgramBlock, nullptr, StartTimers, 1, OneInterval, AddressRead},
    {"CaptionTickTitleText", ProgramBlock, nullptr, StartTimers, 2, OneInterval,
     [](const ProgramRun&) { return AllocationFailed(sizeof kTitle); }},
    {"CaptionTickNumberText", ProgramBlock, nullptr, StartTimers, 3, OneInterval,
     [](const ProgramRun& undisturbed) { return AllocationFailed(DigitsOf(undisturbed) + 1); }},
    {"CaptionTickJoinedCaption", ProgramBlock, nullptr, StartTimers, 4, OneInterval,
     [](const ProgramRun& undisturbed) {
       return AllocationFailed(undisturbed.LastCaption().size() + 1);
     }},
    {"UnknownKindOfAControl", [] { return UnknownKindAt(refresher::kStopButton); }, nullptr,
     nullptr, 0, nullptr, StartupFailed},
    {"UnknownKindOfTheWindow", [] { return UnknownKindAt(refresher::kWindowItself); }, nullptr,
     nullptr, 0, nullptr, StartupFailed},
    {"NewerWindowBlock", [] { return NewerVersionOf(WindowKind().Id()); }, nullptr, nullptr, 0,
     nullptr, StartupFailed},
    {"NewerEditBoxBlock", [] { return NewerVersionOf(EditBoxKind().Id()); }, nullptr, nullptr, 0,
     nullptr, StartupFailed},
    {"NewerLabelBlock", [] { return NewerVersionOf(LabelKind().Id()); }, nullptr, nullptr, 0,
     nullptr, StartupFailed},
    {"NewerButtonBlock", [] { return NewerVersionOf(ButtonKind().Id()); }, nullptr, nullptr, 0,
     nullptr, StartupFailed},
    {"NewerTimerBlock", [] { return NewerVersionOf(TimerKind().Id()); }, nullptr, nullptr, 0,
     nullptr, StartupFailed},
    {"NewerViewerBlock", [] { return NewerVersionOf(HtmlViewerKind().Id()); }, nullptr, nullptr,
     0, nullptr, StartupFailed},
    {"BrowserCannotBeCreated", ProgramBlock,
     [] { sim::FailBrowser(sim::BrowserFault::CannotCreate); }, nullptr, 0, nullptr,
     StartupFailed},
    {"BrowserWithoutAutomation", ProgramBlock,
     [] { sim::FailBrowser(sim::BrowserFault::NoAutomationInterface); }, nullptr, 0, nullptr,
     StartupFailed},
    {"FrameClassRefused", ProgramBlock,
     [] { sim::FailWindowClass(platform::WindowClass::Frame); }, nullptr, 0, nullptr,
     StartupFailed},
    {"EditClassRefused", ProgramBlock,
     [] { sim::FailWindowClass(platform::WindowClass::Edit); }, nullptr, 0, nullptr,
     StartupFailed},
};

class ProgramFaultTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  void TearDown() override { sim::Reset(); }
};

// The user's turns: the preparation (processed in full), then the action with the
// allocation fault armed just before it.
std::vector<ProgramRun::Action> UserOf(const FaultCase& fault, bool withFault) {
  std::vector<ProgramRun::Action> steps;
  if (fault.prepare) steps.push_back(fault.prepare);
  if (fault.act) {
    steps.push_back([&fault, withFault](ProgramRun& run) {
      if (withFault && fault.failAllocation != 0) sim::FailNthAllocation(fault.failAllocation);
      fault.act(run);
    });
  }
  return steps;
}

TEST_P(ProgramFaultTest, ShowsTheExactTextAndEndsWithMinusOne) {
  const FaultCase& fault = GetParam();

  // The same user actions without the fault: the program keeps running (so the failure below
  // is the fault's), and its final caption gives the sizes of the caption timer's texts.
  ProgramRun undisturbed(ProgramBlock());
  auto undisturbedExit = undisturbed.Run(nullptr, UserOf(fault, false));
  ASSERT_FALSE(undisturbedExit.has_value()) << "the program ended without the fault";
  ASSERT_TRUE(undisturbed.Boxes().empty());

  ProgramRun disturbed(fault.block());
  auto exitCode = disturbed.Run(fault.platformFault, UserOf(fault, true));
  ASSERT_EQ(exitCode, std::optional<int>(-1));
  ASSERT_EQ(disturbed.Boxes().size(), 1u);
  EXPECT_EQ(disturbed.Boxes()[0].caption, kErrorCaption);
  EXPECT_EQ(disturbed.Boxes()[0].text, BoxText(fault.message(undisturbed)));
}

INSTANTIATE_TEST_SUITE_P(EveryFailureRow, ProgramFaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelmora
