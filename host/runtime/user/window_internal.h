#pragma once

#include "user/window_table.h"

namespace sv::user {

// The screen was told of a top-level window's showing or hiding.
void notifyShown(HWND window, bool shown);
// Focus, capture and activation forget a window that is being destroyed.
void forgetInputWindow(HWND window);
// SetFocus is activating a window on its way to giving the focus to one of its children: the
// activation need not put the focus anywhere itself.
bool focusIsComing();
// The window needs painting, with its visible descendants.
void invalidateTree(HWND window, bool erase);
// Fills the window's client area with a brush; the background of WM_ERASEBKGND.
void fillClient(HWND window, HDC dc, HBRUSH brush);
// A top-level window's surface follows its size.
void releaseSurface(HWND window);

} // namespace sv::user
