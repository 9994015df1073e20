#include "platform/gtk/key_codes.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include "platform/vocabulary.h"

namespace pelmora::gtk {
namespace {

namespace vk = vocab::vk;

struct KeyCase {
  unsigned pressed;
  unsigned unshifted;
  std::uint32_t expected;
};

TEST(KeyCodes, MapsKeysAsTheSystemNumbersThem) {
  const KeyCase cases[] = {
      {GDK_KEY_a, GDK_KEY_a, 'A'},
      {GDK_KEY_Q, GDK_KEY_q, 'Q'},                // Shift+q
      {GDK_KEY_exclam, GDK_KEY_1, '1'},           // Shift+1 is still the key 1
      {GDK_KEY_Return, GDK_KEY_Return, vk::Return},
      {GDK_KEY_KP_Enter, GDK_KEY_KP_Enter, vk::Return},
      {GDK_KEY_Escape, GDK_KEY_Escape, vk::Escape},
      {GDK_KEY_ISO_Left_Tab, GDK_KEY_Tab, vk::Tab},  // Shift+Tab
      {GDK_KEY_F4, GDK_KEY_F4, vk::F4},
      {GDK_KEY_Alt_L, GDK_KEY_Alt_L, vk::Menu},
      {GDK_KEY_Control_R, GDK_KEY_Control_R, vk::Control},
      {GDK_KEY_Delete, GDK_KEY_Delete, vk::Delete},
      {GDK_KEY_minus, GDK_KEY_minus, 0xBD},
      {GDK_KEY_period, GDK_KEY_period, 0xBE},
      // Keypad with Num Lock: the numpad codes; without: the navigation keys it carries.
      {GDK_KEY_KP_7, GDK_KEY_KP_Home, vk::Numpad0 + 7},
      {GDK_KEY_KP_0, GDK_KEY_KP_Insert, vk::Numpad0},
      {GDK_KEY_KP_Home, GDK_KEY_KP_Home, 0x24},
      {GDK_KEY_KP_Subtract, GDK_KEY_KP_Subtract, vk::Subtract},
      {GDK_KEY_KP_Decimal, GDK_KEY_KP_Delete, vk::Decimal},
      {GDK_KEY_KP_Divide, GDK_KEY_KP_Divide, vk::Divide},
      {GDK_KEY_KP_Multiply, GDK_KEY_KP_Multiply, vk::Multiply},
      {GDK_KEY_dead_acute, GDK_KEY_dead_acute, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VirtualKeyOf(c.pressed, c.unshifted), c.expected)
        << gdk_keyval_name(c.pressed) << " / " << gdk_keyval_name(c.unshifted);
  }
}

}  // namespace
}  // namespace pelmora::gtk
