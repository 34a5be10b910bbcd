#include "user/window_internal.h"

#include "user/input.h"
#include "user/paint.h"

#include <algorithm>
#include <cwchar>

using namespace sv::user;

namespace {

std::vector<HWND>& siblingsOf(const Window& w) {
    if (isChild(w))
        if (Window* parent = findWindow(w.parent))
            return parent->children;
    return topLevelWindows();
}

void unlink(Window& w) {
    auto& list = siblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

struct Hook {
    HHOOK handle;
    HOOKPROC proc;
};

std::vector<Hook>& cbtHooks() {
    static std::vector<Hook> hooks;
    return hooks;
}

// Nonzero refuses.
LRESULT callCbtHooks(int code, WPARAM wParam, LPARAM lParam) {
    if (cbtHooks().empty())
        return 0;
    return cbtHooks().back().proc(code, wParam, lParam);
}

void sendDestroy(HWND window) {
    SendMessageW(window, WM_DESTROY, 0, 0);
    Window* w = findWindow(window);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        if (Window* c = findWindow(child)) {
            c->destroying = true;
            sendDestroy(child);
        }
}

void finalDestroy(HWND window) {
    Window* w = findWindow(window);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        finalDestroy(child);
    SendMessageW(window, WM_NCDESTROY, 0, 0);
    w = findWindow(window);
    if (!w)
        return;
    unlink(*w);
    if (!isChild(*w))
        releaseSurface(window);
    --w->windowClass->windows;
    removeWindow(window);
}

} // namespace

HHOOK SetWindowsHookExW(int kind, HOOKPROC proc, HINSTANCE, DWORD) {
    static std::uintptr_t next = 1;
    if (kind != WH_CBT || !proc)
        return nullptr;
    HHOOK handle = reinterpret_cast<HHOOK>(next++);
    cbtHooks().push_back({handle, proc});
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    auto& hooks = cbtHooks();
    auto found = std::find_if(hooks.begin(), hooks.end(),
                              [hook](const Hook& h) { return h.handle == hook; });
    if (found == hooks.end())
        return FALSE;
    hooks.erase(found);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto& hooks = cbtHooks();
    auto found = std::find_if(hooks.begin(), hooks.end(),
                              [hook](const Hook& h) { return h.handle == hook; });
    if (found == hooks.end() || found == hooks.begin())
        return 0;
    return std::prev(found)->proc(code, wParam, lParam);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    WindowClass* windowClass = findClass(className);
    if (!windowClass)
        return nullptr;
    auto w = std::make_unique<Window>();
    if (style & WS_CHILD) {
        if (!findWindow(parent))
            return nullptr;
        w->parent = parent;
        w->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (findWindow(parent)) {
        w->owner = GetAncestor(parent, GA_ROOT);
    }
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = 320;
        height = 240;
    }
    w->windowClass = windowClass;
    w->proc = windowClass->info.lpfnWndProc;
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->exStyle = exStyle;
    w->instance = instance;
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->extra.assign(static_cast<std::size_t>(windowClass->info.cbWndExtra), 0);
    ++windowClass->windows;
    const bool child = (style & WS_CHILD) != 0;
    HWND handle = addWindow(std::move(w));
    if (child)
        findWindow(parent)->children.push_back(handle);
    else
        topLevelWindows().insert(topLevelWindows().begin(), handle);

    CREATESTRUCTW create{param,
                         instance,
                         menu,
                         parent,
                         height,
                         width,
                         y,
                         x,
                         static_cast<LONG>(style),
                         windowName,
                         windowClass->name.c_str(),
                         exStyle};
    CBT_CREATEWNDW cbt{&create, HWND_TOP};
    if (callCbtHooks(HCBT_CREATEWND, reinterpret_cast<WPARAM>(handle),
                     reinterpret_cast<LPARAM>(&cbt)) != 0 ||
        !SendMessageW(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        finalDestroy(handle);
        return nullptr;
    }
    if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    SendMessageW(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    SendMessageW(handle, WM_MOVE, 0, MAKELPARAM(x, y));
    if (child && !(exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessageW(parent, WM_PARENTNOTIFY,
                     MAKEWPARAM(WM_CREATE, LOWORD(reinterpret_cast<UINT_PTR>(create.hMenu))),
                     reinterpret_cast<LPARAM>(handle));
    if (!IsWindow(handle))
        return nullptr;
    if (style & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    Window* w = findWindow(window);
    if (!w || w->destroying)
        return FALSE;
    if (callCbtHooks(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(window), 0) != 0)
        return FALSE;
    w->destroying = true;
    if (isChild(*w) && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessageW(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, LOWORD(w->id)),
                     reinterpret_cast<LPARAM>(window));
    if (IsWindowVisible(window) ||
        (!isChild(*findWindow(window)) && (findWindow(window)->style & WS_VISIBLE))) {
        w = findWindow(window);
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (isChild(*w))
            invalidateTree(w->parent, true);
        else
            notifyShown(window, false);
    }
    const std::vector<HWND> tops = topLevelWindows();
    for (HWND top : tops)
        if (Window* t = findWindow(top); t && t->owner == window)
            DestroyWindow(top);
    forgetInputWindow(window);
    sendDestroy(window);
    finalDestroy(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return findWindow(window) != nullptr;
}

BOOL IsChild(HWND parent, HWND window) {
    for (Window* w = findWindow(window); w && isChild(*w); w = findWindow(w->parent))
        if (w->parent == parent)
            return TRUE;
    return FALSE;
}

HWND GetParent(HWND window) {
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    if (isChild(*w))
        return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND window, HWND newParent) {
    Window* w = findWindow(window);
    if (!w || !isChild(*w) || !findWindow(newParent) || newParent == window ||
        IsChild(window, newParent))
        return nullptr;
    HWND old = w->parent;
    unlink(*w);
    w->parent = newParent;
    findWindow(newParent)->children.push_back(window);
    return old;
}

HWND GetWindow(HWND window, UINT relation) {
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    if (relation == GW_OWNER)
        return isChild(*w) ? nullptr : w->owner;
    if (relation == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    const auto& list = siblingsOf(*w);
    auto at = std::find(list.begin(), list.end(), window);
    switch (relation) {
    case GW_HWNDFIRST:
        return list.front();
    case GW_HWNDLAST:
        return list.back();
    case GW_HWNDNEXT:
        return (at == list.end() || std::next(at) == list.end()) ? nullptr : *std::next(at);
    case GW_HWNDPREV:
        return (at == list.begin() || at == list.end()) ? nullptr : *std::prev(at);
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND window) {
    if (!window)
        return topLevelWindows().empty() ? nullptr : topLevelWindows().front();
    return GetWindow(window, GW_CHILD);
}

HWND GetAncestor(HWND window, UINT flags) {
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return isChild(*w) ? w->parent : nullptr;
    case GA_ROOT:
        while (isChild(*w))
            w = findWindow(w->parent);
        return w->handle;
    case GA_ROOTOWNER: {
        w = findWindow(GetAncestor(window, GA_ROOT));
        while (Window* owner = findWindow(w->owner))
            w = owner;
        return w->handle;
    }
    default:
        return nullptr;
    }
}

HWND GetDesktopWindow() {
    return nullptr;
}

namespace {

bool enumTree(const std::vector<HWND>& list, WNDENUMPROC proc, LPARAM param, bool deep) {
    for (HWND child : list) {
        if (!IsWindow(child))
            continue;
        if (!proc(child, param))
            return false;
        if (deep) {
            Window* c = findWindow(child);
            if (c && !enumTree(std::vector<HWND>(c->children), proc, param, true))
                return false;
        }
    }
    return true;
}

} // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
    Window* w = findWindow(parent);
    if (!w || !proc)
        return FALSE;
    return enumTree(std::vector<HWND>(w->children), proc, param, true);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
    if (!proc)
        return FALSE;
    return enumTree(std::vector<HWND>(topLevelWindows()), proc, param, false);
}

BOOL EnableWindow(HWND window, BOOL enable) {
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(enable) == !wasDisabled)
        return wasDisabled;
    if (enable) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        w->style |= WS_DISABLED;
        HWND focus = GetFocus();
        if (focus == window || IsChild(window, focus))
            SetFocus(nullptr);
        if (GetCapture() == window)
            ReleaseCapture();
    }
    SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    InvalidateRect(window, nullptr, TRUE);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Window* w = findWindow(window);
    return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    const bool was = (w->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (was == show)
        return was ? TRUE : FALSE;
    SendMessageW(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = findWindow(window);
    if (!w)
        return was ? TRUE : FALSE;
    if (show)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (isChild(*w)) {
        if (show)
            invalidateTree(window, true);
        else
            invalidateTree(w->parent, true);
        if (!show) {
            HWND focus = GetFocus();
            if (focus == window || IsChild(window, focus))
                SetFocus(w->parent);
        }
        return was ? TRUE : FALSE;
    }
    notifyShown(window, show);
    if (show) {
        invalidateTree(window, true);
        auto& list = topLevelWindows();
        list.erase(std::remove(list.begin(), list.end(), window), list.end());
        list.insert(list.begin(), window);
        if (command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE)
            SetActiveWindow(window);
    } else if (GetActiveWindow() == window) {
        SetActiveWindow(w->owner);
    }
    return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    for (Window* w = findWindow(window); w; w = isChild(*w) ? findWindow(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE))
            return FALSE;
        if (!isChild(*w))
            return TRUE;
    }
    return FALSE;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!IsWindow(window))
        return FALSE;
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE
                                                                                            : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}
