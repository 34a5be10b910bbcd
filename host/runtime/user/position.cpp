#include "user/window_internal.h"

#include <algorithm>

using namespace sv::user;

namespace {

void reorder(Window& w, HWND after) {
    std::vector<HWND>& list = isChild(w) ? findWindow(w.parent)->children : topLevelWindows();
    list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
    if (after == HWND_BOTTOM) {
        list.push_back(w.handle);
        return;
    }
    auto at = std::find(list.begin(), list.end(), after);
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST || at == list.end())
        list.insert(list.begin(), w.handle);
    else
        list.insert(std::next(at), w.handle);
}

POINT screenOrigin(HWND window) {
    if (Window* w = findWindow(window)) {
        const RECT r = screenRect(*w);
        return {r.left, r.top};
    }
    return {0, 0};
}

HWND hitTest(HWND window, POINT point) {
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        Window* c = findWindow(child);
        if (!c || !(c->style & WS_VISIBLE))
            continue;
        const RECT r = screenRect(*c);
        if (PtInRect(&r, point))
            if (HWND hit = hitTest(child, point))
                return hit;
    }
    if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == HTTRANSPARENT)
        return nullptr;
    return window;
}

} // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    WINDOWPOS pos{window, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.right - w->rect.left;
        pos.cy = w->rect.bottom - w->rect.top;
    }
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    w = findWindow(window);
    if (!w)
        return FALSE;
    if (!(pos.flags & SWP_NOZORDER))
        reorder(*w, pos.hwndInsertAfter);
    const RECT old = w->rect;
    w->rect = {pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    if (old.left == w->rect.left && old.top == w->rect.top)
        pos.flags |= SWP_NOMOVE;
    if (old.right - old.left == pos.cx && old.bottom - old.top == pos.cy)
        pos.flags |= SWP_NOSIZE;
    if (!(pos.flags & SWP_NOSIZE) && !isChild(*w))
        releaseSurface(window);
    if (pos.flags & SWP_SHOWWINDOW)
        ShowWindow(window, (pos.flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (pos.flags & SWP_HIDEWINDOW)
        ShowWindow(window, SW_HIDE);
    SendMessageW(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    w = findWindow(window);
    if (w && !(pos.flags & SWP_NOREDRAW) && (~pos.flags & (SWP_NOMOVE | SWP_NOSIZE))) {
        invalidateTree(isChild(*w) ? w->parent : window, true);
    }
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Window* w = findWindow(window);
    if (!w || !rect)
        return FALSE;
    *rect = screenRect(*w);
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Window* w = findWindow(window);
    if (!w || !rect)
        return FALSE;
    *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    if (!findWindow(window) || !point)
        return FALSE;
    const POINT origin = screenOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    if (!findWindow(window) || !point)
        return FALSE;
    const POINT origin = screenOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    const POINT a = screenOrigin(from);
    const POINT b = screenOrigin(to);
    const int dx = a.x - b.x;
    const int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<short>(dx), static_cast<short>(dy));
}

HWND WindowFromPoint(POINT point) {
    const std::vector<HWND> tops = topLevelWindows();
    for (HWND top : tops) {
        Window* t = findWindow(top);
        if (!t || !(t->style & WS_VISIBLE) || !PtInRect(&t->rect, point))
            continue;
        if (HWND hit = hitTest(top, point))
            return hit;
    }
    return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    Window* w = findWindow(parent);
    if (!w)
        return nullptr;
    RECT client{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    if (!PtInRect(&client, point))
        return nullptr;
    for (HWND child : w->children) {
        Window* c = findWindow(child);
        if (!c || !PtInRect(&c->rect, point))
            continue;
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        return child;
    }
    return parent;
}
