// The window kind's stored properties: own indexes (property number - 8) and the layout of its
// block, format versions 0 to 6.
#pragma once

#include <cstdint>

#include "runtime/kinds/kind_block.h"

namespace pelmora::window_property {
inline constexpr std::int32_t Caption = 0;
inline constexpr std::int32_t BorderStyle = 1;
inline constexpr std::int32_t BackColor = 2;
inline constexpr std::int32_t BackPicture = 3;
inline constexpr std::int32_t BackPictureLayout = 4;
inline constexpr std::int32_t BackMusic = 5;
inline constexpr std::int32_t BackMusicPlayMode = 6;
inline constexpr std::int32_t ControlBox = 7;
inline constexpr std::int32_t MaxButton = 8;
inline constexpr std::int32_t MinButton = 9;
inline constexpr std::int32_t Placement = 10;
inline constexpr std::int32_t Movable = 11;
inline constexpr std::int32_t Icon = 12;
inline constexpr std::int32_t EnterMovesFocus = 13;
inline constexpr std::int32_t EscCloses = 14;
inline constexpr std::int32_t F1OpensHelp = 15;
inline constexpr std::int32_t HelpFile = 16;
inline constexpr std::int32_t HelpContext = 17;
inline constexpr std::int32_t ShowInTaskbar = 18;
inline constexpr std::int32_t DragAnywhere = 19;
inline constexpr std::int32_t Shape = 20;
inline constexpr std::int32_t AlwaysOnTop = 21;
inline constexpr std::int32_t KeepTitleActive = 22;
inline constexpr std::int32_t ClassName = 23;
}  // namespace pelmora::window_property

namespace pelmora {

// Window events of its own (the common input events are negative).
namespace window_event {
inline constexpr EventNumber Created = 0;
inline constexpr EventNumber MayClose = 1;
inline constexpr EventNumber Destroying = 2;
inline constexpr EventNumber Moved = 3;
inline constexpr EventNumber Resized = 4;
inline constexpr EventNumber Activated = 5;
inline constexpr EventNumber Deactivated = 6;
inline constexpr EventNumber FirstActivated = 8;
inline constexpr EventNumber Shown = 10;
inline constexpr EventNumber Hidden = 11;
inline constexpr EventNumber CloseRequested = 12;
}  // namespace window_event

const BlockLayout& WindowBlockLayout();

}  // namespace pelmora
