// GTK signal handlers that turn what happens to a widget into messages of its window's
// procedure, and the style interpretation shared by creation and SetStyles.
#pragma once

#include "platform/gtk/native_window.h"

namespace pelmora::gtk {

void ConnectWindowSignals(NativeWindow& window);

// Applies a frame's style bits to its GtkWindow: caption -> decorated, thick frame ->
// resizable, system menu -> deletable, tool window -> utility hint, no minimize or maximize box
// -> dialog hint, topmost -> keep above, owned by the hidden owner -> no taskbar entry.
void ApplyFrameStyles(NativeWindow& window);

// Tells the window manager which frame parts and functions the style asks for (minimize and
// maximize buttons, the close command, resizing, moving), through the Motif hints that X11
// window managers read. Takes effect once the window is realized.
void ApplyWindowManagerHints(NativeWindow& window);

// Gives a frame's GtkWindow the size of its record: a fixed-size window takes the size of its
// client area's request, a resizable one is resized.
void ApplyFrameSize(NativeWindow& window);

// The destroy sequence for a window and its children: Destroy to each (parent first), the
// children's NcDestroy before their parent's, then the records go and the widgets with them.
void DestroyWindowTree(WindowHandle handle);

}  // namespace pelmora::gtk
