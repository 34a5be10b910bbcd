// The readers of win/ over a module's resources: find, then read the bytes as a caller's.
#include <cstdlib>

#include "win/bitmap_resource.h"
#include "win/cursor_resource.h"
#include "win/dialog_template.h"
#include "win/menu_template.h"
#include "win/resources.h"

namespace {

bool resourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, const void*& data,
                   std::size_t& size) {
    HRSRC resource = FindResourceW(module, name, type);
    if (resource == nullptr)
        return false;
    data = LockResource(LoadResource(module, resource));
    size = SizeofResource(module, resource);
    return true;
}

template <typename Parsed, typename Read>
SvResStatus load(HMODULE module, LPCWSTR name, LPCWSTR type, Parsed& parsed, Read read) {
    const void* data = nullptr;
    std::size_t size = 0;
    if (!resourceBytes(module, name, type, data, size)) {
        parsed = Parsed{};
        return SvResStatus::NotFound;
    }
    return read(data, size, parsed);
}

} // namespace

SvResStatus svLoadDialog(HMODULE module, LPCWSTR name, SvResDialog& dialog) {
    return load(module, name, RT_DIALOG, dialog, svParseDialogTemplate);
}

SvResStatus svLoadMenu(HMODULE module, LPCWSTR name, SvResMenu& menu) {
    return load(module, name, RT_MENU, menu, svParseMenuTemplate);
}

SvResStatus svLoadBitmapResource(HMODULE module, LPCWSTR name, SvBitmap& bitmap) {
    return load(module, name, RT_BITMAP, bitmap, svDecodeBitmapResource);
}

SvResStatus svLoadCursorResource(HMODULE module, LPCWSTR name, SvCursorImage& cursor) {
    std::vector<SvCursorGroupEntry> entries;
    const SvResStatus group = load(module, name, RT_GROUP_CURSOR, entries, svParseCursorGroup);
    if (group != SvResStatus::Ok) {
        cursor = SvCursorImage{};
        return group;
    }
    const SvCursorGroupEntry* best = &entries.front();
    for (const SvCursorGroupEntry& e : entries) {
        const int distance = std::abs(e.width - 32), bestDistance = std::abs(best->width - 32);
        if (distance < bestDistance || (distance == bestDistance && e.bitCount > best->bitCount))
            best = &e;
    }
    return load(module, MAKEINTRESOURCEW(best->id), RT_CURSOR, cursor, svDecodeCursorResource);
}
