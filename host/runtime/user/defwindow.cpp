#include "user/input.h"
#include "user/paint.h"
#include "user/window_internal.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/syscolors.h"

#include <algorithm>
#include <cwchar>

using namespace sv::user;

namespace {

LRESULT copyText(const std::wstring& text, WPARAM size, LPARAM buffer) {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out || size == 0)
        return 0;
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::wmemcpy(out, text.c_str(), copied);
    out[copied] = 0;
    return static_cast<LRESULT>(copied);
}

LRESULT controlColour(WPARAM dc, int textColour, int background) {
    SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(textColour));
    SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// Messages a child leaves alone travel up to its parent (or a top-level window's owner).
HWND upward(const Window& w) {
    return isChild(w) ? w.parent : nullptr;
}

} // namespace

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName))
            w->text = create->lpszName;
        return TRUE;
    }
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    case WM_GETTEXT:
        return copyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_NCHITTEST: {
        RECT rect;
        GetWindowRect(window, &rect);
        return PtInRect(&rect, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) ? HTCLIENT : HTNOWHERE;
    }
    case WM_SETCURSOR: {
        if (HWND parent = upward(*w))
            if (SendMessageW(parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
        w = findWindow(window);
        if (w && LOWORD(lParam) == HTCLIENT && w->windowClass->info.hCursor)
            SetCursor(w->windowClass->info.hCursor);
        else if (w && !isChild(*w))
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return FALSE;
    }
    case WM_MOUSEACTIVATE:
        if (HWND parent = upward(*w))
            if (LRESULT answer = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam))
                return answer;
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !focusIsComing()) {
            HWND focus = GetFocus();
            if (focus != window && !IsChild(window, focus))
                SetFocus(window);
        }
        return 0;
    case WM_RBUTTONUP: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &point);
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_MOUSEWHEEL:
        // A control that does not scroll leaves the wheel to the window it sits in.
        if (HWND parent = upward(*w))
            return SendMessageW(parent, message, wParam, lParam);
        return 0;
    case WM_CONTEXTMENU:
    case WM_HELP:
        if (HWND parent = upward(*w))
            SendMessageW(parent, message, wParam, lParam);
        return message == WM_HELP ? TRUE : 0;
    case WM_ERASEBKGND: {
        HBRUSH brush = w->windowClass->info.hbrBackground;
        if (!brush)
            return 0;
        fillClient(window, reinterpret_cast<HDC>(wParam), brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return controlColour(wParam, COLOR_WINDOWTEXT, COLOR_WINDOW);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return controlColour(wParam, COLOR_WINDOWTEXT, COLOR_3DFACE);
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos && !(pos->flags & SWP_NOSIZE))
            SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(pos->cx, pos->cy));
        if (pos && !(pos->flags & SWP_NOMOVE))
            SendMessageW(window, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
        return 0;
    }
    case WM_PRINTCLIENT:
        return 0;
    default:
        return 0;
    }
}
