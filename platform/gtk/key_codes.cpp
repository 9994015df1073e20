#include "platform/gtk/key_codes.h"

#include <gdk/gdkkeysyms.h>

#include <utility>

#include "platform/vocabulary.h"

namespace pelmora::gtk {
namespace {

namespace vk = vocab::vk;

// Keypad keys, looked up by the value as typed: with Num Lock on they are digits, without it
// they are the navigation keys the keypad also carries.
std::uint32_t KeypadKey(unsigned keyval) {
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return vk::Numpad0 + (keyval - GDK_KEY_KP_0);
  switch (keyval) {
    case GDK_KEY_KP_Multiply: return vk::Multiply;
    case GDK_KEY_KP_Add: return vk::Add;
    case GDK_KEY_KP_Separator: return 0x6C;
    case GDK_KEY_KP_Subtract: return vk::Subtract;
    case GDK_KEY_KP_Decimal: return vk::Decimal;
    case GDK_KEY_KP_Divide: return vk::Divide;
    case GDK_KEY_KP_Enter: return vk::Return;
    case GDK_KEY_KP_Home: return 0x24;
    case GDK_KEY_KP_End: return 0x23;
    case GDK_KEY_KP_Page_Up: return 0x21;
    case GDK_KEY_KP_Page_Down: return 0x22;
    case GDK_KEY_KP_Left: return vk::Left;
    case GDK_KEY_KP_Up: return vk::Up;
    case GDK_KEY_KP_Right: return vk::Right;
    case GDK_KEY_KP_Down: return vk::Down;
    case GDK_KEY_KP_Insert: return 0x2D;
    case GDK_KEY_KP_Delete: return vk::Delete;
    case GDK_KEY_KP_Begin: return 0x0C;  // the keypad's 5 without Num Lock
    default: return 0;
  }
}

std::uint32_t MainKey(unsigned keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return vk::LetterA + (keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return vk::LetterA + (keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return vk::Digit0 + (keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return vk::F1 + (keyval - GDK_KEY_F1);
  static constexpr std::pair<unsigned, std::uint32_t> kKeys[] = {
      {GDK_KEY_BackSpace, vk::Back},   {GDK_KEY_Tab, vk::Tab},
      {GDK_KEY_ISO_Left_Tab, vk::Tab}, {GDK_KEY_Return, vk::Return},
      {GDK_KEY_Shift_L, vk::Shift},    {GDK_KEY_Shift_R, vk::Shift},
      {GDK_KEY_Control_L, vk::Control}, {GDK_KEY_Control_R, vk::Control},
      {GDK_KEY_Alt_L, vk::Menu},       {GDK_KEY_Alt_R, vk::Menu},
      {GDK_KEY_Meta_L, vk::Menu},      {GDK_KEY_Meta_R, vk::Menu},
      {GDK_KEY_ISO_Level3_Shift, vk::Menu},
      {GDK_KEY_Pause, 0x13},           {GDK_KEY_Caps_Lock, 0x14},
      {GDK_KEY_Escape, vk::Escape},    {GDK_KEY_space, vk::Space},
      {GDK_KEY_Page_Up, 0x21},         {GDK_KEY_Page_Down, 0x22},
      {GDK_KEY_End, 0x23},             {GDK_KEY_Home, 0x24},
      {GDK_KEY_Left, vk::Left},        {GDK_KEY_Up, vk::Up},
      {GDK_KEY_Right, vk::Right},      {GDK_KEY_Down, vk::Down},
      {GDK_KEY_Print, 0x2C},           {GDK_KEY_Insert, 0x2D},
      {GDK_KEY_Delete, vk::Delete},    {GDK_KEY_Super_L, 0x5B},
      {GDK_KEY_Super_R, 0x5C},         {GDK_KEY_Menu, 0x5D},
      {GDK_KEY_Num_Lock, 0x90},        {GDK_KEY_Scroll_Lock, 0x91},
      {GDK_KEY_semicolon, 0xBA},       {GDK_KEY_equal, 0xBB},
      {GDK_KEY_comma, 0xBC},           {GDK_KEY_minus, 0xBD},
      {GDK_KEY_period, 0xBE},          {GDK_KEY_slash, 0xBF},
      {GDK_KEY_grave, 0xC0},           {GDK_KEY_bracketleft, 0xDB},
      {GDK_KEY_backslash, 0xDC},       {GDK_KEY_bracketright, 0xDD},
      {GDK_KEY_apostrophe, 0xDE},
  };
  for (const auto& [keyval_, code] : kKeys) {
    if (keyval_ == keyval) return code;
  }
  return 0;
}

}  // namespace

std::uint32_t VirtualKeyOf(unsigned pressed, unsigned unshifted) {
  if (std::uint32_t keypad = KeypadKey(pressed); keypad != 0) return keypad;
  if (std::uint32_t key = MainKey(unshifted); key != 0) return key;
  return MainKey(pressed);
}

}  // namespace pelmora::gtk
