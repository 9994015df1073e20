// Every failure the run time reports: exactly its box text, then the process ends with -1.
#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/sim.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr WindowId kBroken = 0x52010002;  // holds a control of a kind nobody supplies
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kA = 0x16010003;
constexpr ControlId kQuiet = 0x16010004;  // of a kind that may not raise events
constexpr ControlId kStray = 0x16010005;
constexpr KindId kQuietKind = 0x00030005;
constexpr KindId kMissingKind = 0x00099999;

// The texts as the user reads them, in code page 936.
const std::string kBadBlock =  // 载入窗口模板数据段出错!
    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!";
const std::string kStartupFailed =  // 载入启动窗口失败
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";
const std::string kNoSuchWindow =  // 未载入欲访问窗口组件所在的窗口
    "\xCE\xB4\xD4\xD8\xC8\xEB\xD3\xFB\xB7\xC3\xCE\xCA\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCB\xF9"
    "\xD4\xDA\xB5\xC4\xB4\xB0\xBF\xDA";
const std::string kNotLoaded =  // 指定窗口尚未载入
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";
const std::string kEventWindow =  // 未找到引发事件的窗口
    "\xCE\xB4\xD5\xD2\xB5\xBD\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA";
const std::string kEventControl =  // 未找到引发事件的窗口组件
    "\xCE\xB4\xD5\xD2\xB5\xBD\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA\xD7\xE9"
    "\xBC\xFE";
const std::string kEventInvalid =  // 引发事件的窗口组件无效
    "\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCE\xDE\xD0\xA7";

class RuntimeErrorTest : public RuntimeTest {
 public:
  void Start() {
    MakeRuntime({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).Bind(0, 1),
                                  ControlBuilder(kA, kFixtureChildKindId).Bind(0, 1),
                                  ControlBuilder(kQuiet, kQuietKind).Bind(0, 1)}),
                 WindowOf(kBroken, {ControlBuilder(kOwn, kind_ids::Window),
                                    ControlBuilder(kStray, kMissingKind).Bind(0, 1)})},
                {&windowKind, &childKind, &quietKind})
        .StartRuntime();
  }
  void Raise(WindowId window, ControlId control) {
    EventNotice notice;
    notice.windowId = window;
    notice.controlId = control;
    runtime->RaiseEvent(notice);
  }
  FixtureChildKind quietKind{log, kQuietKind, {}, KindAttributes{.mayRaiseEvents = false}};
};

struct Failure {
  const char* situation;
  bool loadMainFirst;
  std::function<void(RuntimeErrorTest&, Runtime&)> action;
  const std::string* text;
};

