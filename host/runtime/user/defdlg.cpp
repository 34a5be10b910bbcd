#include "user/controls.h"
#include "user/dialog_internal.h"
#include "user/input.h"
#include "user/window_internal.h"

#include "gdi/draw.h"
#include "user/metrics.h"

#include <algorithm>

using namespace sv::user;

namespace {

// The dialog procedure's own answer is the result for these; for the rest it only says
// whether the message was handled, and the result is in DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

bool isPushButton(HWND control) {
    const LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void setDefaultId(HWND dialog, DialogData& data, int id) {
    const int old = data.defaultId;
    data.defaultId = id;
    if (old != id)
        if (HWND previous = GetDlgItem(dialog, old); previous && isPushButton(previous))
            SendMessageW(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (HWND button = GetDlgItem(dialog, id); button && isPushButton(button))
        SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void restoreFocus(HWND dialog, DialogData& data) {
    HWND focus = GetFocus();
    if ((focus && IsChild(dialog, focus)) || focusIsComing())
        return;
    HWND target = data.savedFocus;
    if (!IsChild(dialog, target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
        target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target)
        setDialogFocus(dialog, target);
}

LRESULT defaultDialogHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogData* data = dialogData(dialog);
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_ERASEBKGND: {
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
        if (!brush)
            return 0;
        fillClient(dialog, reinterpret_cast<HDC>(wParam), brush);
        return 1;
    }
    case WM_SETFONT:
        if (data)
            data->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return data ? reinterpret_cast<LRESULT>(data->font) : 0;
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return 0;
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_NEXTDLGCTL: {
        HWND target = LOWORD(lParam)
                          ? reinterpret_cast<HWND>(wParam)
                          : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (IsChild(dialog, target))
            setDialogFocus(dialog, target);
        return 0;
    }
    case DM_GETDEFID:
        return (data && data->defaultId) ? MAKELRESULT(data->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (data)
            setDefaultId(dialog, *data, static_cast<int>(wParam));
        return TRUE;
    case WM_ACTIVATE:
        if (!data)
            return 0;
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (IsChild(dialog, focus))
                data->savedFocus = focus;
        } else {
            restoreFocus(dialog, *data);
        }
        return 0;
    case WM_SETFOCUS:
        if (data)
            restoreFocus(dialog, *data);
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam && data && IsChild(dialog, GetFocus()))
            data->savedFocus = GetFocus();
        return DefWindowProcW(dialog, message, wParam, lParam);
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

// The dialog's controls in tab order (z-order), each with the first control of its group.
std::vector<HWND> controlsOf(HWND dialog) {
    Window* w = findWindow(dialog);
    return w ? w->children : std::vector<HWND>{};
}

bool canTakeFocus(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

} // namespace

namespace sv::user {

void setDialogFocus(HWND dialog, HWND control) {
    if (!IsChild(dialog, control))
        return;
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

} // namespace sv::user

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(dialog))
        return 0;
    if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (!IsWindow(dialog))
            return handled;
        if (handled)
            return answersDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
        if (message == WM_INITDIALOG)
            return FALSE;
    }
    return defaultDialogHandling(dialog, message, wParam, lParam);
}

HWND GetDlgItem(HWND dialog, int id) {
    for (HWND control : controlsOf(dialog))
        if (static_cast<int>(GetWindowLongPtrW(control, GWLP_ID)) == id)
            return control;
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    Window* w = findWindow(window);
    return (w && isChild(*w)) ? static_cast<int>(w->id) : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetDlgItem(dialog, id), message, wParam, lParam);
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (buffer && size > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::wstring text =
        isSigned ? std::to_wstring(static_cast<int>(value)) : std::to_wstring(value);
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    wchar_t text[32];
    GetDlgItemTextW(dialog, id, text, 32);
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(text, &end, 10);
    const bool ok = end != text && *end == 0 && (isSigned || value >= 0) &&
                    value >= (isSigned ? INT32_MIN : 0) &&
                    value <= (isSigned ? INT32_MAX : static_cast<long long>(UINT32_MAX));
    if (translated)
        *translated = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(value) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return FALSE;
    SendMessageW(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls = controlsOf(dialog);
    if (previous)
        std::reverse(controls.begin(), controls.end());
    const auto at = std::find(controls.begin(), controls.end(), control);
    const std::size_t count = controls.size();
    const std::size_t start =
        at == controls.end() ? count - 1 : static_cast<std::size_t>(at - controls.begin());
    for (std::size_t step = 1; step <= count; ++step) {
        HWND candidate = controls[(start + step) % count];
        if (canTakeFocus(candidate) && (GetWindowLongW(candidate, GWL_STYLE) & WS_TABSTOP))
            return candidate;
    }
    return at == controls.end() ? nullptr : control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    const std::vector<HWND> controls = controlsOf(dialog);
    const auto at = std::find(controls.begin(), controls.end(), control);
    if (at == controls.end())
        return GetNextDlgTabItem(dialog, nullptr, FALSE);
    // The group runs from a control with WS_GROUP up to the next one.
    auto groupStart = at;
    while (groupStart != controls.begin() && !(GetWindowLongW(*groupStart, GWL_STYLE) & WS_GROUP))
        --groupStart;
    auto groupEnd = std::next(at);
    while (groupEnd != controls.end() && !(GetWindowLongW(*groupEnd, GWL_STYLE) & WS_GROUP))
        ++groupEnd;
    std::vector<HWND> group(groupStart, groupEnd);
    if (previous)
        std::reverse(group.begin(), group.end());
    const auto here = std::find(group.begin(), group.end(), control);
    const std::size_t start = static_cast<std::size_t>(here - group.begin());
    for (std::size_t step = 1; step <= group.size(); ++step) {
        HWND candidate = group[(start + step) % group.size()];
        if (canTakeFocus(candidate))
            return candidate;
    }
    return control;
}
