// The label kind: static text in a window of the run time's own label class, painted opaquely
// by its procedure. It never takes the keyboard focus.
#pragma once

#include <cstdint>

#include "runtime/control_kind.h"
#include "runtime/kinds/kind_block.h"

namespace pelmora {

namespace label_property {
inline constexpr std::int32_t Text = 0;
inline constexpr std::int32_t TextEffect = 1;
inline constexpr std::int32_t BorderStyle = 2;
inline constexpr std::int32_t GradientBorderWidth = 3;
inline constexpr std::int32_t GradientBorderColor1 = 4;
inline constexpr std::int32_t GradientBorderColor2 = 5;
inline constexpr std::int32_t GradientBorderColor3 = 6;
inline constexpr std::int32_t Font = 7;
inline constexpr std::int32_t TextColor = 8;
inline constexpr std::int32_t BackColor = 9;
inline constexpr std::int32_t BackPicture = 10;
inline constexpr std::int32_t BackPictureLayout = 11;
inline constexpr std::int32_t GradientBackMode = 12;
inline constexpr std::int32_t GradientBackColor1 = 13;
inline constexpr std::int32_t GradientBackColor2 = 14;
inline constexpr std::int32_t GradientBackColor3 = 15;
inline constexpr std::int32_t HorizontalAlignment = 16;
inline constexpr std::int32_t WordWrap = 17;
inline constexpr std::int32_t VerticalAlignment = 18;
inline constexpr std::int32_t DataSource = 19;
inline constexpr std::int32_t DataColumn = 20;
}  // namespace label_property

const BlockLayout& LabelBlockLayout();
ControlKind& LabelKind();

}  // namespace pelmora
