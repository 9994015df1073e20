// What the tests that need a display share: GTK started once, a procedure and a message filter
// that record what reaches them, waiting on the real main loop, and xdotool as the user.
#pragma once

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pelmora::gtk::testing {

using platform::WindowHandle;

// One line per message, e.g. "button LButtonDown" or "frame Close".
using Log = std::vector<std::string>;

inline std::string MessageName(std::uint32_t id) {
  namespace msg = vocab::msg;
  switch (id) {
    case msg::LButtonDown: return "LButtonDown";
    case msg::LButtonUp: return "LButtonUp";
    case msg::LButtonDblClk: return "LButtonDblClk";
    case msg::KeyDown: return "KeyDown";
    case msg::KeyUp: return "KeyUp";
    case msg::SysKeyDown: return "SysKeyDown";
    case msg::SysKeyUp: return "SysKeyUp";
    case msg::Char: return "Char";
    case msg::Close: return "Close";
    case msg::Destroy: return "Destroy";
    case msg::NcDestroy: return "NcDestroy";
    case msg::Timer: return "Timer";
    case msg::Activate: return "Activate";
    case msg::ReflectedCommand: return "Command";
    default: return "other";
  }
}

class RecordingProcedure final : public platform::WindowProcedure {
 public:
  RecordingProcedure(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  std::function<void(const platform::Message&)> onMessage;
  std::intptr_t OnMessage(const platform::Message& message) override {
    namespace msg = vocab::msg;
    switch (message.id) {
      case msg::ReflectedCommand:
        log_.push_back(name_ + (message.wParam == vocab::notify::ButtonClicked ? " Clicked"
                                : message.wParam == vocab::notify::EditChanged ? " Changed"
                                                                               : " Command"));
        break;
      case msg::Close:
      case msg::Destroy:
      case msg::NcDestroy:
        log_.push_back(name_ + " " + MessageName(message.id));
        break;
      default:
        break;
    }
    if (onMessage) onMessage(message);
    return 0;
  }

 private:
  std::string name_;
  Log& log_;
};

// Records the mouse-button and key messages offered for pre-translation, by window name.
class RecordingFilter final : public platform::MessageFilter {
 public:
  explicit RecordingFilter(Log& log) : log_(log) {}
  void Name(WindowHandle window, std::string name) { names_.push_back({window, std::move(name)}); }
  std::function<bool(const platform::Message&)> claim;
  bool PreTranslate(platform::Message& message) override {
    if (message.id == vocab::msg::MouseMove) return false;
    std::string name = "?";
    for (const auto& [window, known] : names_) {
      if (window == message.window) name = known;
    }
    std::string line = name + " " + MessageName(message.id);
    if (message.id >= vocab::msg::KeyDown && message.id <= vocab::msg::SysKeyUp) {
      line += " " + std::to_string(message.wParam);
    }
    log_.push_back(line);
    return claim && claim(message);
  }

 private:
  Log& log_;
  std::vector<std::pair<WindowHandle, std::string>> names_;
};

// Runs the main loop until the condition holds or the time is up; true when it held.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    g_main_context_iteration(nullptr, FALSE);
    g_usleep(1000);
  }
  return true;
}

// Lets the loop run for a while (for events that must NOT come).
inline void RunFor(int ms) {
  WaitFor([] { return false; }, ms);
}

// Starts xdotool with these arguments without waiting for it: the loop must keep running
// while it plays the user.
inline void Xdotool(const std::string& arguments) {
  std::string command = "xdotool " + arguments;
  GError* error = nullptr;
  if (!g_spawn_command_line_async(command.c_str(), &error)) {
    ADD_FAILURE() << "cannot start xdotool: " << (error ? error->message : "");
    if (error) g_error_free(error);
  }
}

class LiveTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(platform::StartComponentServices())
        << "these tests need a display: run them under xvfb-run";
  }
  void TearDown() override { platform::InstallMessageFilter(nullptr); }

  WindowHandle MakeFrame(platform::WindowProcedure* procedure, platform::Rect rect) {
    platform::WindowSpec request;
    request.windowClass = platform::WindowClass::Frame;
    request.style = vocab::style::Caption | vocab::style::SystemMenu | vocab::style::MinimizeBox;
    request.rect = rect;
    request.text = "test";
    request.procedure = procedure;
    return platform::CreateNativeWindow(request);
  }

  WindowHandle MakeChild(WindowHandle parent, platform::WindowClass windowClass,
                         platform::Rect rect, platform::WindowProcedure* procedure,
                         std::string_view text = "") {
    platform::WindowSpec request;
    request.windowClass = windowClass;
    request.style = vocab::style::Child | vocab::style::Visible;
    request.rect = rect;
    request.parent = parent;
    request.text = text;
    request.procedure = procedure;
    return platform::CreateNativeWindow(request);
  }

  // Shows the frame and waits until it is the active window, so that keys reach it.
  static bool ShowAndActivate(WindowHandle frame) {
    platform::ShowNativeWindow(frame, vocab::Show::Show);
    return WaitFor([frame] { return platform::ActiveWindow() == frame; });
  }
};

}  // namespace pelmora::gtk::testing
