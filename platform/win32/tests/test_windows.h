// Helpers of the back end's tests: a procedure that records what reaches it, a filter that
// records what it is offered, and waiting for real messages with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform::win32::testing {

struct RecordingProcedure final : WindowProcedure {
  std::vector<Message> messages;
  std::function<std::intptr_t(const Message&)> answer;

  std::intptr_t OnMessage(const Message& message) override {
    messages.push_back(message);
    return answer ? answer(message) : 0;
  }
  std::size_t Count(std::uint32_t id) const {
    std::size_t count = 0;
    for (const Message& m : messages) count += m.id == id ? 1 : 0;
    return count;
  }
};

struct RecordingFilter final : MessageFilter {
  std::function<bool(Message&)> decide;
  std::vector<Message> offered;

  bool PreTranslate(Message& message) override {
    offered.push_back(message);
    return decide ? decide(message) : false;
  }
};

// Processes messages (through the platform's pump) until the condition holds or the time is
// up; true when it holds.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpWaitingMessages();
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

inline WindowHandle MakeTopLevel(WindowProcedure& procedure, Rect rect = {120, 120, 320, 220}) {
  WindowSpec request;
  request.windowClass = WindowClass::Frame;
  request.style = vocab::style::Caption | vocab::style::SystemMenu | vocab::style::ClipChildren |
               vocab::style::Visible;
  request.rect = rect;
  request.text = "test";
  request.procedure = &procedure;
  return CreateNativeWindow(request);
}

inline WindowHandle MakeChild(WindowClass windowClass, WindowHandle parent,
                              WindowProcedure& procedure, Rect rect, std::uint32_t style = 0,
                              std::uint32_t exStyle = 0, std::string_view text = {}) {
  WindowSpec request;
  request.windowClass = windowClass;
  request.style = vocab::style::Child | vocab::style::Visible | vocab::style::ClipSiblings | style;
  request.exStyle = exStyle;
  request.rect = rect;
  request.parent = parent;
  request.childId = 100;
  request.text = text;
  request.procedure = &procedure;
  return CreateNativeWindow(request);
}

}  // namespace pelmora::platform::win32::testing
