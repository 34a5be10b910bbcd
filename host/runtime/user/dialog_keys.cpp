#include "user/controls.h"
#include "user/dialog_internal.h"
#include "user/input.h"
#include "user/metrics.h"

using namespace sv::user;

namespace {

void clickCommand(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(0);
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Enter: a focused push button is pressed itself; otherwise the default button, or IDOK.
void pressEnter(HWND dialog, HWND focus, LRESULT code) {
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        clickCommand(dialog, GetDlgCtrlID(focus));
        return;
    }
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    clickCommand(dialog, HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK);
}

void sendHelp(HWND dialog, HWND focus) {
    HWND about = focus ? focus : dialog;
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = about == dialog ? 0 : GetDlgCtrlID(about);
    info.hItemHandle = about;
    GetCursorPos(&info.MousePos);
    SendMessageW(about, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

bool moveInGroup(HWND dialog, HWND focus, bool previous) {
    HWND next = GetNextDlgGroupItem(dialog, focus, previous ? TRUE : FALSE);
    if (!next || next == focus)
        return true;
    setDialogFocus(dialog, next);
    // Arrows choose among radio buttons as they move.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        SendMessageW(next, BM_CLICK, 0, 0);
    return true;
}

bool handleKey(HWND dialog, const MSG& msg) {
    HWND focus = GetFocus();
    if (!IsChild(dialog, focus))
        focus = nullptr;
    const LRESULT code =
        focus ? SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
    if (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS))
        return false;
    switch (msg.wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS || !focus)
            return false;
        return moveInGroup(dialog, focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
    case VK_RETURN:
        pressEnter(dialog, focus, code);
        return true;
    case VK_ESCAPE:
        clickCommand(dialog, IDCANCEL);
        return true;
    case VK_F1:
        sendHelp(dialog, focus);
        return true;
    default:
        return false;
    }
}

// The characters of keys the dialog took are eaten as well.
bool eatsCharacter(HWND dialog, const MSG& msg) {
    const wchar_t ch = static_cast<wchar_t>(msg.wParam);
    if (ch != L'\t' && ch != L'\r' && ch != 0x1B)
        return false;
    HWND focus = GetFocus();
    const LRESULT code = IsChild(dialog, focus) ? SendMessageW(focus, WM_GETDLGCODE, msg.wParam,
                                                               reinterpret_cast<LPARAM>(&msg))
                                                : 0;
    if (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS | DLGC_WANTCHARS))
        return ch == L'\t' && !(code & (DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_WANTALLKEYS));
    return true;
}

} // namespace

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!msg || !dialogData(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
        return FALSE;
    if (msg->message == WM_KEYDOWN && handleKey(dialog, *msg))
        return TRUE;
    if (msg->message == WM_CHAR && eatsCharacter(dialog, *msg))
        return TRUE;
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}
