// Start-up, the message loop and both ends of the program: after the last window closes, and
// after the error box.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim.h"
#include "runtime/program_directory.h"
#include "runtime/program_start.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kClock = 0x16010003;

// What the program's own routines saw; function pointers cannot carry a test's state.
struct ProgramTrace {
  int initCalls = 0;
  int exitCalls = 0;
  bool servicesRunningAtExit = false;
  CallLog* log = nullptr;
};
ProgramTrace trace;

void ProgramInit() { ++trace.initCalls; }
void ProgramExit() {
  ++trace.exitCalls;
  trace.servicesRunningAtExit = sim::ComponentServicesRunning();
  if (trace.log != nullptr) trace.log->Add("program exit");
}

class StartAndEndTest : public RuntimeTest {
 public:
  void SetUp() override {
    RuntimeTest::SetUp();
    trace = ProgramTrace{};
    trace.log = &log;
  }
  void TearDown() override {
    trace.log = nullptr;
    RuntimeTest::TearDown();
  }
  std::vector<WindowDescription> MainWindow() {
    return {WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).At(0, 0, 300, 200),
                             ControlBuilder(kClock, kFixtureChildKindId).Bind(0, 1)})};
  }
  platform::WindowHandle Frame() const { return NativeWindowOf(kMain, kOwn); }
  const ProgramRoutines routines{&ProgramInit, &ProgramExit, kMain};
};

TEST_F(StartAndEndTest, StartRuntimePreparesEverything) {
  sim::SetProgramPath("C:\\Tools\\Pelmora\\pelmora.exe");
  MakeRuntime(MainWindow()).StartRuntime();
  EXPECT_TRUE(sim::ComponentServicesRunning());
  EXPECT_EQ(platform::WorkingDirectory(), "C:\\Tools\\Pelmora");
  EXPECT_EQ(runtime->ProgramDirectory(), "C:\\Tools\\Pelmora");
  auto owner = sim::Inspect(runtime->HiddenOwner());
  ASSERT_TRUE(owner);
  EXPECT_EQ(owner->windowClass, platform::WindowClass::HiddenOwner);
  EXPECT_EQ(owner->style, 0u);
  EXPECT_EQ(owner->exStyle, vocab::exstyle::ToolWindow);
  EXPECT_EQ(owner->bounds, (platform::Rect{0, 0, 0, 0}));
  EXPECT_EQ(owner->parent, platform::WindowHandle::None);
  EXPECT_FALSE(owner->visible);
  EXPECT_EQ(log.Count("starting 00030001"), 1);
  // Nothing is made until a window is loaded.
  EXPECT_EQ(log.IndexOf("create 06010000 child=0 style=00000000"), -1);
}

