// Keeping a top-level window out of the taskbar and the pager. Qt has no
// flag for it that does not change the window's kind; on X11 the window
// gets the EWMH states before each show (a window manager drops them when
// the window is hidden). Elsewhere this does nothing.
#pragma once

class QWidget;

namespace platform {

// Call from the window's show event: the window is not mapped yet then.
void SkipTaskbar(QWidget& window);

// Whether the window has the skip-taskbar state now (X11 only; false
// elsewhere).
bool SkipsTaskbar(QWidget& window);

}  // namespace platform
