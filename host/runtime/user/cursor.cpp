#include "user/input.h"

#include "win/resources.h"

#include <algorithm>
#include <list>
#include <map>
#include <utility>

// A cursor or icon: a system one by its id, or one of a module's resources.
struct HICON__ {
    UINT systemId = 0;
    bool shared = false;
    const void* resource = nullptr;
};

namespace {

std::list<HICON__>& icons() {
    static std::list<HICON__> list;
    return list;
}

HICON__* live(HICON handle) {
    auto found = std::find_if(icons().begin(), icons().end(),
                              [handle](const HICON__& icon) { return &icon == handle; });
    return found == icons().end() ? nullptr : &*found;
}

HICON shared(UINT systemId, const void* resource) {
    for (HICON__& icon : icons())
        if (icon.shared && icon.systemId == systemId && icon.resource == resource)
            return &icon;
    return &icons().emplace_back(HICON__{systemId, true, resource});
}

bool isSystemCursor(UINT id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

HICON load(HINSTANCE instance, LPCWSTR name, LPCWSTR type, bool (*known)(UINT)) {
    if (!name)
        return nullptr;
    if (!instance) {
        if (!IS_INTRESOURCE(name))
            return nullptr;
        const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
        return known(id) ? shared(id, nullptr) : nullptr;
    }
    HRSRC found = FindResourceW(instance, name, type);
    if (!found)
        return nullptr;
    return shared(0, LockResource(LoadResource(instance, found)));
}

HCURSOR g_cursor = nullptr;
POINT g_cursorPos{0, 0};

} // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    return load(instance, name, RT_CURSOR, isSystemCursor);
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return load(instance, name, RT_ICON, [](UINT id) { return id >= 32512 && id <= 32516; });
}

HICON CopyIcon(HICON icon) {
    HICON__* source = live(icon);
    if (!source)
        return nullptr;
    HICON__ copy = *source;
    copy.shared = false;
    return &icons().emplace_back(copy);
}

BOOL DestroyIcon(HICON icon) {
    HICON__* found = live(icon);
    if (!found)
        return FALSE;
    if (!found->shared) {
        if (g_cursor == icon)
            g_cursor = nullptr;
        icons().remove_if([found](const HICON__& i) { return &i == found; });
    }
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    return DestroyIcon(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR old = g_cursor;
    g_cursor = live(cursor) ? cursor : nullptr;
    return old;
}

HCURSOR GetCursor() {
    return g_cursor;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    *point = g_cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    g_cursorPos = {x, y};
    return TRUE;
}

UINT svCursorSystemId(HCURSOR cursor) {
    HICON__* found = live(cursor);
    return found ? found->systemId : 0;
}
