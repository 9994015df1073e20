// The window kind: the top-level window of a description, which holds the window's controls,
// turns their input into the common events and runs the keyboard order and closing.
#pragma once

#include "runtime/control_kind.h"
#include "runtime/ids.h"
#include "runtime/kinds/window_block.h"

namespace pelmora {

class Runtime;

ControlKind& WindowKind();

// Controls tell their window when they receive the focus, so that the window can give it
// back to them when it regains the focus itself.
void NoteFocusedControl(Runtime& runtime, WindowId windowId, ControlId controlId);

}  // namespace pelmora
