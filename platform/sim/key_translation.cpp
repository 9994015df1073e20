// The loop's translation of a key-down into the character it types, as on a US keyboard.
#include "platform/sim/world.h"

namespace pelmora::sim::detail {

std::optional<std::uint8_t> CharacterOfKey(std::uint32_t key, std::uint32_t modifiers) {
  const bool ctrl = (modifiers & 1) != 0;
  const bool shift = (modifiers & 2) != 0;
  // With Alt the system makes a system character instead, which nothing here takes.
  if ((modifiers & 4) != 0) return std::nullopt;
  if (key >= vocab::vk::LetterA && key <= vocab::vk::LetterA + 25) {
    if (ctrl) return static_cast<std::uint8_t>(key - vocab::vk::LetterA + 1);
    return static_cast<std::uint8_t>(shift ? key : key + 0x20);
  }
  if (ctrl) return std::nullopt;
  if (key >= vocab::vk::Digit0 && key <= vocab::vk::Digit0 + 9) {
    static constexpr char kShifted[] = ")!@#$%^&*(";
    return static_cast<std::uint8_t>(shift ? kShifted[key - vocab::vk::Digit0] : key);
  }
  if (key >= vocab::vk::Numpad0 && key <= vocab::vk::Numpad0 + 9) {
    return static_cast<std::uint8_t>('0' + key - vocab::vk::Numpad0);
  }
  struct KeyCharacter {
    std::uint32_t key;
    char plain;
    char shifted;
  };
  static constexpr KeyCharacter kTable[] = {
      {vocab::vk::Space, ' ', ' '},       {vocab::vk::Return, '\r', '\r'},
      {vocab::vk::Back, '\b', '\b'},      {vocab::vk::Tab, '\t', '\t'},
      {vocab::vk::Escape, '\x1B', '\x1B'}, {vocab::vk::Multiply, '*', '*'},
      {vocab::vk::Add, '+', '+'},         {vocab::vk::Subtract, '-', '-'},
      {vocab::vk::Decimal, '.', '.'},     {vocab::vk::Divide, '/', '/'},
      {0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
      {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
      {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'},
  };
  for (const KeyCharacter& entry : kTable) {
    if (entry.key == key) return static_cast<std::uint8_t>(shift ? entry.shifted : entry.plain);
  }
  return std::nullopt;
}

}  // namespace pelmora::sim::detail
