#include "user/handle_table.h"
#include "user/menu_internal.h"

#include <algorithm>
#include <cwchar>

using namespace sv::user;

namespace {

HandleTable<Menu, HMENU>& menus() {
    static HandleTable<Menu, HMENU> table;
    return table;
}

HMENU newMenu() {
    return menus().add(std::make_unique<Menu>());
}

constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// The item named by command (searching submenus, depth first) or by position.
MenuItem* findItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr, int depth = 0) {
    Menu* m = findMenu(menu);
    if (!m || depth > SV_MENU_MAX_DEPTH)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return nullptr;
        if (owner)
            *owner = menu;
        return &m->items[item];
    }
    for (MenuItem& entry : m->items) {
        if (!(entry.flags & MF_POPUP) && !(entry.flags & MF_SEPARATOR) && entry.id == item) {
            if (owner)
                *owner = menu;
            return &entry;
        }
        if (entry.flags & MF_POPUP)
            if (MenuItem* found = findItem(entry.submenu, item, flags, owner, depth + 1))
                return found;
    }
    return nullptr;
}

MenuItem makeItem(UINT flags, UINT_PTR item, LPCWSTR text) {
    MenuItem made;
    made.flags = flags & (kStateFlags | MF_POPUP | MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP |
                          MF_MENUBREAK | MF_MENUBARBREAK);
    if (flags & MF_POPUP)
        made.submenu = reinterpret_cast<HMENU>(item);
    else
        made.id = static_cast<UINT>(item);
    if (text && !(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)))
        made.text = text;
    return made;
}

// Builds one level of a parsed template from index on; answers null for damaged nesting.
HMENU buildLevel(const SvResMenu& parsed, std::size_t& index, UINT depth) {
    HMENU menu = newMenu();
    while (index < parsed.items.size() && parsed.items[index].depth == depth) {
        const SvResMenuItem& item = parsed.items[index++];
        MenuItem made;
        made.flags = item.flags & ~static_cast<UINT>(MF_END);
        made.text = item.text;
        made.id = item.id;
        if (item.flags & MF_POPUP) {
            made.submenu = buildLevel(parsed, index, depth + 1);
            if (!made.submenu) {
                DestroyMenu(menu);
                return nullptr;
            }
        }
        findMenu(menu)->items.push_back(std::move(made));
        if (item.flags & MF_END)
            break;
    }
    return menu;
}

} // namespace

namespace sv::user {

Menu* findMenu(HMENU menu) {
    return menus().find(menu);
}

} // namespace sv::user

namespace {

HMENU buildMenu(const SvResMenu& parsed) {
    std::size_t index = 0;
    HMENU menu = buildLevel(parsed, index, 0);
    if (menu && index != parsed.items.size()) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

} // namespace

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    SvResMenu parsed;
    if (svLoadMenu(instance, name, parsed) != SvResStatus::Ok)
        return nullptr;
    return buildMenu(parsed);
}

HMENU LoadMenuIndirectW(const void* menuTemplate) {
    // A template in memory comes without its size; the reader stops at its last item.
    constexpr std::size_t kLargestTemplate = 0x10000;
    SvResMenu parsed;
    if (!menuTemplate ||
        svParseMenuTemplate(menuTemplate, kLargestTemplate, parsed) != SvResStatus::Ok)
        return nullptr;
    return buildMenu(parsed);
}

HMENU CreateMenu() {
    return newMenu();
}

HMENU CreatePopupMenu() {
    return newMenu();
}

BOOL DestroyMenu(HMENU menu) {
    Menu* m = findMenu(menu);
    if (!m)
        return FALSE;
    const std::vector<MenuItem> items = std::move(m->items);
    menus().remove(menu);
    for (const MenuItem& item : items)
        if (item.flags & MF_POPUP)
            DestroyMenu(item.submenu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return findMenu(menu) ? TRUE : FALSE;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    Menu* m = findMenu(menu);
    if (!m || ((flags & MF_POPUP) &&
               (!findMenu(reinterpret_cast<HMENU>(item)) || reinterpret_cast<HMENU>(item) == menu)))
        return FALSE;
    MenuItem made = makeItem(flags, item, text);
    if (flags & MF_BYPOSITION) {
        const std::size_t at = std::min<std::size_t>(position, m->items.size());
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(made));
        return TRUE;
    }
    HMENU owner = nullptr;
    MenuItem* before = findItem(menu, position, flags, &owner);
    if (!before) {
        m->items.push_back(std::move(made));
        return TRUE;
    }
    Menu* o = findMenu(owner);
    const auto at = o->items.begin() + (before - o->items.data());
    o->items.insert(at, std::move(made));
    return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
    Menu* m = findMenu(menu);
    if (!m)
        return FALSE;
    return InsertMenuW(menu, static_cast<UINT>(m->items.size()), flags | MF_BYPOSITION, item, text);
}

namespace {

BOOL takeOut(HMENU menu, UINT position, UINT flags, bool destroy) {
    HMENU owner = nullptr;
    MenuItem* item = findItem(menu, position, flags, &owner);
    if (!item)
        return FALSE;
    Menu* o = findMenu(owner);
    const HMENU submenu = (item->flags & MF_POPUP) ? item->submenu : nullptr;
    o->items.erase(o->items.begin() + (item - o->items.data()));
    if (destroy && submenu)
        DestroyMenu(submenu);
    return TRUE;
}

} // namespace

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return takeOut(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return takeOut(menu, position, flags, true);
}

HMENU GetSubMenu(HMENU menu, int position) {
    Menu* m = findMenu(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
        return nullptr;
    const MenuItem& item = m->items[static_cast<std::size_t>(position)];
    return (item.flags & MF_POPUP) ? item.submenu : nullptr;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = findMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Menu* m = findMenu(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
        return static_cast<UINT>(-1);
    const MenuItem& item = m->items[static_cast<std::size_t>(position)];
    return (item.flags & MF_POPUP) ? static_cast<UINT>(-1) : item.id;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = findItem(menu, item, flags);
    if (!found)
        return static_cast<UINT>(-1);
    const UINT previous = found->flags & (MF_GRAYED | MF_DISABLED);
    found->flags = (found->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) |
                   (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = findItem(menu, item, flags);
    if (!found)
        return static_cast<DWORD>(-1);
    const DWORD previous = found->flags & MF_CHECKED;
    found->flags = (found->flags & ~static_cast<UINT>(MF_CHECKED)) | (flags & MF_CHECKED);
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = findItem(menu, item, flags);
    if (!found)
        return static_cast<UINT>(-1);
    if (found->flags & MF_POPUP)
        return (static_cast<UINT>(GetMenuItemCount(found->submenu)) << 8) | (found->flags & 0xFF);
    return found->flags;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags) {
    MenuItem* found = findItem(menu, item, flags);
    if (!found)
        return 0;
    const int length = static_cast<int>(found->text.size());
    if (!buffer || size <= 0)
        return length;
    const int copied = std::min(length, size - 1);
    std::wmemcpy(buffer, found->text.c_str(), static_cast<std::size_t>(copied));
    buffer[copied] = 0;
    return copied;
}
