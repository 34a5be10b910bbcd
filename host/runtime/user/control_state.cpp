#include "user/control_state.h"

#include "user/dialog.h"

namespace sv::user {

void notifyParent(HWND control, UINT code) {
    HWND parent = GetParent(control);
    if (!parent)
        return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

HBRUSH controlBrush(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    const auto lParam = reinterpret_cast<LPARAM>(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, message, wParam, lParam));
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcW(parent ? parent : control, message, wParam, lParam));
    return brush;
}

RECT clientRect(HWND control) {
    RECT rect{};
    GetClientRect(control, &rect);
    return rect;
}

} // namespace sv::user

namespace sv::user {

LRESULT paintControl(HWND control, void (*paint)(HWND, HDC)) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    if (dc)
        paint(control, dc);
    EndPaint(control, &ps);
    return 0;
}

LRESULT setControlFont(HWND control, HFONT& font, WPARAM wParam, LPARAM lParam) {
    font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam))
        InvalidateRect(control, nullptr, TRUE);
    return 0;
}

} // namespace sv::user
