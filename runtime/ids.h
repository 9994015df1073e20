// Identifiers of the form run time: windows, controls, kinds, properties and events are
// addressed by number only; the program's code never holds a control object.
#pragma once

#include <cstdint>

namespace pelmora {

// Bits 0-23 serial number, 24-27 class number, 28-31 sub-class number.
using WindowId = std::uint32_t;
using ControlId = std::uint32_t;
// Bits 16-31 the library that supplies the kind, bits 0-15 the kind's number in it.
using KindId = std::uint32_t;
// 0-7 common to every kind; 8 and up the kind's own (own index = number - 8).
using PropertyNumber = std::int32_t;
// 0 and up a kind's own events; -1 to -12 the common input and focus events.
using EventNumber = std::int32_t;

constexpr std::uint32_t SerialOf(std::uint32_t id) { return id & 0x00FFFFFFu; }
constexpr std::uint32_t ClassOf(std::uint32_t id) { return (id >> 24) & 0x0Fu; }
constexpr std::uint32_t SubClassOf(std::uint32_t id) { return id >> 28; }

// An identifier names something only when both its serial and its class are non-zero.
constexpr bool IsValidId(std::uint32_t id) { return SerialOf(id) != 0 && ClassOf(id) != 0; }

// Class 6, sub-class 2: a menu item, which has a record layout of its own.
constexpr bool IsMenuItem(ControlId id) { return (id >> 24) == 0x26u; }

namespace kind_ids {
inline constexpr KindId Window = 0x00010001;
inline constexpr KindId EditBox = 0x00010005;
inline constexpr KindId Label = 0x0001000A;
inline constexpr KindId Button = 0x0001000B;
inline constexpr KindId Timer = 0x00010020;
inline constexpr KindId HtmlViewer = 0x00020001;
}  // namespace kind_ids

// Common properties.
namespace common_property {
inline constexpr PropertyNumber Left = 0;
inline constexpr PropertyNumber Top = 1;
inline constexpr PropertyNumber Width = 2;
inline constexpr PropertyNumber Height = 3;
inline constexpr PropertyNumber Tag = 4;
inline constexpr PropertyNumber Visible = 5;
inline constexpr PropertyNumber Disabled = 6;
inline constexpr PropertyNumber MousePointer = 7;
inline constexpr PropertyNumber FirstOwn = 8;
}  // namespace common_property

// Common input and focus events, raised for every control and the window itself.
namespace common_event {
inline constexpr EventNumber LeftButtonDown = -1;
inline constexpr EventNumber LeftButtonUp = -2;
inline constexpr EventNumber DoubleClick = -3;
inline constexpr EventNumber RightButtonDown = -4;
inline constexpr EventNumber RightButtonUp = -5;
inline constexpr EventNumber MouseMove = -6;
inline constexpr EventNumber GotFocus = -7;
inline constexpr EventNumber LostFocus = -8;
inline constexpr EventNumber KeyDown = -9;
inline constexpr EventNumber KeyUp = -10;
inline constexpr EventNumber CharacterInput = -11;
inline constexpr EventNumber WheelTurned = -12;
}  // namespace common_event

// StateFlags bits of a control record.
namespace state_flag {
inline constexpr std::uint32_t Visible = 1u << 0;
inline constexpr std::uint32_t Disabled = 1u << 1;
inline constexpr std::uint32_t TabStop = 1u << 2;
}  // namespace state_flag

}  // namespace pelmora
