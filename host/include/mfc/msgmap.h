#pragma once

#include "mfc/geometry.h"
#include "user/messages.h"

#pragma GCC visibility push(default)

class CWnd;
class CDC;

// A notification a parent hands back to the control that sent it arrives as this offset plus
// the original message (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR).
#define WM_REFLECT_BASE 0xBC00
// The one colour message reflected controls see, whatever WM_CTLCOLOR* the parent got.
#define WM_CTLCOLOR 0x0019
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

#define afx_msg

// A message as a message-map handler sees it; the handler sets result when it handles it.
struct AFX_MSGARGS {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

// Answers whether the entry handled the message.
using AFX_MSGHANDLER = BOOL (*)(CWnd* window, AFX_MSGARGS& args);

// Entries match on message, on the notification code (WM_COMMAND, WM_NOTIFY and their
// reflections) and on the control id range (WM_COMMAND, WM_NOTIFY).
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_MSGHANDLER handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]};                 \
    return &map;                                                                                   \
    }

#define AFX_SELF static_cast<ThisClass*>(window)

// Handlers are named as members: ON_BN_CLICKED(IDHELP, &CMyDialog::OnHelp).

// void memberFxn()
#define ON_COMMAND_RANGE_ENTRY(message, code, first, last, memberFxn)                              \
    {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(first),                \
     static_cast<UINT>(last), [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                        \
         (AFX_SELF->*(memberFxn))();                                                               \
         args.result = 0;                                                                          \
         return TRUE;                                                                              \
     }},
#define ON_COMMAND(id, memberFxn) ON_COMMAND_RANGE_ENTRY(WM_COMMAND, 0, id, id, memberFxn)
#define ON_COMMAND_RANGE(first, last, memberFxn)                                                   \
    ON_COMMAND_RANGE_ENTRY(WM_COMMAND, 0, first, last, memberFxn)
#define ON_CONTROL(code, id, memberFxn) ON_COMMAND_RANGE_ENTRY(WM_COMMAND, code, id, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
// Handled by the control class itself; the parent's own entry for the code then does not run.
#define ON_CONTROL_REFLECT(code, memberFxn)                                                        \
    ON_COMMAND_RANGE_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, memberFxn)

// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_RANGE_ENTRY(message, code, first, last, memberFxn)                               \
    {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(first),                \
     static_cast<UINT>(last), [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                        \
         args.result = 0;                                                                          \
         (AFX_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(args.lParam), &args.result);            \
         return TRUE;                                                                              \
     }},
#define ON_NOTIFY(code, id, memberFxn) ON_NOTIFY_RANGE_ENTRY(WM_NOTIFY, code, id, id, memberFxn)
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                         \
    ON_NOTIFY_RANGE_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, memberFxn)

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                             \
    {static_cast<UINT>(message), 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {            \
         args.result = (AFX_SELF->*(memberFxn))(args.wParam, args.lParam);                         \
         return TRUE;                                                                              \
     }},

// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a null brush leaves the colours to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {         \
         const auto* ctl = reinterpret_cast<const AFX_CTLCOLOR*>(args.lParam);                     \
         HBRUSH brush = AFX_SELF->CtlColor(CDC::FromHandle(ctl->hDC), ctl->nCtlType);              \
         args.result = reinterpret_cast<LRESULT>(brush);                                           \
         return brush != nullptr;                                                                  \
     }},
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
#define ON_WM_CTLCOLOR()                                                                           \
    {WM_CTLCOLOR, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                           \
         const auto* ctl = reinterpret_cast<const AFX_CTLCOLOR*>(args.lParam);                     \
         args.result = reinterpret_cast<LRESULT>(AFX_SELF->OnCtlColor(                             \
             CDC::FromHandle(ctl->hDC), CWnd::FromHandle(ctl->hWnd), ctl->nCtlType));              \
         return TRUE;                                                                              \
     }},
// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
#define ON_WM_HELPINFO()                                                                           \
    {WM_HELP, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                               \
         args.result = AFX_SELF->OnHelpInfo(reinterpret_cast<HELPINFO*>(args.lParam));             \
         return TRUE;                                                                              \
     }},
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                          \
    {WM_SETCURSOR, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                          \
         args.result =                                                                             \
             AFX_SELF->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(args.wParam)),          \
                                   LOWORD(args.lParam), HIWORD(args.lParam));                      \
         return TRUE;                                                                              \
     }},
// void OnMouseMove(UINT nFlags, CPoint point), and the same for the buttons.
#define AFX_ON_MOUSE(message, memberFxn)                                                           \
    {message, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                               \
         AFX_SELF->memberFxn(static_cast<UINT>(args.wParam),                                       \
                             CPoint(GET_X_LPARAM(args.lParam), GET_Y_LPARAM(args.lParam)));        \
         args.result = 0;                                                                          \
         return TRUE;                                                                              \
     }},
#define ON_WM_MOUSEMOVE() AFX_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_RBUTTONDOWN() AFX_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
// void OnDestroy()
#define ON_WM_DESTROY()                                                                            \
    {WM_DESTROY, 0, 0, 0, [](CWnd* window, AFX_MSGARGS& args) -> BOOL {                            \
         AFX_SELF->OnDestroy();                                                                    \
         args.result = 0;                                                                          \
         return TRUE;                                                                              \
     }},

// What a WM_CTLCOLOR handler is told.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

#pragma GCC visibility pop
