#pragma once

#include "gdi/types.h"
#include "user/types.h"

namespace window {

// The window manager's top-level windows over the drawing: each painted by the window manager
// itself, bottom to top, a window with a caption under a title bar of ours, by which it is moved.
constexpr int kTitleBarHeight = 22;

void paintTopLevelWindows(HDC frame);
// The visible top-level window whose title bar holds the point, or null.
HWND titleBarAt(POINT point);
// A window whose title bar would be above the top edge comes down under it, so it can be moved.
void keepTitleBarInSight(HWND window);
// Moves a top-level window so that its top left corner lands on the point.
void moveTopLevelWindow(HWND window, POINT topLeft);

} // namespace window
