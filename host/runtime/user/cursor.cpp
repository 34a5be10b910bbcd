#include "user/input.h"

#include "win/cursor_resource.h"

#include <algorithm>
#include <list>
#include <string>
#include <utility>

// A cursor or icon: a system one by its id, or one of a module's resources with its image.
struct HICON__ {
    UINT systemId = 0;
    bool shared = false;
    HINSTANCE module = nullptr;
    std::wstring name; // the resource's name, "#id" for an ordinal
    SvCursorImage image;
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

HICON sharedSystem(UINT systemId) {
    for (HICON__& icon : icons())
        if (icon.shared && !icon.module && icon.systemId == systemId)
            return &icon;
    HICON__& made = icons().emplace_back();
    made.systemId = systemId;
    made.shared = true;
    return &made;
}

std::wstring resourceName(LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    return name;
}

// A module's cursor is loaded once and shared, as the platform's LoadCursorW does.
HICON sharedResource(HINSTANCE module, LPCWSTR name) {
    const std::wstring key = resourceName(name);
    for (HICON__& icon : icons())
        if (icon.shared && icon.module == module && icon.name == key)
            return &icon;
    SvCursorImage image;
    if (svLoadCursorResource(module, name, image) != SvResStatus::Ok)
        return nullptr;
    HICON__& made = icons().emplace_back();
    made.shared = true;
    made.module = module;
    made.name = key;
    made.image = std::move(image);
    return &made;
}

bool isSystemCursor(UINT id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

HICON loadSystem(LPCWSTR name, bool (*known)(UINT)) {
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    return known(id) ? sharedSystem(id) : nullptr;
}

HCURSOR g_cursor = nullptr;
POINT g_cursorPos{0, 0};

} // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (!name)
        return nullptr;
    return instance ? sharedResource(instance, name) : loadSystem(name, isSystemCursor);
}

// Icons of modules are not decoded: only the system icons exist.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    if (instance)
        return nullptr;
    return loadSystem(name, [](UINT id) { return id >= 32512 && id <= 32516; });
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

const SvCursorImage* svCursorImage(HCURSOR cursor) {
    HICON__* found = live(cursor);
    return (found && found->image.width > 0) ? &found->image : nullptr;
}
