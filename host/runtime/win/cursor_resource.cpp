#include "win/cursor_resource.h"

#include "win/dib.h"
#include "win/resource_reader.h"

namespace {

constexpr WORD kCursorType = 2;
constexpr std::size_t kEntrySize = 14;

SvResStatus readGroup(const void* data, std::size_t size,
                      std::vector<SvCursorGroupEntry>& entries) {
    SvResourceReader in(data, size);
    WORD reserved = 0, type = 0, count = 0;
    if (!(in.read(reserved) && in.read(type) && in.read(count)))
        return SvResStatus::Truncated;
    if (reserved != 0 || type != kCursorType)
        return SvResStatus::BadHeader;
    if (count == 0)
        return SvResStatus::BadValue;
    if (in.remaining() / kEntrySize < count)
        return SvResStatus::TooManyItems;
    entries.resize(count);
    for (SvCursorGroupEntry& e : entries) {
        WORD doubledHeight = 0;
        in.read(e.width);
        in.read(doubledHeight);
        in.read(e.planes);
        in.read(e.bitCount);
        in.read(e.bytesInRes);
        in.read(e.id);
        e.height = static_cast<WORD>(doubledHeight / 2);
    }
    return SvResStatus::Ok;
}

SvResStatus readCursor(const void* data, std::size_t size, SvCursorImage& cursor) {
    SvResourceReader in(data, size);
    if (!(in.read(cursor.hotspotX) && in.read(cursor.hotspotY)))
        return SvResStatus::Truncated;
    SvBitmap image;
    if (const SvResStatus s = svDecodeDib(in.here(), in.remaining(), &cursor.mask, image);
        s != SvResStatus::Ok)
        return s;
    if (cursor.hotspotX >= image.width || cursor.hotspotY >= image.height)
        return SvResStatus::BadValue;
    cursor.width = image.width;
    cursor.height = image.height;
    cursor.pixels = std::move(image.pixels);
    // Where the mask keeps the screen a black pixel lets it show through; with an alpha channel
    // of its own the image says so itself.
    for (std::size_t i = 0; i < cursor.mask.size(); ++i) {
        BYTE* pixel = &cursor.pixels[4 * i];
        if (!image.alpha && cursor.mask[i] != 0 && (pixel[0] | pixel[1] | pixel[2]) == 0)
            pixel[3] = 0;
    }
    return SvResStatus::Ok;
}

} // namespace

SvResStatus svParseCursorGroup(const void* data, std::size_t size,
                               std::vector<SvCursorGroupEntry>& entries) {
    return svReadWhole(data, size, entries, readGroup);
}

SvResStatus svDecodeCursorResource(const void* data, std::size_t size, SvCursorImage& cursor) {
    return svReadWhole(data, size, cursor, readCursor);
}
