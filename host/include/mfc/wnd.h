#pragma once

#include "mfc/cstring.h"
#include "mfc/geometry.h"
#include "mfc/msgmap.h"
#include "user/msgbox.h"
#include "user/paint.h"
#include "user/window.h"

#pragma GCC visibility push(default)

class CDataExchange;
class CFont;

// A window of the class library. A CWnd is attached to its handle permanently (Attach,
// SubclassWindow, CreateEx, a dialog) or is a temporary wrapper that FromHandle makes for a
// foreign handle and that lives until that window is gone. An attached window's messages go
// through WindowProc: the message map first, reflected notifications to the controls that sent
// them, then the window procedure it had before.
class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Null for a null handle, also for a handle that names no window.
    static CWnd* FromHandle(HWND window);
    // The CWnd attached to the handle; null for none (temporary wrappers included).
    static CWnd* FromHandlePermanent(HWND window);

    // FALSE when this object already has a window, the handle is dead or another object has it.
    BOOL Attach(HWND window);
    HWND Detach();
    // Attach, then PreSubclassWindow, then this library's window procedure in place of the
    // window's own, which still gets every message the map leaves alone.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
    virtual BOOL DestroyWindow();

    CWnd* GetDlgItem(int id) const;
    void GetDlgItem(int id, HWND* window) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowText(LPWSTR buffer, int size) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCWSTR text);
    int GetDlgItemText(int id, CString& text) const;

    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Answers whether the style changed; flags are SetWindowPos flags applied afterwards.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);

    void SetFont(CFont* font, BOOL redraw = TRUE);
    // A temporary wrapper of the window's font; null when it has none.
    CFont* GetFont() const;

    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void UpdateWindow();

    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Owned by this window (its top-level window for a child).
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

    // Runs DoDataExchange; FALSE when an exchange failed (a DDX_Control whose control is missing).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL PreTranslateMessage(MSG* msg);

    // The window procedure of every attached window.
    static LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The window procedure this one replaced, else DefWindowProcW.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed on to DefWindowProc.
    LRESULT Default();

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this window sent to its parent, offered back before the parent's map: the
    // control handles it (TRUE) or the parent does.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a notification from child to the child's CWnd; TRUE when it took it.
    static BOOL SendChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* result);

    virtual void PreSubclassWindow();
    // After the last message of the window, once it is detached.
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* dx);

    afx_msg BOOL OnHelpInfo(HELPINFO* helpInfo);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT ctlColor);
    afx_msg void OnDestroy();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    WNDPROC m_pfnSuper = nullptr;

private:
    BOOL dispatchToMap(UINT message, UINT code, UINT id, AFX_MSGARGS& args);
    void afterLastMessage();

    bool m_createdHere = false; // CreateEx made the window, so the object destroys it
};

#pragma GCC visibility pop
