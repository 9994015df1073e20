// The timer kind: a control without visible form that raises Tick at a written period. Each
// timer is a hidden child window of its form owning one system timer.
#pragma once

#include <cstdint>

#include "runtime/control_kind.h"
#include "runtime/ids.h"

namespace pelmora {

namespace timer {
inline constexpr PropertyNumber Period = 8;  // milliseconds; 0 stopped
inline constexpr EventNumber Tick = 0;
// The one system timer each timer sets on its hidden window.
inline constexpr std::uint32_t SystemTimerId = 1000;
}  // namespace timer

ControlKind& TimerKind();

}  // namespace pelmora
