// The keyboard order of a window: the controls Tab and Shift+Tab visit, the one that gets the
// focus when the window receives it, and the one after a label that passes its mnemonic on.
#pragma once

#include <optional>
#include <vector>

#include "runtime/runtime.h"

namespace pelmora {

// Visible, enabled controls that can take the focus and have their tab stop set, ordered by
// TabOrder ascending and, for equal values, by descending stored position.
std::vector<ControlView> KeyboardOrder(const std::vector<ControlView>& controls);

// The candidate after (or, backwards, before) the given control, wrapping around. A control
// that is not a candidate itself (a label) is placed where its TabOrder and stored position
// would put it. Nothing when there is no candidate.
std::optional<ControlView> NextInKeyboardOrder(const std::vector<ControlView>& order,
                                               const ControlView& from, bool backwards);

}  // namespace pelmora
