// Small window procedures for the sim's own tests: each writes what it receives into one
// trace shared by a test, so the order of messages across windows can be checked.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sim/sim.h"

namespace pelmora::sim::testing {

inline std::string MessageName(std::uint32_t id) {
  namespace msg = vocab::msg;
  switch (id) {
    case msg::Destroy: return "Destroy";
    case msg::NcDestroy: return "NcDestroy";
    case msg::Move: return "Move";
    case msg::Size: return "Size";
    case msg::Activate: return "Activate";
    case msg::SetFocus: return "SetFocus";
    case msg::KillFocus: return "KillFocus";
    case msg::ShowWindow: return "ShowWindow";
    case msg::Paint: return "Paint";
    case msg::Close: return "Close";
    case msg::Timer: return "Timer";
    case msg::ReflectedCommand: return "Command";
    case msg::KeyDown: return "KeyDown";
    case msg::KeyUp: return "KeyUp";
    case msg::Char: return "Char";
    case msg::SysKeyDown: return "SysKeyDown";
    case msg::SysKeyUp: return "SysKeyUp";
    case msg::MouseMove: return "MouseMove";
    case msg::LButtonDown: return "LButtonDown";
    case msg::LButtonUp: return "LButtonUp";
    case msg::LButtonDblClk: return "LButtonDblClk";
    case msg::RButtonDown: return "RButtonDown";
    case msg::RButtonUp: return "RButtonUp";
    case msg::MouseWheel: return "MouseWheel";
    default: return "0x" + std::to_string(id);
  }
}

using Trace = std::vector<std::string>;

// Records "name:Message(wParam)"; `reaction` runs after the record for tests that act inside a
// message. Final: the list that owns them destroys them as Recorders, and their base has no
// virtual destructor.
class Recorder final : public platform::WindowProcedure {
 public:
  Recorder(std::string name, Trace& trace) : name_(std::move(name)), trace_(trace) {}

  std::intptr_t OnMessage(const platform::Message& message) override {
    trace_.push_back(name_ + ":" + MessageName(message.id) + "(" +
                     std::to_string(message.wParam) + ")");
    return reaction ? reaction(message) : 0;
  }

  std::function<std::intptr_t(const platform::Message&)> reaction;

 private:
  std::string name_;
  Trace& trace_;
};

// Records the input messages offered for pre-translation; claims those `claim` selects.
class RecordingFilter : public platform::MessageFilter {
 public:
  explicit RecordingFilter(Trace& trace) : trace_(trace) {}
  bool PreTranslate(platform::Message& message) override {
    trace_.push_back("filter:" + MessageName(message.id) + "(" +
                     std::to_string(message.wParam) + ")");
    return claim && claim(message);
  }
  std::function<bool(platform::Message&)> claim;

 private:
  Trace& trace_;
};

// A fresh world per test. The recorders belong to the fixture, so windows left over are
// destroyed while their procedures still live, and without the reactions, which may refer to
// a test's locals.
class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    for (Recorder& recorder : recorders_) recorder.reaction = nullptr;
    Reset();
  }

  Recorder& Procedure(std::string name) { return recorders_.emplace_back(std::move(name), trace); }

  platform::WindowHandle Frame(Recorder& procedure, platform::Rect rect = {100, 100, 300, 200},
                               std::uint32_t style = vocab::style::Caption) {
    platform::WindowSpec request;
    request.windowClass = platform::WindowClass::Frame;
    request.style = style;
    request.rect = rect;
    request.procedure = &procedure;
    return platform::CreateNativeWindow(request);
  }

  platform::WindowHandle Child(platform::WindowHandle parent, platform::WindowClass windowClass,
                               Recorder& procedure, platform::Rect rect = {10, 10, 80, 24}) {
    platform::WindowSpec request;
    request.windowClass = windowClass;
    request.style = vocab::style::Child | vocab::style::Visible;
    request.rect = rect;
    request.parent = parent;
    request.procedure = &procedure;
    return platform::CreateNativeWindow(request);
  }

  Trace trace;

 private:
  std::list<Recorder> recorders_;
};

}  // namespace pelmora::sim::testing
