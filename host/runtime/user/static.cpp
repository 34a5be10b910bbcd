#include "user/control_state.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/system_classes.h"

#include <algorithm>

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"

namespace sv::user {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

DWORD styleOf(HWND control) {
    return static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
}

UINT textFormat(DWORD style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT | DT_SINGLELINE;
        break;
    default:
        format = DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_CENTERIMAGE)
        format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS;
    return format;
}

void drawBitmap(HDC dc, HBITMAP bitmap, RECT rect, DWORD style) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info))
        return;
    int x = rect.left;
    int y = rect.top;
    if (style & SS_CENTERIMAGE) {
        x += (rect.right - rect.left - info.bmWidth) / 2;
        y += (rect.bottom - rect.top - info.bmHeight) / 2;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// The system icons as a coloured tile with their sign: what a message box shows.
void drawSystemIcon(HDC dc, RECT rect, HICON icon) {
    COLORREF tile;
    COLORREF ink = RGB(255, 255, 255);
    const wchar_t* sign;
    switch (svCursorSystemId(icon)) {
    case 32513: // IDI_HAND
        tile = RGB(204, 0, 0);
        sign = L"X";
        break;
    case 32514: // IDI_QUESTION
        tile = RGB(0, 64, 192);
        sign = L"?";
        break;
    case 32515: // IDI_EXCLAMATION
        tile = RGB(255, 204, 0);
        ink = RGB(0, 0, 0);
        sign = L"!";
        break;
    case 32516: // IDI_ASTERISK
        tile = RGB(0, 64, 192);
        sign = L"i";
        break;
    default:
        return;
    }
    const int side = std::min<int>(32, std::min(rect.right - rect.left, rect.bottom - rect.top));
    RECT square{rect.left, rect.top, rect.left + side, rect.top + side};
    HBRUSH brush = CreateSolidBrush(tile);
    FillRect(dc, &square, brush);
    DeleteObject(brush);
    LOGFONTW bold{};
    bold.lfHeight = -side * 3 / 4;
    bold.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&bold);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    DrawTextW(dc, sign, 1, &square, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The filled kinds and frames, in the colours their names give.
bool drawShape(HDC dc, RECT rect, DWORD type) {
    int colour;
    bool frame;
    switch (type) {
    case SS_BLACKRECT:
    case SS_BLACKFRAME:
        colour = COLOR_WINDOWFRAME;
        frame = type == SS_BLACKFRAME;
        break;
    case SS_GRAYRECT:
    case SS_GRAYFRAME:
        colour = COLOR_BTNSHADOW;
        frame = type == SS_GRAYFRAME;
        break;
    case SS_WHITERECT:
    case SS_WHITEFRAME:
        colour = COLOR_WINDOW;
        frame = type == SS_WHITEFRAME;
        break;
    case SS_ETCHEDHORZ:
        rect.bottom = rect.top + 2;
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
        return true;
    case SS_ETCHEDVERT:
        rect.right = rect.left + 2;
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
        return true;
    case SS_ETCHEDFRAME:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        return true;
    default:
        return false;
    }
    if (frame)
        FrameRect(dc, &rect, GetSysColorBrush(colour));
    else
        FillRect(dc, &rect, GetSysColorBrush(colour));
    return true;
}

void drawStatic(HWND control, HDC dc) {
    const StaticState& state = *controlState<StaticState>(control);
    const DWORD style = styleOf(control);
    const DWORD type = style & SS_TYPEMASK;
    RECT rect = clientRect(control);
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = IsWindowEnabled(control) ? 0 : ODS_DISABLED;
        item.hwndItem = control;
        item.hDC = dc;
        item.rcItem = rect;
        SendMessageW(GetParent(control), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    if (drawShape(dc, rect, type))
        return;
    HBRUSH brush = controlBrush(control, dc, WM_CTLCOLORSTATIC);
    if (brush)
        FillRect(dc, &rect, brush);
    if (style & SS_SUNKEN)
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (type == SS_BITMAP) {
        if (state.image)
            drawBitmap(dc, static_cast<HBITMAP>(state.image), rect, style);
        return;
    }
    if (type == SS_ICON) {
        if (state.image)
            drawSystemIcon(dc, rect, static_cast<HICON>(state.image));
        return;
    }
    wchar_t text[1024];
    const int length = GetWindowTextW(control, text, 1024);
    HGDIOBJ oldFont = state.font ? SelectObject(dc, state.font) : nullptr;
    if (!IsWindowEnabled(control))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text, length, &rect, textFormat(style));
    if (oldFont)
        SelectObject(dc, oldFont);
}

LRESULT setImage(HWND control, HANDLE image) {
    StaticState& state = *controlState<StaticState>(control);
    HANDLE old = state.image;
    state.image = image;
    InvalidateRect(control, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(old);
}

} // namespace

LRESULT staticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = stateFor<StaticState>(control, message);
    if (message == WM_NCCREATE && state) {
        // A template names an icon or bitmap by its resource name in the title.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        const DWORD type = static_cast<DWORD>(create->style) & SS_TYPEMASK;
        if (type == SS_ICON && create->lpszName && *create->lpszName)
            state->image = LoadIconW(create->hInstance, create->lpszName);
    }
    if (!state)
        return DefWindowProcW(control, message, wParam, lParam);
    const bool notify = (styleOf(control) & SS_NOTIFY) != 0;
    switch (message) {
    case WM_NCDESTROY:
        destroyControlState<StaticState>(control);
        return 0;
    case WM_NCHITTEST:
        return notify ? DefWindowProcW(control, message, wParam, lParam) : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_LBUTTONDOWN:
        if (notify)
            notifyParent(control, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (notify)
            notifyParent(control, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (notify)
            notifyParent(control, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(control, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        return setControlFont(control, state->font, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case STM_SETICON:
        return setImage(control, reinterpret_cast<HANDLE>(wParam));
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(state->image);
    case STM_SETIMAGE:
        return setImage(control, reinterpret_cast<HANDLE>(lParam));
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state->image);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(control, drawStatic);
    default:
        return DefWindowProcW(control, message, wParam, lParam);
    }
}

} // namespace sv::user
