#include "runtime/kinds/window_block.h"

#include <array>

namespace pelmora {
namespace {

namespace wp = window_property;
constexpr FieldType N = FieldType::Number;
constexpr FieldType L = FieldType::Logical;
constexpr FieldType T = FieldType::Text;
constexpr FieldType D = FieldType::Data;

// Stored order; the fields a version lacks keep their defaults.
constexpr std::array kWindowFields = {
    BlockField{wp::BorderStyle, N, 0, 2},
    BlockField{wp::BackPictureLayout, N, 0, 1},
    BlockField{wp::BackColor, N, 0, kFaceColourMarker},
    BlockField{wp::MaxButton, L, 0, 0},
    BlockField{wp::MinButton, L, 0, 1},
    BlockField{wp::ControlBox, L, 0, 1},
    BlockField{wp::Placement, N, 0, 1},
    BlockField{wp::Movable, L, 0, 1},
    BlockField{wp::BackMusicPlayMode, N, 0, 0},
    BlockField{wp::EnterMovesFocus, L, 0, 0},
    BlockField{wp::EscCloses, L, 0, 1},
    BlockField{wp::F1OpensHelp, L, 0, 0},
    BlockField{wp::HelpContext, N, 0, 0},
    BlockField{wp::ShowInTaskbar, L, 2, 1},
    BlockField{wp::DragAnywhere, L, 3, 0},
    BlockField{wp::Shape, N, 3, 0},
    BlockField{wp::AlwaysOnTop, L, 4, 0},
    BlockField{wp::KeepTitleActive, L, 5, 0},
    BlockField{wp::ClassName, T, 6, 0},
    BlockField{wp::BackPicture, D, 0, 0},
    BlockField{wp::Icon, D, 0, 0},
    BlockField{wp::BackMusic, D, 0, 0},
    BlockField{wp::Caption, T, 0, 0},
    BlockField{wp::HelpFile, T, 0, 0},
};

constexpr BlockLayout kWindowLayout{6, kWindowFields, {}};

}  // namespace

const BlockLayout& WindowBlockLayout() { return kWindowLayout; }

}  // namespace pelmora
