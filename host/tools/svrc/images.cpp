// Image files as the platform keeps them among a module's resources, checked with the decoders
// the host reads them with, so a damaged file fails the build where the script names it.
#include <cstring>

#include "preprocessor.h"
#include "rc.h"
#include "win/bitmap_resource.h"
#include "win/cursor_resource.h"

namespace svrc {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kDirectoryEntry = 16;

std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(k)];
    return value;
}

void putWord(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

[[noreturn]] void unusable(const Location& where, const std::string& file, const char* kind,
                           SvResStatus status) {
    throw Error(where,
                file + " is not a usable " + kind + ": " + svToUtf8(svResStatusText(status)));
}

} // namespace

std::vector<std::uint8_t> bitmapResource(const std::vector<std::uint8_t>& file,
                                         const std::string& name, const Location& where) {
    if (file.size() < kFileHeader || file[0] != 'B' || file[1] != 'M')
        throw Error(where, name + " is not a bitmap file");
    std::vector<std::uint8_t> dib(file.begin() + kFileHeader, file.end());
    SvBitmap decoded;
    if (const SvResStatus s = svDecodeBitmapResource(dib.data(), dib.size(), decoded);
        s != SvResStatus::Ok)
        unusable(where, name, "bitmap", s);
    return dib;
}

CursorResources cursorResources(const std::vector<std::uint8_t>& file, const std::string& name,
                                const Location& where, std::uint32_t firstId) {
    if (file.size() < 6 || littleEndian(file, 0, 2) != 0 || littleEndian(file, 2, 2) != 2)
        throw Error(where, name + " is not a cursor file");
    const std::uint32_t count = littleEndian(file, 4, 2);
    if (count == 0 || file.size() < 6 + count * kDirectoryEntry)
        unusable(where, name, "cursor",
                 count == 0 ? SvResStatus::BadValue : SvResStatus::Truncated);
    if (firstId + count - 1 > 0xFFFF)
        throw Error(where, "too many cursor images in the script");
    CursorResources out;
    putWord(out.group, 0);
    putWord(out.group, 2);
    putWord(out.group, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * kDirectoryEntry;
        const std::uint32_t bytes = littleEndian(file, entry + 8, 4);
        const std::uint32_t offset = littleEndian(file, entry + 12, 4);
        if (offset > file.size() || bytes > file.size() - offset)
            unusable(where, name, "cursor", SvResStatus::Truncated);
        // The image resource: the hotspot from the directory, then the DIB.
        std::vector<std::uint8_t> image;
        putWord(image, littleEndian(file, entry + 4, 2));
        putWord(image, littleEndian(file, entry + 6, 2));
        image.insert(image.end(), file.begin() + offset, file.begin() + offset + bytes);
        SvCursorImage decoded;
        if (const SvResStatus s = svDecodeCursorResource(image.data(), image.size(), decoded);
            s != SvResStatus::Ok)
            unusable(where, name, "cursor", s);
        const std::uint16_t id = static_cast<std::uint16_t>(firstId + i);
        // The group's entry gives the size from the image, its height counting the mask too.
        putWord(out.group, static_cast<std::uint32_t>(decoded.width));
        putWord(out.group, static_cast<std::uint32_t>(decoded.height * 2));
        putWord(out.group, 1);
        putWord(out.group, littleEndian(image, 4 + 14, 2));
        putWord(out.group, static_cast<std::uint32_t>(image.size()));
        putWord(out.group, static_cast<std::uint32_t>(image.size()) >> 16);
        putWord(out.group, id);
        out.images.push_back(std::move(image));
    }
    return out;
}

} // namespace svrc
