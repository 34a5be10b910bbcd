#include <cstddef>
#include <cstdint>
#include <vector>

#include "win/bitmap_resource.h"
#include "win/cursor_resource.h"

// The same bytes as a bitmap, a cursor image and a cursor group: each decoder answers a status,
// and what it accepts has exactly the pixels its size says.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SvBitmap bitmap;
    if (svDecodeBitmapResource(data, size, bitmap) == SvResStatus::Ok &&
        bitmap.pixels.size() != static_cast<std::size_t>(bitmap.width) * bitmap.height * 4)
        __builtin_trap();
    SvCursorImage cursor;
    if (svDecodeCursorResource(data, size, cursor) == SvResStatus::Ok &&
        (cursor.mask.size() * 4 != cursor.pixels.size() || cursor.hotspotX >= cursor.width))
        __builtin_trap();
    std::vector<SvCursorGroupEntry> entries;
    svParseCursorGroup(data, size, entries);
    return 0;
}
