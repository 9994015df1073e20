// The scripts of pelmora-sim: what a user does to the program, one step per line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pelmora::sim_driver {

struct TypeStep { std::string control; std::string text; };  // text in code page 936
struct ClickStep { std::string control; };
struct DoubleClickStep { std::string control; };
struct KeyStep { std::uint32_t virtualKey = 0; std::uint32_t modifiers = 0; };
struct WaitStep { std::uint32_t milliseconds = 0; };
struct CloseStep {};
struct TickCountStep { std::uint32_t ticks = 0; };
struct FailAllocationStep { std::uint32_t n = 0; };
struct OkStep {};

using Step = std::variant<TypeStep, ClickStep, DoubleClickStep, KeyStep, WaitStep, CloseStep,
                          TickCountStep, FailAllocationStep, OkStep>;

struct ScriptError {
  std::size_t line = 0;
  std::string message;
};

// Control names in a script are UTF-8, as the script is; they are compared with the stored
// names after conversion.
std::variant<std::vector<Step>, ScriptError> ParseScript(std::string_view script);

}  // namespace pelmora::sim_driver
