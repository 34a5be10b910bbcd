#include "control_support.h"

#include <algorithm>
#include <cwchar>

#include "comctl/notify.h"
#include "gdi/dc.h"
#include "gdi/objects.h"
#include "gdi/text.h"
#include "user/dialog.h"
#include "user/paint.h"

namespace sv::comctl {

LRESULT notifyParent(HWND control, UINT code, NMHDR* header) {
    const int id = GetDlgCtrlID(control);
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(id);
    header->code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr) {
        return 0;
    }
    return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id),
                        reinterpret_cast<LPARAM>(header));
}

std::wstring readText(LPCWSTR text) {
    // The callback marker ((LPWSTR)-1) asks for text on demand; it is never to be read.
    if (text == nullptr || text == reinterpret_cast<LPCWSTR>(-1)) {
        return {};
    }
    return std::wstring(text, wcsnlen(text, kMaxItemText));
}

int copyText(const std::wstring& text, LPWSTR buffer, int size) {
    if (buffer == nullptr || size < 1) {
        return 0;
    }
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}

SIZE measureText(HWND window, HFONT font, const std::wstring& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ previous = SelectObject(dc, controlFont(font));
    if (!GetTextExtentPoint32W(dc, text.empty() ? L" " : text.c_str(),
                               text.empty() ? 1 : static_cast<int>(text.size()), &size)) {
        size = SIZE{0, 0};
    }
    if (text.empty()) {
        size.cx = 0;
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return size;
}

bool answerCommonMessage(HWND control, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(control, nullptr, FALSE);
        }
        return true;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(font);
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        InvalidateRect(control, nullptr, FALSE);
        NMHDR header{};
        notifyParent(control, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &header);
        return true;
    }
    default:
        return false;
    }
}

void offerContextMenu(HWND control, POINT client) {
    ClientToScreen(control, &client);
    SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(client.x, client.y));
}

HFONT controlFont(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace sv::comctl
