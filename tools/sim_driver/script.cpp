#include "tools/sim_driver/script.h"

#include <charconv>

#include "platform/codec/text_codec.h"
#include "platform/vocabulary.h"
#include "tools/form/form_text.h"

namespace pelmora::sim_driver {
namespace {

struct LineError {
  std::string message;
};

std::string_view TrimmedLeft(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

std::string_view TrimmedRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The first word and the rest of the line after it.
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view text) {
  text = TrimmedLeft(text);
  std::size_t end = text.find_first_of(" \t");
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), TrimmedLeft(text.substr(end))};
}

std::uint32_t Number(std::string_view text) {
  std::uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw LineError{"'" + std::string(text) + "' is not a number"};
  }
  return value;
}

// A text argument: the rest of the line, or one double-quoted string with C escapes. Either
// way the result is code page 936.
std::string TextArgument(std::string_view rest) {
  if (!rest.empty() && rest.front() == '"') {
    std::string error;
    auto words = form::SplitWords(rest, error);
    if (!words) throw LineError{error};
    if (words->size() != 1 || !(*words)[0].quoted) throw LineError{"text after the closing quote"};
    return (*words)[0].text;
  }
  return platform::Utf8ToCp936(rest);
}

KeyStep Key(std::string_view name) {
  namespace vk = vocab::vk;
  if (name == "Escape") return {vk::Escape, 0};
  if (name == "Tab") return {vk::Tab, 0};
  if (name == "shift+Tab") return {vk::Tab, 2};
  if (name == "Return") return {vk::Return, 0};
  if (name == "space") return {vk::Space, 0};
  if (name == "alt+F4") return {vk::F4, 4};
  throw LineError{"unknown key '" + std::string(name) + "'"};
}

Step ParseLine(std::string_view command, std::string_view rest) {
  auto one = [&](std::string_view what) {
    if (rest.empty() || rest.find_first_of(" \t") != std::string_view::npos) {
      throw LineError{"'" + std::string(command) + "' takes one " + std::string(what)};
    }
    return rest;
  };
  auto none = [&] {
    if (!rest.empty()) throw LineError{"'" + std::string(command) + "' takes nothing"};
  };
  if (command == "type") {
    auto [name, text] = SplitFirst(rest);
    if (name.empty()) throw LineError{"'type' takes a control name and a text"};
    return TypeStep{std::string(name), TextArgument(text)};
  }
  if (command == "click") return ClickStep{std::string(one("control name"))};
  if (command == "double-click") return DoubleClickStep{std::string(one("control name"))};
  if (command == "key") return Key(one("key"));
  if (command == "wait") return WaitStep{Number(one("number of milliseconds"))};
  if (command == "close") return none(), Step{CloseStep{}};
  if (command == "tick-count") return TickCountStep{Number(one("number"))};
  if (command == "fail-alloc") return FailAllocationStep{Number(one("number"))};
  if (command == "ok") return none(), Step{OkStep{}};
  throw LineError{"unknown command '" + std::string(command) + "'"};
}

}  // namespace

std::variant<std::vector<Step>, ScriptError> ParseScript(std::string_view script) {
  std::vector<Step> steps;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < script.size()) {
    std::size_t end = script.find('\n', start);
    if (end == std::string_view::npos) end = script.size();
    ++lineNumber;
    std::string_view line = TrimmedRight(TrimmedLeft(script.substr(start, end - start)));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    auto [command, rest] = SplitFirst(line);
    try {
      steps.push_back(ParseLine(command, rest));
    } catch (const LineError& error) {
      return ScriptError{lineNumber, error.message};
    }
  }
  return steps;
}

}  // namespace pelmora::sim_driver
