// The button kind: a system push button that reports its clicks as Clicked; a default button
// also answers Enter anywhere in its window.
#pragma once

#include <cstdint>

#include "runtime/control_kind.h"
#include "runtime/kinds/kind_block.h"

namespace pelmora {

namespace button_property {
inline constexpr std::int32_t Picture = 0;
inline constexpr std::int32_t ButtonType = 1;
inline constexpr std::int32_t Caption = 2;
inline constexpr std::int32_t HorizontalAlignment = 3;
inline constexpr std::int32_t VerticalAlignment = 4;
inline constexpr std::int32_t Font = 5;
}  // namespace button_property

namespace button_event {
inline constexpr EventNumber Clicked = 0;
}

const BlockLayout& ButtonBlockLayout();
ControlKind& ButtonKind();

}  // namespace pelmora
