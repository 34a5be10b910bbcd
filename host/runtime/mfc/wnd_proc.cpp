#include <vector>

#include "mfc/current_message.h"
#include "mfc/dc.h"
#include "mfc/dialog.h"
#include "mfc/window_maps.h"
#include "mfc/wnd.h"

namespace {

std::vector<CurrentMessage>& messageStack() {
    thread_local std::vector<CurrentMessage> stack;
    return stack;
}

bool isColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool matches(const AFX_MSGMAP_ENTRY& entry, UINT message, UINT code, UINT id) {
    return entry.nMessage == message && entry.nCode == code && entry.nID <= id &&
           id <= entry.nLastID;
}

} // namespace

CurrentMessageScope::CurrentMessageScope(CWnd* window, UINT message, WPARAM wParam, LPARAM lParam) {
    messageStack().push_back({window, message, wParam, lParam});
}

CurrentMessageScope::~CurrentMessageScope() {
    messageStack().pop_back();
}

const CurrentMessage* currentMessage() {
    return messageStack().empty() ? nullptr : &messageStack().back();
}

LRESULT CWnd::AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* const wnd = windowMap().permanent(window);
    if (wnd == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result;
    {
        CurrentMessageScope scope(wnd, message, wParam, lParam);
        result = wnd->WindowProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && windowMap().permanent(window) == wnd)
        wnd->afterLastMessage();
    return result;
}

void CWnd::afterLastMessage() {
    m_pfnSuper = nullptr;
    m_createdHere = false;
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const CurrentMessage* current = currentMessage();
    if (current == nullptr)
        return 0;
    return DefWindowProc(current->message, current->wParam, current->lParam);
}

BOOL CWnd::dispatchToMap(UINT message, UINT code, UINT id, AFX_MSGARGS& args) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->handler != nullptr; ++entry) {
            if (matches(*entry, message, code, id))
                return entry->handler(this, args);
        }
    }
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    AFX_MSGARGS args{message, wParam, lParam, 0};
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result);
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item != nullptr && item->CtlType != ODT_MENU &&
            SendChildNotify(item->hwndItem, message, wParam, lParam, result))
            return TRUE;
    }
    if (isColorMessage(message)) {
        const auto child = reinterpret_cast<HWND>(lParam);
        if (SendChildNotify(child, message, wParam, lParam, result))
            return TRUE;
        AFX_CTLCOLOR color{child, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        args.lParam = reinterpret_cast<LPARAM>(&color);
        if (!dispatchToMap(WM_CTLCOLOR, 0, 0, args))
            return FALSE;
        *result = args.result;
        return TRUE;
    }
    if (!dispatchToMap(message, 0, 0, args))
        return FALSE;
    *result = args.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto control = reinterpret_cast<HWND>(lParam);
    LRESULT ignored = 0;
    if (control != nullptr && SendChildNotify(control, WM_COMMAND, wParam, lParam, &ignored))
        return TRUE;
    AFX_MSGARGS args{WM_COMMAND, wParam, lParam, 0};
    return dispatchToMap(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), args);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr)
        return FALSE;
    if (SendChildNotify(header->hwndFrom, WM_NOTIFY, wParam, lParam, result))
        return TRUE;
    AFX_MSGARGS args{WM_NOTIFY, wParam, lParam, 0};
    if (!dispatchToMap(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), args))
        return FALSE;
    *result = args.result;
    return TRUE;
}

BOOL CWnd::SendChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) {
    CWnd* const control = child != nullptr ? windowMap().permanent(child) : nullptr;
    return control != nullptr && control->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    AFX_MSGARGS args{WM_REFLECT_BASE + message, wParam, lParam, 0};
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = dispatchToMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, args);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        handled = dispatchToMap(WM_REFLECT_BASE + WM_NOTIFY, header->code, 0, args);
    } else if (isColorMessage(message)) {
        AFX_CTLCOLOR color{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        args.message = WM_REFLECT_BASE + WM_CTLCOLOR;
        args.lParam = reinterpret_cast<LPARAM>(&color);
        handled = dispatchToMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, args);
    } else {
        handled = dispatchToMap(WM_REFLECT_BASE + message, 0, 0, args);
    }
    if (handled && result != nullptr)
        *result = args.result;
    return handled;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::OnHelpInfo(HELPINFO*) {
    return static_cast<BOOL>(Default());
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}

void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDestroy() {
    Default();
}
