#include "user/control_state.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/system_classes.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"

namespace sv::user {
namespace {

struct ButtonState {
    HFONT font = nullptr;
    UINT state = BST_UNCHECKED; // check bits, BST_PUSHED, BST_FOCUS
    HANDLE image = nullptr;
    bool tracking = false; // the mouse pressed it and holds the capture
};

ButtonState& stateOf(HWND button) {
    return *controlState<ButtonState>(button);
}

UINT typeOf(HWND button) {
    return static_cast<UINT>(GetWindowLongW(button, GWL_STYLE)) & BS_TYPEMASK;
}

bool isPush(UINT type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW ||
           type == BS_USERBUTTON || type == BS_PUSHBOX;
}

bool isCheck(UINT type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE;
}

bool isRadio(UINT type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void drawOwner(HWND button, HDC dc, UINT action) {
    const ButtonState& state = stateOf(button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    item.itemAction = action;
    if (state.state & BST_PUSHED)
        item.itemState |= ODS_SELECTED;
    if (state.state & BST_FOCUS)
        item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(button))
        item.itemState |= ODS_DISABLED;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = clientRect(button);
    SendMessageW(GetParent(button), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void drawText(HWND button, HDC dc, RECT rect, UINT format) {
    wchar_t text[512];
    const int length = GetWindowTextW(button, text, 512);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(button) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, text, length, &rect, format);
}

void drawButton(HWND button, HDC dc, UINT action) {
    const UINT type = typeOf(button);
    if (type == BS_OWNERDRAW) {
        drawOwner(button, dc, action);
        return;
    }
    const ButtonState& state = stateOf(button);
    HGDIOBJ oldFont = state.font ? SelectObject(dc, state.font) : nullptr;
    RECT rect = clientRect(button);
    if (isPush(type)) {
        controlBrush(button, dc, WM_CTLCOLORBTN);
        if (type == BS_DEFPUSHBUTTON) {
            FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&rect, -1, -1);
        }
        DrawFrameControl(dc, &rect, DFC_BUTTON,
                         DFCS_BUTTONPUSH | ((state.state & BST_PUSHED) ? DFCS_PUSHED : 0));
        drawText(button, dc, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (state.state & BST_FOCUS) {
            InflateRect(&rect, -3, -3);
            DrawFocusRect(dc, &rect);
        }
    } else if (type == BS_GROUPBOX) {
        FillRect(dc, &rect, controlBrush(button, dc, WM_CTLCOLORSTATIC));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT frame = rect;
        frame.top += metrics.tmHeight / 2;
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        RECT label{rect.left + 8, rect.top, rect.right - 8, rect.top + metrics.tmHeight};
        drawText(button, dc, label, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        FillRect(dc, &label, controlBrush(button, dc, WM_CTLCOLORSTATIC));
        drawText(button, dc, label, DT_LEFT | DT_SINGLELINE);
    } else {
        FillRect(dc, &rect, controlBrush(button, dc, WM_CTLCOLORSTATIC));
        const int box = 13;
        const int top = (rect.bottom - rect.top - box) / 2;
        RECT mark{rect.left, top, rect.left + box, top + box};
        UINT kind = isRadio(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (state.state & BST_CHECKED)
            kind |= DFCS_CHECKED;
        if (state.state & BST_PUSHED)
            kind |= DFCS_PUSHED;
        if (!IsWindowEnabled(button))
            kind |= DFCS_INACTIVE;
        DrawFrameControl(dc, &mark, DFC_BUTTON, kind);
        RECT label{rect.left + box + 4, rect.top, rect.right, rect.bottom};
        drawText(button, dc, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (state.state & BST_FOCUS) {
            drawText(button, dc, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
            const int height = label.bottom - label.top;
            label.top = (rect.bottom - rect.top - height) / 2 - 1;
            label.bottom = label.top + height + 2;
            label.left -= 1;
            label.right += 1;
            DrawFocusRect(dc, &label);
        }
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

void redraw(HWND button, UINT action) {
    paintNow(button, [action](HWND b, HDC dc) { drawButton(b, dc, action); });
}

void setPushed(HWND button, bool pushed) {
    ButtonState& state = stateOf(button);
    if (((state.state & BST_PUSHED) != 0) == pushed)
        return;
    state.state = pushed ? (state.state | BST_PUSHED) : (state.state & ~BST_PUSHED);
    if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY)
        notifyParent(button, pushed ? BN_HILITE : BN_UNHILITE);
    redraw(button, ODA_SELECT);
}

void setCheck(HWND button, UINT check) {
    ButtonState& state = stateOf(button);
    const UINT type = typeOf(button);
    if (!isCheck(type) && !isRadio(type))
        return;
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
        check = BST_CHECKED;
    state.state = (state.state & ~3u) | (check & 3u);
    redraw(button, ODA_SELECT);
}

// The other automatic radio buttons of the group are cleared.
void checkRadio(HWND button) {
    HWND dialog = GetParent(button);
    for (HWND other = GetNextDlgGroupItem(dialog, button, FALSE); other && other != button;) {
        if ((static_cast<UINT>(GetWindowLongW(other, GWL_STYLE)) & BS_TYPEMASK) ==
            BS_AUTORADIOBUTTON)
            SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
        HWND next = GetNextDlgGroupItem(dialog, other, FALSE);
        if (next == other)
            break;
        other = next;
    }
    setCheck(button, BST_CHECKED);
}

void click(HWND button) {
    const UINT type = typeOf(button);
    const UINT checked = stateOf(button).state & 3u;
    if (type == BS_AUTOCHECKBOX)
        setCheck(button, checked ? BST_UNCHECKED : BST_CHECKED);
    else if (type == BS_AUTO3STATE)
        setCheck(button, (checked + 1) % 3);
    else if (type == BS_AUTORADIOBUTTON)
        checkRadio(button);
    notifyParent(button, BN_CLICKED);
}

LRESULT dialogCode(HWND button) {
    switch (typeOf(button)) {
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW:
    case BS_USERBUTTON:
    case BS_PUSHBOX:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

bool inside(HWND button, LPARAM lParam) {
    const RECT rect = clientRect(button);
    return PtInRect(&rect, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

} // namespace

LRESULT buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* found = stateFor<ButtonState>(button, message);
    if (!found)
        return DefWindowProcW(button, message, wParam, lParam);
    ButtonState& state = *found;
    const UINT type = typeOf(button);
    switch (message) {
    case WM_NCDESTROY:
        destroyControlState<ButtonState>(button);
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(button);
    case WM_NCHITTEST:
        if (type == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcW(button, message, wParam, lParam);
    case WM_SETFONT:
        return setControlFont(button, state.font, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state.font);
    case WM_LBUTTONDBLCLK:
        if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY && isPush(type))
            notifyParent(button, BN_DOUBLECLICKED);
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (type == BS_GROUPBOX)
            return 0;
        if (GetFocus() != button)
            SetFocus(button);
        if (!IsWindow(button))
            return 0;
        SetCapture(button);
        state.tracking = true;
        setPushed(button, true);
        return 0;
    case WM_MOUSEMOVE:
        if (state.tracking)
            setPushed(button, inside(button, lParam));
        return 0;
    case WM_LBUTTONUP: {
        if (!state.tracking)
            return 0;
        state.tracking = false;
        const bool pressed = (state.state & BST_PUSHED) && inside(button, lParam);
        setPushed(button, false);
        ReleaseCapture();
        if (pressed && IsWindow(button))
            click(button);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state.tracking) {
            state.tracking = false;
            setPushed(button, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX)
            setPushed(button, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (state.state & BST_PUSHED)) {
            setPushed(button, false);
            click(button);
        }
        return 0;
    case WM_SETFOCUS:
        state.state |= BST_FOCUS;
        redraw(button, ODA_FOCUS);
        if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY)
            notifyParent(button, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        state.state &= ~static_cast<UINT>(BST_FOCUS);
        if (state.tracking && GetCapture() == button)
            ReleaseCapture();
        if (!IsWindow(button))
            return 0;
        setPushed(button, false);
        redraw(button, ODA_FOCUS);
        if (GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY)
            notifyParent(button, BN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        redraw(button, ODA_DRAWENTIRE);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(button, message, wParam, lParam);
        redraw(button, ODA_DRAWENTIRE);
        return result;
    }
    case BM_GETCHECK:
        return state.state & 3u;
    case BM_SETCHECK:
        setCheck(button, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE:
        return state.state;
    case BM_SETSTATE:
        setPushed(button, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        const auto style = static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE));
        SetWindowLongW(button, GWL_STYLE,
                       static_cast<LONG>((style & ~static_cast<DWORD>(BS_TYPEMASK)) |
                                         (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
        if (LOWORD(lParam))
            redraw(button, ODA_DRAWENTIRE);
        return 0;
    }
    case BM_CLICK:
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(button, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_SETIMAGE: {
        HANDLE old = state.image;
        state.image = reinterpret_cast<HANDLE>(lParam);
        InvalidateRect(button, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state.image);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(button, [](HWND b, HDC dc) { drawButton(b, dc, ODA_DRAWENTIRE); });
    default:
        return DefWindowProcW(button, message, wParam, lParam);
    }
}

} // namespace sv::user
