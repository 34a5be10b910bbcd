#pragma once

#include "user/window_table.h"

namespace sv::user {

// The screen was told of a top-level window's showing or hiding.
void notifyShown(HWND window, bool shown);
// Focus, capture and activation forget a window that is being destroyed.
void forgetInputWindow(HWND window);
// The window needs painting, with its visible descendants.
void invalidateTree(HWND window, bool erase);
// A top-level window's surface follows its size.
void releaseSurface(HWND window);

} // namespace sv::user
