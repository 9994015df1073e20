// The observer of the simulated system: the running trace that the scripted driver prints.
#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using platform::WindowClass;
using platform::WindowHandle;

using ObserverTest = SimTest;

TEST_F(ObserverTest, TheObserverHearsWhatTheProgramAndTheUserCause) {
  Trace heard;
  Observer observer;
  observer.windowShown = [&](WindowHandle) { heard.push_back("shown"); };
  observer.textSet = [&](WindowHandle, std::string_view text) {
    heard.push_back("text " + std::string(text));
  };
  observer.timerStarted = [&](WindowHandle, std::uint32_t id, std::uint32_t ms) {
    heard.push_back("start " + std::to_string(id) + " " + std::to_string(ms));
  };
  observer.timerStopped = [&](WindowHandle, std::uint32_t id) {
    heard.push_back("stop " + std::to_string(id));
  };
  observer.messageBoxOpened = [&](std::string_view caption, std::string_view text) {
    heard.push_back("box " + std::string(caption) + "/" + std::string(text));
  };
  SetObserver(observer);

  Recorder& frameProcedure = Procedure("frame");
  Recorder& childProcedure = Procedure("child");
  const WindowHandle frame = Frame(frameProcedure);
  const WindowHandle child = Child(frame, WindowClass::Label, childProcedure);
  platform::ShowNativeWindow(child, vocab::Show::Hide);
  platform::ShowNativeWindow(child, vocab::Show::Show);  // a child: not a window shown
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  platform::ShowNativeWindow(frame, vocab::Show::Show);  // already visible
  platform::SetText(frame, "Pelmora");
  platform::StartTimer(child, 1000, 5000);
  platform::StopTimer(child, 1000);
  platform::StopTimer(child, 1000);  // no longer running: not heard
  AnswerMessageBoxesAutomatically(true);
  platform::ShowErrorBox("c", "t");

  EXPECT_THAT(heard, ElementsAre("shown", "text Pelmora", "start 1000 5000", "stop 1000",
                                 "box c/t"));
}

}  // namespace
}  // namespace pelmora::sim::testing