TEST_F(StartAndEndTest, ClosingTheLastWindowEndsWithZeroAfterTheExitRoutineRanOnce) {
  MakeRuntime(MainWindow());
  bool closed = false;
  sim::SetUser([&] {
    if (closed) return false;
    closed = true;
    sim::PressCloseButton(Frame());
    return true;
  });
  EXPECT_EQ(ExitCodeOf([&] { RunProgram(*runtime, routines); }), 0);
  EXPECT_TRUE(closed);
  EXPECT_EQ(trace.initCalls, 1);
  EXPECT_EQ(trace.exitCalls, 1);
  EXPECT_TRUE(trace.servicesRunningAtExit);
  EXPECT_FALSE(sim::ComponentServicesRunning());
  EXPECT_TRUE(sim::ErrorModeWidened());
  EXPECT_TRUE(sim::FloatingPointEnvironmentReset());
  EXPECT_LT(log.IndexOf("program exit"), log.IndexOf("ending 00030001"));
  EXPECT_FALSE(platform::WindowExists(runtime->HiddenOwner()));
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(StartAndEndTest, AfterTheErrorBoxTheExitCodeIsMinusOneAndTheExitRoutineDoesNotRun) {
  // The handler of the first tick fails: a read in a window the program does not have.
  onHandler = [&](std::uint32_t, Runtime& r, std::span<const std::uint32_t>) {
    r.ReadProperty(0x52010009, kOwn, 0);
    return HandlerResult{};
  };
  MakeRuntime(MainWindow());
  bool started = false;
  sim::SetUser([&] {
    if (started) return false;
    started = true;
    platform::StartTimer(NativeWindowOf(kMain, kClock), 1, 100);
    sim::Advance(100);
    return true;
  });
  EXPECT_EQ(ExitCodeOf([&] { RunProgram(*runtime, routines); }), -1);
  EXPECT_EQ(sim::MessageBoxes().size(), 1u);
  EXPECT_EQ(trace.exitCalls, 0);
  EXPECT_FALSE(sim::ComponentServicesRunning());
  EXPECT_EQ(log.Count("ending 00030001"), 1);
}

TEST_F(StartAndEndTest, AStartUpWindowThatCannotBeLoaded) {
  MakeRuntime(MainWindow());
  const ProgramRoutines missing{&ProgramInit, &ProgramExit, 0x52010002};
  EXPECT_EQ(ExitCodeOf([&] { RunProgram(*runtime, missing); }), -1);
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  // 载入启动窗口失败
  EXPECT_EQ(sim::MessageBoxes()[0].text,
            RuntimeErrorText("\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"));
  EXPECT_EQ(trace.initCalls, 1);
  EXPECT_EQ(trace.exitCalls, 0);
}

TEST_F(StartAndEndTest, TicksDuringAnOpenErrorBoxReachNoHandler) {
  int ticks = 0;
  onHandler = [&](std::uint32_t, Runtime&, std::span<const std::uint32_t>) {
    ++ticks;
    return HandlerResult{};
  };
  Load(MainWindow());
  platform::StartTimer(NativeWindowOf(kMain, kClock), 1, 100);
  sim::Advance(300);
  ASSERT_EQ(ticks, 3);  // they do reach it before

  sim::AnswerMessageBoxesAutomatically(false);
  int steps = 0;
  sim::SetUser([&] {
    ++steps;
    if (steps == 1) sim::Advance(1000);  // time passes while the box is open
    if (steps == 2) sim::PressOk();
    return steps <= 2;
  });
  EXPECT_EQ(ExitCodeOf([&] { runtime->ReportRuntimeError("x"); }), -1);
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(ticks, 3);
}

TEST_F(StartAndEndTest, EachExitRoutineRunsOnceInRegistrationOrder) {
  static std::vector<int> calls;
  calls.clear();
  MakeRuntime(MainWindow()).StartRuntime();
  runtime->RuntimeService(3, +[] { calls.push_back(1); });
  runtime->RegisterExitRoutine(+[] { calls.push_back(2); });
  runtime->RuntimeService(3, +[] { calls.push_back(1); });  // a different routine
  runtime->ProgramCleanup();
  EXPECT_EQ(calls, (std::vector<int>{1, 2, 1}));

  calls.clear();
  auto routine = +[] { calls.push_back(3); };
  MakeRuntime(MainWindow()).StartRuntime();
  runtime->RegisterExitRoutine(routine);
  runtime->RuntimeService(3, routine);
  runtime->ProgramCleanup();
  runtime->ProgramCleanup();
  EXPECT_EQ(calls, (std::vector<int>{3}));
}

TEST_F(StartAndEndTest, TheLoopReturnsAtOnceWithoutALiveWindow) {
  MakeRuntime(MainWindow()).StartRuntime();
  sim::SetUser([] { return false; });  // would throw UserFinished if the loop waited
  runtime->RunMessageLoop();
  EXPECT_EQ(runtime->LastMessageExitCode(), 0);
}

TEST_F(StartAndEndTest, FreeValueKeepsNullAndTheConstantArea) {
  std::vector<std::byte> constants(24);
  auto block = BuildBlock(MainWindow());
  std::vector<ControlKind*> kinds{&windowKind, &childKind};
  runtime = std::make_unique<Runtime>(ProgramImage{block, RecordedHandlers(), constants, kinds});
  runtime->StartRuntime();
  runtime->FreeValue(nullptr);
  runtime->FreeValue(constants.data());
  runtime->FreeValue(constants.data() + 12);
  runtime->FreeValue(constants.data() + 23);
  // A heap value does go back (under the sanitizers a leak or a bad free would show).
  void* value = runtime->AllocateValue(16);
  std::memset(value, 0, 16);
  runtime->FreeValue(value);
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

struct FolderCase {
  const char* path;
  char separator;
  const char* folder;
};

TEST(ProgramFolder, IsTheTextBeforeTheLastSeparatorCharacter) {
  const FolderCase cases[] = {
      {"C:\\Pelmora\\pelmora.exe", '\\', "C:\\Pelmora"},
      {"pelmora.exe", '\\', ""},
      {"\\pelmora.exe", '\\', ""},
      {"/usr/bin/pelmora", '/', "/usr/bin"},
      // 0xC4 0x5C is one double-byte character whose second byte is a backslash.
      {"C:\\Games\\\xC4\x5C\\pelmora.exe", '\\', "C:\\Games\\\xC4\x5C"},
      {"C:\\Games\\\xC4\x5Cpelmora.exe", '\\', "C:\\Games"},
      {"C:\\a\xC4\x5C", '\\', "C:"},
      // A lead byte at the very end stands alone.
      {"C:\\a\\b\xC4", '\\', "C:\\a"},
      // Single-byte characters around: 0x80 and 0xFF are no lead bytes.
      {"C:\\\x80\\x", '\\', "C:\\\x80"},
      {"C:\\\xFF\\x", '\\', "C:\\\xFF"},
  };
  for (const FolderCase& c : cases) {
    EXPECT_EQ(FolderOfProgram(c.path, c.separator), c.folder) << c.path;
  }
}

TEST_F(StartAndEndTest, TheCurrentDirectoryBecomesAFolderWithADoubleByteName) {
  sim::SetProgramPath("D:\\\xB3\xCC\xD0\xF2\\\xC4\x5C\\pelmora.exe");  // D:\程序\<c4 5c>\...
  MakeRuntime(MainWindow()).StartRuntime();
  EXPECT_EQ(platform::WorkingDirectory(), "D:\\\xB3\xCC\xD0\xF2\\\xC4\x5C");
}

}  // namespace
}  // namespace pelmora::testing
