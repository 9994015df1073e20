// The edit box kind: a system edit control whose content the program reads while the user
// types, and which reports every change of its text as ContentChanged.
#pragma once

#include <cstdint>

#include "runtime/control_kind.h"
#include "runtime/kinds/kind_block.h"

namespace pelmora {

namespace edit_box_property {
inline constexpr std::int32_t Content = 0;
inline constexpr std::int32_t BorderStyle = 1;
inline constexpr std::int32_t TextColor = 2;
inline constexpr std::int32_t BackColor = 3;
inline constexpr std::int32_t Font = 4;
inline constexpr std::int32_t HideSelection = 5;
inline constexpr std::int32_t MaxLength = 6;
inline constexpr std::int32_t MultiLine = 7;
inline constexpr std::int32_t ScrollBars = 8;
inline constexpr std::int32_t Alignment = 9;
inline constexpr std::int32_t InputMode = 10;
inline constexpr std::int32_t PasswordChar = 11;
inline constexpr std::int32_t CaseConversion = 12;
inline constexpr std::int32_t SpinMode = 13;
inline constexpr std::int32_t SpinMinimum = 14;
inline constexpr std::int32_t SpinMaximum = 15;
inline constexpr std::int32_t SelectionStart = 16;
inline constexpr std::int32_t SelectionLength = 17;
inline constexpr std::int32_t SelectedText = 18;
inline constexpr std::int32_t DataSource = 19;
inline constexpr std::int32_t DataColumn = 20;
}  // namespace edit_box_property

namespace edit_box_event {
inline constexpr EventNumber ContentChanged = 0;
}

const BlockLayout& EditBoxBlockLayout();
ControlKind& EditBoxKind();

}  // namespace pelmora
