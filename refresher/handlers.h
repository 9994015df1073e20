// The program's own logic: six handlers bound to events of the main window and its controls
// by the references stored in the window's description.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/runtime.h"

namespace pelmora::refresher {

// A click on "自动刷新", and every tick of the reload timer: load the address box's text.
HandlerResult StartButtonClicked(Runtime& runtime, std::span<const std::uint32_t> arguments);
HandlerResult ReloadTimerTick(Runtime& runtime, std::span<const std::uint32_t> arguments);
// A double click on "自动刷新": both timers get the interval box's seconds as milliseconds.
HandlerResult StartButtonDoubleClicked(Runtime& runtime, std::span<const std::uint32_t> arguments);
// A click on "停止": the plain title back, both timers stopped.
HandlerResult StopButtonClicked(Runtime& runtime, std::span<const std::uint32_t> arguments);
// Every tick of the caption timer: the title followed by a fresh random number.
HandlerResult CaptionTimerTick(Runtime& runtime, std::span<const std::uint32_t> arguments);
// The window exists and is about to be shown: nothing to do.
HandlerResult MainWindowCreated(Runtime& runtime, std::span<const std::uint32_t> arguments);

// The references the description stores, with the routines and names they stand for.
struct NamedHandler {
  std::uint32_t reference;
  Handler handler;
  std::string_view name;
};
std::span<const NamedHandler> NamedHandlers();
std::span<const HandlerEntry> HandlerTable();

}  // namespace pelmora::refresher
