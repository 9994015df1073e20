#include "refresher/handlers.h"

#include <array>

#include "refresher/constants.h"
#include "refresher/identifiers.h"
#include "runtime/values.h"

namespace pelmora::refresher {
namespace {

char* TextIn(PropertyWords words) { return reinterpret_cast<char*>(words.low); }
std::uintptr_t WordOf(const char* text) { return reinterpret_cast<std::uintptr_t>(text); }

// The address box's current text becomes the page view's address: a new navigation, also to
// an unchanged or empty address.
void LoadAddress(Runtime& runtime) {
  char* address = TextIn(runtime.ReadProperty(kMainWindow, kAddressBox, kContent, kWholeProperty));
  runtime.WriteProperty(kMainWindow, kPageView, kAddress, kWholeProperty, WordOf(address), 0);
  if (address != nullptr) runtime.FreeValue(address);
}

void WriteCaption(Runtime& runtime, const char* caption) {
  runtime.WriteProperty(kMainWindow, kWindowItself, kCaption, kWholeProperty, WordOf(caption), 0);
}

// The interval box read afresh, as milliseconds: only the low 32 bits reach a timer, and the
// timer takes a negative value as "stop".
std::uint32_t IntervalAsPeriod(Runtime& runtime, ValueContext& values) {
  char* interval = TextIn(runtime.ReadProperty(kMainWindow, kIntervalBox, kContent, kWholeProperty));
  const char* number = interval != nullptr ? interval : kConstants.emptyText;
  double seconds = CallCommand(values, ToNumber, {TypedValue::Text(number)}).AsDouble();
  if (interval != nullptr) runtime.FreeValue(interval);
  return static_cast<std::uint32_t>(PeriodFromSeconds(seconds));
}

void WritePeriod(Runtime& runtime, ControlId timer, std::uint32_t milliseconds) {
  runtime.WriteProperty(kMainWindow, timer, kPeriod, kWholeProperty, milliseconds, 0);
}

ValueContext ValuesOf(Runtime& runtime) { return ValueContext{runtime, runtime.Random()}; }

}  // namespace

HandlerResult StartButtonClicked(Runtime& runtime, std::span<const std::uint32_t>) {
  LoadAddress(runtime);
  return std::nullopt;
}

HandlerResult ReloadTimerTick(Runtime& runtime, std::span<const std::uint32_t>) {
  LoadAddress(runtime);
  return std::nullopt;
}

HandlerResult StartButtonDoubleClicked(Runtime& runtime, std::span<const std::uint32_t>) {
  // No value returned: the double click goes on to the button, which then reports its second
  // click. Each timer reads the box itself; nothing can change it in between.
  ValueContext values = ValuesOf(runtime);
  WritePeriod(runtime, kReloadTimer, IntervalAsPeriod(runtime, values));
  WritePeriod(runtime, kCaptionTimer, IntervalAsPeriod(runtime, values));
  return std::nullopt;
}

HandlerResult StopButtonClicked(Runtime& runtime, std::span<const std::uint32_t>) {
  ValueContext values = ValuesOf(runtime);
  char* title = CallCommand(values, ToText, {TypedValue::Text(kConstants.title)}).AsOwnedText();
  WriteCaption(runtime, title);
  if (title != nullptr) runtime.FreeValue(title);
  WritePeriod(runtime, kReloadTimer, 0);
  WritePeriod(runtime, kCaptionTimer, 0);
  return std::nullopt;
}

HandlerResult CaptionTimerTick(Runtime& runtime, std::span<const std::uint32_t>) {
  ValueContext values = ValuesOf(runtime);
  CallCommand(values, SeedRandom, {TypedValue::Omitted()});
  char* title = CallCommand(values, ToText, {TypedValue::Text(kConstants.title)}).AsOwnedText();
  std::int32_t number =
      CallCommand(values, RandomNumber, {TypedValue::Omitted(), TypedValue::Omitted()}).AsInt32();
  char* digits = CallCommand(values, ToText, {TypedValue::Int32(number)}).AsOwnedText();
  char* caption = JoinTexts(runtime, {title, digits});
  if (title != nullptr) runtime.FreeValue(title);
  if (digits != nullptr) runtime.FreeValue(digits);
  WriteCaption(runtime, caption);
  if (caption != nullptr) runtime.FreeValue(caption);
  return std::nullopt;
}

HandlerResult MainWindowCreated(Runtime&, std::span<const std::uint32_t>) { return std::nullopt; }

std::span<const NamedHandler> NamedHandlers() {
  static constexpr std::array<NamedHandler, 6> kHandlers = {{
      {1, &MainWindowCreated, "MainWindowCreated"},
      {2, &StartButtonClicked, "StartButtonClicked"},
      {3, &StartButtonDoubleClicked, "StartButtonDoubleClicked"},
      {4, &StopButtonClicked, "StopButtonClicked"},
      {5, &ReloadTimerTick, "ReloadTimerTick"},
      {6, &CaptionTimerTick, "CaptionTimerTick"},
  }};
  return kHandlers;
}

std::span<const HandlerEntry> HandlerTable() {
  static const auto kTable = [] {
    std::array<HandlerEntry, 6> table{};
    auto named = NamedHandlers();
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = {named[i].reference, named[i].handler};
    return table;
  }();
  return kTable;
}

}  // namespace pelmora::refresher
