#include "user/input.h"
#include "user/window_internal.h"

using namespace sv::user;

namespace {

HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;
// The window SetFocus is about to give the focus to while it activates its top-level window.
HWND g_focusComing = nullptr;

bool inTree(HWND root, HWND window) {
    return window && (window == root || IsChild(root, window));
}

} // namespace

HWND SetFocus(HWND window) {
    const HWND old = IsWindow(g_focus) ? g_focus : nullptr;
    if (window) {
        Window* w = findWindow(window);
        if (!w || (w->style & WS_DISABLED) || w->destroying)
            return nullptr;
        if (window == old)
            return old;
        const HWND top = GetAncestor(window, GA_ROOT);
        if (top != g_active) {
            g_focusComing = window;
            SetActiveWindow(top);
            g_focusComing = nullptr;
            if (!IsWindow(window))
                return nullptr;
        }
    }
    const HWND previous = IsWindow(g_focus) ? g_focus : nullptr;
    if (previous == window)
        return old;
    g_focus = window;
    if (previous)
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && g_focus == window)
        SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return old;
}

HWND GetFocus() {
    return IsWindow(g_focus) ? g_focus : nullptr;
}

HWND GetActiveWindow() {
    return IsWindow(g_active) ? g_active : nullptr;
}

HWND SetActiveWindow(HWND window) {
    const HWND old = GetActiveWindow();
    if (window) {
        window = GetAncestor(window, GA_ROOT);
        if (!window)
            return nullptr;
    }
    if (window == old)
        return old;
    if (inTree(old, GetFocus()))
        SetFocus(nullptr);
    g_active = window;
    if (old)
        SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    if (window && g_active == window)
        SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    return old;
}

HWND SetCapture(HWND window) {
    const HWND old = GetCapture();
    if (!IsWindow(window))
        return old;
    g_capture = window;
    if (old && old != window)
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return old;
}

BOOL ReleaseCapture() {
    const HWND old = GetCapture();
    g_capture = nullptr;
    if (old)
        SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return IsWindow(g_capture) ? g_capture : nullptr;
}

namespace sv::user {

bool focusIsComing() {
    return IsWindow(g_focusComing);
}

void forgetInputWindow(HWND window) {
    if (inTree(window, GetCapture()))
        ReleaseCapture();
    if (inTree(window, GetFocus())) {
        Window* w = findWindow(window);
        // A child's focus falls back to its parent; a top-level window's goes with it.
        if (w && isChild(*w) && !findWindow(w->parent)->destroying)
            SetFocus(w->parent);
        else
            g_focus = nullptr;
    }
    if (window == GetActiveWindow()) {
        Window* w = findWindow(window);
        g_active = nullptr;
        HWND owner = w ? w->owner : nullptr;
        if (IsWindow(owner) && IsWindowVisible(owner))
            SetActiveWindow(owner);
    }
}

} // namespace sv::user
