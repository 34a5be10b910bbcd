#include "win/menu_template.h"

#include "win/resource_reader.h"

namespace {

// Options a standard template may carry; MF_OWNERDRAW (0x100) and MF_BITMAP need run-time data
// a template cannot hold, so they mark it damaged.
constexpr WORD kTemplateOptions = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP |
                                  MF_MENUBARBREAK | MF_MENUBREAK | MF_END | MF_SEPARATOR | MF_HELP;

// One level: items up to the one carrying MF_END; a popup's level follows it at once.
SvResStatus readLevel(SvResourceReader& in, UINT depth, std::vector<SvResMenuItem>& items) {
    if (depth > SV_MENU_MAX_DEPTH)
        return SvResStatus::TooDeep;
    for (;;) {
        WORD option = 0;
        if (!in.read(option))
            return SvResStatus::Truncated;
        if ((option & ~kTemplateOptions) != 0)
            return SvResStatus::BadValue;
        SvResMenuItem item;
        item.flags = option;
        item.depth = depth;
        const bool popup = (option & MF_POPUP) != 0;
        WORD id = 0;
        if (!popup && !in.read(id))
            return SvResStatus::Truncated;
        item.id = id;
        if (const SvResStatus s = in.text(item.text); s != SvResStatus::Ok)
            return s;
        // The compiler writes MENUITEM SEPARATOR as an item with no text and no command.
        if (!popup && id == 0 && item.text.empty())
            item.flags |= MF_SEPARATOR;
        items.push_back(std::move(item));
        if (popup) {
            if (const SvResStatus s = readLevel(in, depth + 1, items); s != SvResStatus::Ok)
                return s;
        }
        if ((option & MF_END) != 0)
            return SvResStatus::Ok;
    }
}

SvResStatus parse(const void* data, std::size_t size, SvResMenu& menu) {
    if (const SvResStatus s = svCheckStart(data, 2); s != SvResStatus::Ok)
        return s;
    SvResourceReader in(data, size);
    WORD version = 0, offset = 0;
    if (!in.read(version) || !in.read(offset))
        return SvResStatus::Truncated;
    if (version == 1)
        return SvResStatus::Unsupported; // MENUEX
    if (version != 0)
        return SvResStatus::BadHeader;
    if (!in.skip(offset))
        return SvResStatus::Truncated;
    return readLevel(in, 0, menu.items);
}

} // namespace

SvResStatus svParseMenuTemplate(const void* data, std::size_t size, SvResMenu& menu) {
    return svReadWhole(data, size, menu, parse);
}
