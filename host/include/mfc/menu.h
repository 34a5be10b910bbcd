#pragma once

#include "mfc/wnd.h"
#include "user/menu.h"

#pragma GCC visibility push(default)

// A menu. The object destroys what it holds unless it was detached; GetSubMenu and FromHandle
// answer temporary wrappers that never destroy and live until the menu is gone.
class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU menu);
    BOOL Attach(HMENU menu);
    HMENU Detach();

    // From the resource chain (AfxFindResourceHandle with RT_MENU); FALSE when missing or this
    // object already holds a menu.
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(LPCWSTR name);
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();

    CMenu* GetSubMenu(int position) const;
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT item, UINT flags) const;
    UINT EnableMenuItem(UINT item, UINT flags);
    UINT CheckMenuItem(UINT item, UINT flags);
    BOOL AppendMenu(UINT flags, UINT_PTR item = 0, LPCWSTR text = nullptr);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT exclude = nullptr);

    HMENU m_hMenu = nullptr;
};

#pragma GCC visibility pop
