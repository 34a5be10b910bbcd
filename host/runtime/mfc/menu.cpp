#include "mfc/menu.h"

#include "mfc/afx.h"
#include "mfc/handle_map.h"
#include "win/resources.h"

namespace {

HandleMap<HMENU, CMenu>& menuMap() {
    static auto* const map =
        new HandleMap<HMENU, CMenu>([](HMENU menu) { return IsMenu(menu) != FALSE; },
                                    [](CMenu& wrapper, HMENU menu) { wrapper.m_hMenu = menu; },
                                    [](CMenu& wrapper) { wrapper.m_hMenu = nullptr; });
    return *map;
}

} // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
    return menuMap().fromHandle(menu);
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu != nullptr || menu == nullptr)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    const HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::LoadMenu(UINT id) {
    return LoadMenu(MAKEINTRESOURCEW(id));
}

BOOL CMenu::LoadMenu(LPCWSTR name) {
    if (m_hMenu != nullptr)
        return FALSE;
    return Attach(LoadMenuW(AfxFindResourceHandle(name, RT_MENU), name));
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

int CMenu::GetMenuItemCount() const {
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int position) const {
    return ::GetMenuItemID(m_hMenu, position);
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    return ::GetMenuState(m_hMenu, item, flags);
}

UINT CMenu::EnableMenuItem(UINT item, UINT flags) {
    return ::EnableMenuItem(m_hMenu, item, flags);
}

UINT CMenu::CheckMenuItem(UINT item, UINT flags) {
    return ::CheckMenuItem(m_hMenu, item, flags);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR item, LPCWSTR text) {
    return AppendMenuW(m_hMenu, flags, item, text);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT exclude) {
    TPMPARAMS params{sizeof(TPMPARAMS), exclude != nullptr ? *exclude : RECT{0, 0, 0, 0}};
    return TrackPopupMenuEx(m_hMenu, flags, x, y, owner != nullptr ? owner->m_hWnd : nullptr,
                            exclude != nullptr ? &params : nullptr);
}
