#include "tools/sim_driver/session.h"

#include <map>
#include <optional>

#include "platform/codec/text_codec.h"
#include "platform/sim/sim.h"
#include "refresher/handlers.h"
#include "refresher/identifiers.h"
#include "refresher/program.h"
#include "runtime/description.h"
#include "tools/form/form_text.h"

namespace pelmora::sim_driver {
namespace {

using platform::WindowHandle;

class Session {
 public:
  Session(const std::vector<Step>& steps, const std::function<void(const std::string&)>& emit)
      : steps_(steps), emit_(emit) {
    // Control names as stored: the script names controls the way the description does.
    DescriptionReadResult read = ReadDescriptionBlock(refresher::MainWindowBlock(), refresher::HandlerTable());
    for (const WindowDescription& window : read.windows) {
      for (const ControlRecord& record : window.records) {
        if (record.IsMenuItem()) continue;
        idsByName_[record.description.name] = record.controlId;
        namesById_[record.controlId] = record.description.name;
      }
    }
  }

  int Run() {
    sim::Reset();
    sim::SetObserver(Observer());
    sim::SetUser([this] { return NextStep(); });
    int exitCode = 0;
    {
      Runtime runtime(refresher::Image());
      runtime_ = &runtime;
      try {
        RunProgram(runtime, refresher::Routines());
      } catch (const sim::ProcessEnded& ended) {
        Emit("exit " + std::to_string(ended.exitCode));
        exitCode = ended.exitCode;
      } catch (const sim::UserFinished&) {
        Emit("end running");
      }
      // The windows go before the run time that their controls report to; their teardown is
      // no part of the trace.
      sim::SetObserver({});
      sim::SetUser(nullptr);
      sim::Reset();
      runtime_ = nullptr;
    }
    return exitCode;
  }

 private:
  void Emit(const std::string& text) { emit_(std::to_string(sim::Now()) + " " + text); }

  static std::string Quoted(std::string_view cp936) {
    // The trace is UTF-8 with C escapes.
    return form::Quote(cp936);
  }

  WindowHandle MainWindow() const { return HandleOf(refresher::kWindowItself); }

  WindowHandle HandleOf(ControlId controlId) const {
    for (const ControlView& view : runtime_->ControlsOf(refresher::kMainWindow)) {
      if (view.controlId == controlId && view.live != nullptr) return view.live->Window();
    }
    return WindowHandle::None;
  }

  WindowHandle HandleNamed(const std::string& utf8Name) const {
    auto found = idsByName_.find(platform::Utf8ToCp936(utf8Name));
    if (found == idsByName_.end()) throw UnknownControl{utf8Name};
    WindowHandle handle = HandleOf(found->second);
    if (handle == WindowHandle::None) throw UnknownControl{utf8Name};
    return handle;
  }

  std::string NameOf(WindowHandle window) const {
    auto control = runtime_->ControlOfNativeWindow(window);
    if (!control) return "?";
    auto name = namesById_.find(control->second.controlId);
    return name == namesById_.end() ? "?" : platform::Cp936ToUtf8(name->second);
  }

  sim::Observer Observer() {
    sim::Observer observer;
    observer.windowShown = [this](WindowHandle window) {
      if (window != MainWindow()) return;
      shown_ = true;
      auto info = sim::Inspect(window);
      Emit("window-shown " + Quoted(info->text) + " " + std::to_string(info->bounds.left) + " " +
           std::to_string(info->bounds.top) + " " + std::to_string(info->bounds.width) + " " +
           std::to_string(info->bounds.height));
    };
    observer.textSet = [this](WindowHandle window, std::string_view text) {
      if (shown_ && window == MainWindow()) Emit("caption " + Quoted(text));
    };
    observer.timerStarted = [this](WindowHandle window, std::uint32_t, std::uint32_t ms) {
      Emit("timer " + NameOf(window) + " start " + std::to_string(ms));
    };
    observer.timerStopped = [this](WindowHandle window, std::uint32_t) {
      Emit("timer " + NameOf(window) + " stop");
    };
    observer.navigated = [this](WindowHandle, std::string_view address) { Emit("navigate " + Quoted(address)); };
    observer.messageBoxOpened = [this](std::string_view caption, std::string_view text) {
      Emit("message-box " + Quoted(caption) + " " + Quoted(text));
    };
    return observer;
  }

  struct UnknownControl {
    std::string name;
  };

  // One script line per call; the waiting loop processes what it caused before the next.
  bool NextStep() {
    if (next_ == steps_.size()) {
      if (sim::MessageBoxOpen()) {
        sim::PressOk();
        return true;
      }
      return false;
    }
    const Step& step = steps_[next_++];
    try {
      std::visit([this](const auto& s) { Do(s); }, step);
    } catch (const UnknownControl& unknown) {
      Emit("no-control " + Quoted(platform::Utf8ToCp936(unknown.name)));
    }
    return true;
  }

  void Do(const TypeStep& step) { sim::TypeText(HandleNamed(step.control), step.text); }
  void Do(const ClickStep& step) { sim::Click(HandleNamed(step.control)); }
  void Do(const DoubleClickStep& step) { sim::DoubleClick(HandleNamed(step.control)); }
  void Do(const KeyStep& step) { sim::PressKey(step.virtualKey, step.modifiers); }
  void Do(const WaitStep& step) { sim::Advance(step.milliseconds); }
  void Do(const CloseStep&) { sim::PressCloseButton(MainWindow()); }
  void Do(const TickCountStep& step) { sim::SetTickCount(step.ticks); }
  void Do(const FailAllocationStep& step) { sim::FailNthAllocation(step.n); }
  void Do(const OkStep&) {
    if (sim::MessageBoxOpen()) sim::PressOk();
  }

  const std::vector<Step>& steps_;
  const std::function<void(const std::string&)>& emit_;
  std::size_t next_ = 0;
  Runtime* runtime_ = nullptr;
  bool shown_ = false;
  std::map<std::string, ControlId> idsByName_;
  std::map<ControlId, std::string> namesById_;
};

}  // namespace

int RunSession(const std::vector<Step>& steps, const std::function<void(const std::string&)>& emit) {
  return Session(steps, emit).Run();
}

}  // namespace pelmora::sim_driver
