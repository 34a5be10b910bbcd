#include "mfc/wnd.h"

#include "mfc/afx.h"
#include "mfc/app_name.h"
#include "mfc/dialog.h"
#include "mfc/gdiobj.h"
#include "mfc/window_maps.h"
#include "user/input.h"

HandleMap<HWND, CWnd>& windowMap() {
    // Never destroyed: windows may still be detached while the process ends.
    static auto* const map =
        new HandleMap<HWND, CWnd>([](HWND window) { return IsWindow(window) != FALSE; },
                                  [](CWnd& wrapper, HWND window) { wrapper.m_hWnd = window; },
                                  [](CWnd& wrapper) { wrapper.m_hWnd = nullptr; });
    return *map;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd == nullptr)
        return;
    if (m_createdHere) {
        DestroyWindow();
        return;
    }
    // A subclassed window outlives its object: it gets its own procedure back.
    if (windowMap().permanent(m_hWnd) == this)
        UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
    return windowMap().fromHandle(window);
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    return windowMap().permanent(window);
}

BOOL CWnd::Attach(HWND window) {
    if (m_hWnd != nullptr || window == nullptr || !IsWindow(window))
        return FALSE;
    if (!windowMap().add(window, this))
        return FALSE;
    m_hWnd = window;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND window = m_hWnd;
    if (window != nullptr && windowMap().permanent(window) == this)
        windowMap().remove(window);
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!Attach(window))
        return FALSE;
    PreSubclassWindow();
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    if (previous != &CWnd::AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent != nullptr && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr && IsWindow(m_hWnd))
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd != nullptr)
        return FALSE;
    const HWND window = CreateWindowExW(
        exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), param);
    if (window == nullptr || !SubclassWindow(window))
        return FALSE;
    m_createdHere = true;
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    const HWND window = m_hWnd;
    // A window that never became ours gets no WM_NCDESTROY here; let go of it now.
    if (windowMap().permanent(window) != this)
        m_hWnd = nullptr;
    return ::DestroyWindow(window);
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

void CWnd::GetDlgItem(int id, HWND* window) const {
    *window = ::GetDlgItem(m_hWnd, id);
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const {
    return FromHandle(GetAncestor(m_hWnd, GA_ROOT));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCWSTR text) {
    SetWindowTextW(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const {
    const int length = GetWindowTextLengthW(m_hWnd);
    GetWindowTextW(m_hWnd, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetWindowText(LPWSTR buffer, int size) const {
    return GetWindowTextW(m_hWnd, buffer, size);
}

int CWnd::GetWindowTextLength() const {
    return GetWindowTextLengthW(m_hWnd);
}

void CWnd::SetDlgItemText(int id, LPCWSTR text) {
    SetDlgItemTextW(m_hWnd, id, text);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    const HWND item = ::GetDlgItem(m_hWnd, id);
    if (item == nullptr)
        return 0;
    const int length = GetWindowTextLengthW(item);
    GetWindowTextW(item, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
    return text.GetLength();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int command) {
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL modifyLong(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
    const auto old = static_cast<DWORD>(GetWindowLongW(window, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return FALSE;
    SetWindowLongW(window, index, static_cast<LONG>(changed));
    if (flags != 0)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return modifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return modifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(LPPOINT point) const {
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ClientToScreen(LPPOINT point) const {
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter != nullptr ? insertAfter->m_hWnd : nullptr, x, y, cx,
                          cy, flags);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font->m_hObject : nullptr),
                redraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    ::InvalidateRect(m_hWnd, rect, erase);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, void* region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    const CString appName = afxAppName();
    return MessageBoxW(m_hWnd, text, caption != nullptr ? caption : appName.GetString(), type);
}
