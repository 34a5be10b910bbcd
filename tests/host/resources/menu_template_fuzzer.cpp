#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "win/menu_template.h"

// Whatever the bytes, the reader answers a status; a menu it accepts nests within the limit and
// closes every level it opens.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint16_t> aligned(size / 2 + 1);
    std::memcpy(aligned.data(), data, size);
    SvResMenu menu;
    if (svParseMenuTemplate(aligned.data(), size, menu) != SvResStatus::Ok) {
        if (!menu.items.empty())
            __builtin_trap();
        return 0;
    }
    UINT depth = 0;
    for (const SvResMenuItem& item : menu.items) {
        if (item.depth > SV_MENU_MAX_DEPTH || item.depth > depth + 1)
            __builtin_trap();
        depth = item.depth;
    }
    return 0;
}