TEST_F(RuntimeErrorTest, EachFailureShowsItsTextAndEndsWithMinusOne) {
  const Failure failures[] = {
      {"load of a window not in the block", false,
       [](auto&, Runtime& r) { r.LoadWindow(0x52010009); }, &kStartupFailed},
      {"load of an invalid id", false, [](auto&, Runtime& r) { r.LoadWindow(0x00000001); },
       &kStartupFailed},
      {"load of a window with a kind nobody supplies", false,
       [](auto&, Runtime& r) { r.LoadWindow(kBroken); }, &kStartupFailed},
      {"the window kind makes nothing", false,
       [](RuntimeErrorTest& t, Runtime& r) {
         t.windowKind.failCreation = true;
         r.LoadWindow(kMain);
       },
       &kStartupFailed},
      {"the frame class is refused", false,
       [](auto&, Runtime& r) {
         sim::FailWindowClass(platform::WindowClass::Frame);
         r.LoadWindow(kMain);
       },
       &kStartupFailed},
      {"a control cannot be made", false,
       [](RuntimeErrorTest& t, Runtime& r) {
         t.childKind.failCreationOf = kA;
         r.LoadWindow(kMain);
       },
       &kStartupFailed},
      {"read in a window not in the block", true,
       [](auto&, Runtime& r) { r.ReadProperty(0x52010009, kA, 0); }, &kNoSuchWindow},
      {"write in a window not in the block", true,
       [](auto&, Runtime& r) { r.WriteProperty(0x52010009, kA, 0, -1, 1, 0); }, &kNoSuchWindow},
      {"read of a control not in the window", true,
       [](auto&, Runtime& r) { r.ReadProperty(kMain, kStray, 0); }, &kNoSuchWindow},
      {"read of an own property, window not loaded", false,
       [](auto&, Runtime& r) { r.ReadProperty(kMain, kA, 8); }, &kNotLoaded},
      {"write of an own property, window not loaded", false,
       [](auto&, Runtime& r) { r.WriteProperty(kMain, kOwn, 8, -1, 0, 0); }, &kNotLoaded},
      {"event of a window not in the block", true,
       [](RuntimeErrorTest& t, Runtime&) { t.Raise(0x52010009, kA); }, &kEventWindow},
      {"event of a control not in the window", true,
       [](RuntimeErrorTest& t, Runtime&) { t.Raise(kMain, kStray); }, &kEventControl},
      {"event of a control of a kind nobody supplies", false,
       [](RuntimeErrorTest& t, Runtime&) { t.Raise(kBroken, kStray); }, &kEventInvalid},
      {"event of a kind that may not raise events", true,
       [](RuntimeErrorTest& t, Runtime&) { t.Raise(kMain, kQuiet); }, &kEventInvalid},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.situation);
    sim::Reset();
    sim::AnswerMessageBoxesAutomatically(true);
    windowKind.failCreation = false;
    childKind.failCreationOf = 0;
    Start();
    if (failure.loadMainFirst) runtime->LoadWindow(kMain);
    log.entries.clear();
    ExpectRuntimeError([&] { failure.action(*this, *runtime); }, *failure.text);
    // No handler ran on the way (every control and the window are bound to routine 1).
    EXPECT_EQ(log.IndexOf("handler 1"), -1);
  }
}

TEST_F(RuntimeErrorTest, AnUnreadableBlockIsReportedByStartRuntime) {
  auto block = BuildBlock({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window)})});
  block.pop_back();
  MakeRuntimeFromBlock(block);
  ExpectRuntimeError([&] { runtime->StartRuntime(); }, kBadBlock);

  // A reference to a routine the program does not have is unreadable as well.
  sim::Reset();
  sim::AnswerMessageBoxesAutomatically(true);
  MakeRuntime({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).Bind(0, 1000)})});
  ExpectRuntimeError([&] { runtime->StartRuntime(); }, kBadBlock);
}

TEST_F(RuntimeErrorTest, TheBoxTextWithACodeAndWithoutAMessage) {
  Start();
  EXPECT_EQ(ExitCodeOf([&] { runtime->ReportRuntimeError("x", -5); }), -1);
  // 运行时出错!\r\n\r\n错误代码：-5\r\n\r\n错误信息：x\r\n
  EXPECT_EQ(sim::MessageBoxes().back().text,
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
            "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA-5\r\n\r\n"
            "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBAx\r\n");
  EXPECT_EQ(ExitCodeOf([&] { runtime->ReportRuntimeError(nullptr); }), -1);
  EXPECT_EQ(sim::MessageBoxes().back().text, "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
  EXPECT_EQ(ExitCodeOf([&] { runtime->ReportRuntimeError(""); }), -1);
  EXPECT_EQ(sim::MessageBoxes().back().text, "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
}

TEST_F(RuntimeErrorTest, AFailedAllocationOfOneHundredBytes) {
  Start();
  sim::FailNthAllocation(1);
  // 分配 100 字节内存失败!
  ExpectRuntimeError([&] { runtime->AllocateValue(100); },
                     "\xB7\xD6\xC5\xE4 100 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

TEST_F(RuntimeErrorTest, AFailedAllocationOfAReadText) {
  Start();
  runtime->LoadWindow(kMain);
  runtime->WriteProperty(kMain, kA, common_property::Tag, -1,
                         reinterpret_cast<std::uintptr_t>("seven.."), 0);
  sim::FailNthAllocation(1);
  // The text and its terminator: 8 bytes.
  ExpectRuntimeError([&] { runtime->ReadProperty(kMain, kA, common_property::Tag); },
                     "\xB7\xD6\xC5\xE4 8 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

}  // namespace
}  // namespace pelmora::testing
