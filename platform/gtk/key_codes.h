// GDK key values to the run time's virtual-key codes.
#pragma once

#include <cstdint>

namespace pelmora::gtk {

// The virtual-key code of a key. `pressed` is the key value as typed (keypad keys depend on
// Num Lock there); `unshifted` is the key's value without modifiers, so that Shift+1 is still
// the key '1'. 0 when the key has no code.
std::uint32_t VirtualKeyOf(unsigned pressed, unsigned unshifted);

}  // namespace pelmora::gtk
