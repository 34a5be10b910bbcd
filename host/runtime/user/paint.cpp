#include "user/paint.h"
#include "user/queue.h"
#include "user/window_internal.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/surface.h"

#include <map>

using namespace sv::user;

namespace {

std::map<HWND, SvSurface*>& surfaces() {
    static std::map<HWND, SvSurface*> map;
    return map;
}

// While a snapshot is taken, the windows of its tree paint into it instead.
struct Redirect {
    HWND root = nullptr;
    SvSurface* surface = nullptr;
};
Redirect g_redirect;

// Text can be measured in a window too small to have pixels of its own.
SvSurface* scratchSurface() {
    static SvSurface* surface = svCreateSurface(1, 1);
    return surface;
}

SvSurface* surfaceOf(HWND top) {
    auto found = surfaces().find(top);
    if (found != surfaces().end())
        return found->second;
    Window* w = findWindow(top);
    SvSurface* made = svCreateSurface(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
    if (!made)
        return scratchSurface();
    surfaces()[top] = made;
    return made;
}

// A DC on the window's part of the surface it paints into, clipped to the window, its
// ancestors and clip (client coordinates) when given.
HDC windowDC(HWND window, const RECT* clip) {
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    HWND root = GetAncestor(window, GA_ROOT);
    SvSurface* surface = nullptr;
    if (g_redirect.root && (window == g_redirect.root || IsChild(g_redirect.root, window))) {
        root = g_redirect.root;
        surface = g_redirect.surface;
    } else {
        surface = surfaceOf(root);
    }
    const RECT rootRect = screenRect(*findWindow(root));
    RECT area = screenRect(*w);
    OffsetRect(&area, -rootRect.left, -rootRect.top);
    const POINT origin{area.left, area.top};
    for (Window* up = w; up && up->handle != root && isChild(*up);) {
        up = findWindow(up->parent);
        RECT parentArea = screenRect(*up);
        OffsetRect(&parentArea, -rootRect.left, -rootRect.top);
        IntersectRect(&area, &area, &parentArea);
    }
    if (clip) {
        RECT limit = *clip;
        OffsetRect(&limit, origin.x, origin.y);
        IntersectRect(&area, &area, &limit);
    }
    return svCreateSurfaceDC(surface, origin, area);
}

void markTree(HWND window, bool erase, bool visibleOnly) {
    Window* w = findWindow(window);
    if (!w || (visibleOnly && !(w->style & WS_VISIBLE)))
        return;
    w->needsPaint = true;
    w->needsErase = w->needsErase || erase;
    w->updateRect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        markTree(child, erase, true);
}

// Depth first, parents before their children, the bottom sibling first so that the top one
// paints last.
HWND firstNeedingPaint(HWND window) {
    Window* w = findWindow(window);
    if (!w || !(w->style & WS_VISIBLE))
        return nullptr;
    if (w->needsPaint)
        return window;
    for (auto at = w->children.rbegin(); at != w->children.rend(); ++at)
        if (HWND found = firstNeedingPaint(*at))
            return found;
    return nullptr;
}

void paintTree(HWND window, bool force) {
    Window* w = findWindow(window);
    if (!w || (!force && !(w->style & WS_VISIBLE)))
        return;
    if (w->needsPaint)
        SendMessageW(window, WM_PAINT, 0, 0);
    ValidateRect(window, nullptr);
    w = findWindow(window);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (auto at = children.rbegin(); at != children.rend(); ++at)
        paintTree(*at, false);
}

struct PaintState {
    bool needsPaint;
    bool needsErase;
    RECT updateRect;
};

void saveStates(HWND window, std::map<HWND, PaintState>& saved) {
    Window* w = findWindow(window);
    if (!w)
        return;
    saved[window] = {w->needsPaint, w->needsErase, w->updateRect};
    for (HWND child : w->children)
        saveStates(child, saved);
}

} // namespace

namespace sv::user {

void invalidateTree(HWND window, bool erase) {
    markTree(window, erase, false);
}

void fillClient(HWND window, HDC dc, HBRUSH brush) {
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(dc, &rect, brush);
}

void releaseSurface(HWND window) {
    auto found = surfaces().find(window);
    if (found == surfaces().end())
        return;
    svDestroySurface(found->second);
    surfaces().erase(found);
}

bool takePaint(MSG& msg, const MessageFilter& filter) {
    for (HWND top : topLevelWindows()) {
        HWND found = firstNeedingPaint(top);
        if (found && filter.accepts(found, WM_PAINT)) {
            msg = {found, WM_PAINT, 0, 0, now(), {}};
            return true;
        }
    }
    return false;
}

} // namespace sv::user

BOOL InvalidateRect(HWND window, LPCRECT rect, BOOL erase) {
    if (!window) {
        for (HWND top : topLevelWindows())
            InvalidateRect(top, rect, erase);
        return TRUE;
    }
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    const RECT whole{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    RECT area = whole;
    if (rect && !IntersectRect(&area, rect, &whole))
        return TRUE;
    if (w->needsPaint)
        UnionRect(&area, &area, &w->updateRect);
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        markTree(child, erase != FALSE, true);
    w->needsPaint = true;
    w->needsErase = w->needsErase || erase;
    w->updateRect = area;
    return TRUE;
}

BOOL ValidateRect(HWND window, LPCRECT) {
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    w->needsPaint = false;
    w->needsErase = false;
    w->updateRect = {};
    return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL) {
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->needsPaint ? w->updateRect : RECT{};
    return w->needsPaint ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
    if (!IsWindow(window))
        return FALSE;
    paintTree(window, false);
    return TRUE;
}

BOOL RedrawWindow(HWND window, LPCRECT rect, void*, UINT flags) {
    if (window && !IsWindow(window))
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(window, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_VALIDATE)
        ValidateRect(window, rect);
    if ((flags & RDW_UPDATENOW) && window)
        UpdateWindow(window);
    return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    Window* w = findWindow(window);
    if (!w || !paint)
        return nullptr;
    *paint = {};
    paint->rcPaint = w->needsPaint
                         ? w->updateRect
                         : RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    const bool erase = w->needsErase;
    ValidateRect(window, nullptr);
    paint->hdc = windowDC(window, &paint->rcPaint);
    paint->fErase = erase ? TRUE : FALSE;
    if (erase && SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0))
        paint->fErase = FALSE;
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc)
        DeleteDC(paint->hdc);
    return TRUE;
}

HDC GetDC(HWND window) {
    return windowDC(window, nullptr);
}

HDC GetWindowDC(HWND window) {
    return windowDC(window, nullptr);
}

int ReleaseDC(HWND, HDC dc) {
    return DeleteDC(dc) ? 1 : 0;
}

SvSurface* svSnapshotWindow(HWND window) {
    Window* w = findWindow(window);
    if (!w || g_redirect.root)
        return nullptr;
    SvSurface* surface =
        svCreateSurface(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
    if (!surface)
        return nullptr;
    std::map<HWND, PaintState> saved;
    saveStates(window, saved);
    g_redirect = {window, surface};
    markTree(window, true, false);
    paintTree(window, true);
    g_redirect = {};
    for (const auto& [handle, state] : saved)
        if (Window* s = findWindow(handle)) {
            s->needsPaint = state.needsPaint;
            s->needsErase = state.needsErase;
            s->updateRect = state.updateRect;
        }
    return surface;
}
