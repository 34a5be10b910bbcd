#include "desktop.h"

#include <vector>

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/surface.h"
#include "gdi/text.h"
#include "user/paint.h"
#include "user/window.h"

namespace window {

namespace {

// Topmost first, as the window manager keeps them.
std::vector<HWND> visibleTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool hasCaption(HWND window) {
    return (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CAPTION) == WS_CAPTION;
}

RECT titleBar(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top - kTitleBarHeight, rect.right, rect.top};
}

void paintTitleBar(HDC frame, HWND window) {
    const RECT bar = titleBar(window);
    HBRUSH brush = CreateSolidBrush(RGB(40, 70, 130));
    FillRect(frame, &bar, brush);
    DeleteObject(brush);
    wchar_t title[256] = L"";
    const int length = GetWindowTextW(window, title, 256);
    SetTextColor(frame, RGB(255, 255, 255));
    SetBkMode(frame, TRANSPARENT);
    TextOutW(frame, bar.left + 6, bar.top + 4, title, length);
}

void paintWindow(HDC frame, HWND window) {
    SvSurface* picture = svSnapshotWindow(window);
    if (picture == nullptr)
        return;
    const int width = svSurfaceWidth(picture), height = svSurfaceHeight(picture);
    HDC source = svCreateSurfaceDC(picture, {0, 0}, {0, 0, width, height});
    RECT rect{};
    GetWindowRect(window, &rect);
    BitBlt(frame, rect.left, rect.top, width, height, source, 0, 0, SRCCOPY);
    DeleteDC(source);
    svDestroySurface(picture);
    if (hasCaption(window))
        paintTitleBar(frame, window);
}

} // namespace

void paintTopLevelWindows(HDC frame) {
    const std::vector<HWND> windows = visibleTopLevelWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        paintWindow(frame, *it);
}

HWND titleBarAt(POINT point) {
    for (HWND window : visibleTopLevelWindows()) {
        RECT rect{};
        GetWindowRect(window, &rect);
        if (PtInRect(&rect, point))
            return nullptr; // a window above covers any title bar below
        const RECT bar = titleBar(window);
        if (hasCaption(window) && PtInRect(&bar, point))
            return window;
    }
    return nullptr;
}

void keepTitleBarInSight(HWND window) {
    RECT rect{};
    if (GetParent(window) != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0)
        return;
    if (hasCaption(window) && GetWindowRect(window, &rect) && rect.top < kTitleBarHeight)
        moveTopLevelWindow(window, {rect.left, kTitleBarHeight});
}

void moveTopLevelWindow(HWND window, POINT topLeft) {
    SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace window
