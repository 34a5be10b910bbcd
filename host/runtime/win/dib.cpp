#include "win/dib.h"

#include <bit>
#include <cstdint>

#include "win/resource_reader.h"

namespace {

constexpr DWORD BI_RGB = 0, BI_BITFIELDS = 3;

struct InfoHeader {
    DWORD size = 0;
    LONG width = 0;
    LONG height = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD compression = 0;
    DWORD sizeImage = 0;
    LONG xPelsPerMeter = 0;
    LONG yPelsPerMeter = 0;
    DWORD clrUsed = 0;
    DWORD clrImportant = 0;
};

// A colour channel of a BI_BITFIELDS pixel, widened to 8 bits.
class Channel {
public:
    explicit Channel(DWORD mask) : m_mask(mask) {
        if (mask != 0) {
            m_shift = std::countr_zero(mask);
            m_bits = std::popcount(mask);
        }
    }
    BYTE of(DWORD pixel) const {
        if (m_bits == 0)
            return 0;
        const DWORD value = (pixel & m_mask) >> m_shift;
        return static_cast<BYTE>(m_bits >= 8 ? value >> (m_bits - 8) : value * 255 / top());
    }
    bool contiguous() const { return m_mask == 0 || (m_mask >> m_shift) == top(); }

private:
    std::uint64_t top() const { return (std::uint64_t{1} << m_bits) - 1; }

    DWORD m_mask = 0;
    int m_shift = 0;
    int m_bits = 0;
};

std::size_t rowBytes(LONG width, WORD bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

DWORD pixelAt(const BYTE* row, LONG x, WORD bitCount) {
    const auto at = static_cast<std::size_t>(x);
    switch (bitCount) {
    case 1:
        return (row[at / 8] >> (7 - at % 8)) & 1;
    case 4:
        return (row[at / 2] >> (at % 2 == 0 ? 4 : 0)) & 0xF;
    case 8:
        return row[at];
    case 16:
        return row[2 * at] | (DWORD{row[2 * at + 1]} << 8);
    case 24:
        return row[3 * at] | (DWORD{row[3 * at + 1]} << 8) | (DWORD{row[3 * at + 2]} << 16);
    default:
        return row[4 * at] | (DWORD{row[4 * at + 1]} << 8) | (DWORD{row[4 * at + 2]} << 16) |
               (DWORD{row[4 * at + 3]} << 24);
    }
}

SvResStatus checkHeader(const InfoHeader& h, bool withMask) {
    if (h.size != 40 && h.size != 108 && h.size != 124)
        return SvResStatus::BadHeader;
    if (h.planes != 1 || h.width <= 0 || h.height == 0 || h.height == INT32_MIN)
        return SvResStatus::BadValue;
    if (withMask && (h.height < 0 || h.height % 2 != 0))
        return SvResStatus::BadValue;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (h.compression != BI_RGB)
            return SvResStatus::Unsupported;
        break;
    case 16:
    case 32:
        if (h.compression != BI_RGB && h.compression != BI_BITFIELDS)
            return SvResStatus::Unsupported;
        break;
    default:
        return SvResStatus::BadValue;
    }
    if (h.bitCount <= 8 && h.clrUsed > (DWORD{1} << h.bitCount))
        return SvResStatus::TooManyItems;
    return SvResStatus::Ok;
}

SvResStatus decode(const void* data, std::size_t size, std::vector<BYTE>* mask, SvBitmap& bitmap) {
    SvResourceReader in(data, size);
    InfoHeader h;
    if (!(in.read(h.size) && in.read(h.width) && in.read(h.height) && in.read(h.planes) &&
          in.read(h.bitCount) && in.read(h.compression) && in.read(h.sizeImage) &&
          in.read(h.xPelsPerMeter) && in.read(h.yPelsPerMeter) && in.read(h.clrUsed) &&
          in.read(h.clrImportant)))
        return SvResStatus::Truncated;
    if (const SvResStatus s = checkHeader(h, mask != nullptr); s != SvResStatus::Ok)
        return s;
    const bool topDown = h.height < 0;
    const LONG height = mask != nullptr ? h.height / 2 : (topDown ? -h.height : h.height);
    if (h.width > SV_BITMAP_MAX_SIDE || height > SV_BITMAP_MAX_SIDE ||
        static_cast<std::size_t>(h.width) * static_cast<std::size_t>(height) > SV_BITMAP_MAX_PIXELS)
        return SvResStatus::Oversized;

    // Bit fields follow a plain info header; the later headers hold them at the same place.
    DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (h.bitCount == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (h.compression == BI_BITFIELDS &&
        !(in.read(masks[0]) && in.read(masks[1]) && in.read(masks[2])))
        return SvResStatus::Truncated;
    if (!in.skip(h.size - 40 - (h.compression == BI_BITFIELDS && h.size > 40 ? 12 : 0)))
        return SvResStatus::Truncated;
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    if (!red.contiguous() || !green.contiguous() || !blue.contiguous())
        return SvResStatus::BadValue;

    const DWORD colours =
        h.bitCount <= 8 ? (h.clrUsed != 0 ? h.clrUsed : DWORD{1} << h.bitCount) : h.clrUsed;
    if (static_cast<std::size_t>(colours) * 4 > in.remaining())
        return SvResStatus::Truncated;
    std::vector<DWORD> palette(colours);
    for (DWORD& entry : palette)
        in.read(entry);

    const std::size_t stride = rowBytes(h.width, h.bitCount);
    const std::size_t maskStride = rowBytes(h.width, 1);
    const auto rows = static_cast<std::size_t>(height);
    if (stride * rows > in.remaining() ||
        (mask != nullptr && maskStride * rows > in.remaining() - stride * rows))
        return SvResStatus::Truncated;

    const BYTE* colourRows = in.here();
    const auto width = static_cast<std::size_t>(h.width);
    bitmap.pixels.assign(width * rows * 4, 0);
    bool anyAlpha = false;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t stored = topDown ? y : rows - 1 - y;
        const BYTE* row = colourRows + stored * stride;
        BYTE* out = bitmap.pixels.data() + y * width * 4;
        for (std::size_t x = 0; x < width; ++x, out += 4) {
            const DWORD value = pixelAt(row, static_cast<LONG>(x), h.bitCount);
            DWORD bgra = 0;
            if (h.bitCount <= 8) {
                // An index past the table paints black, as the platform does.
                bgra = value < palette.size() ? palette[value] & 0xFFFFFF : 0;
            } else if (h.bitCount == 24 || (h.bitCount == 32 && h.compression == BI_RGB)) {
                bgra = value;
            } else {
                bgra =
                    blue.of(value) | (DWORD{green.of(value)} << 8) | (DWORD{red.of(value)} << 16);
            }
            out[0] = static_cast<BYTE>(bgra);
            out[1] = static_cast<BYTE>(bgra >> 8);
            out[2] = static_cast<BYTE>(bgra >> 16);
            out[3] =
                h.bitCount == 32 && h.compression == BI_RGB ? static_cast<BYTE>(bgra >> 24) : 0;
            anyAlpha = anyAlpha || out[3] != 0;
        }
    }
    // Reserved bytes left at zero mean opaque pixels, not transparent ones.
    if (!anyAlpha) {
        for (std::size_t i = 3; i < bitmap.pixels.size(); i += 4)
            bitmap.pixels[i] = 0xFF;
    }
    if (mask != nullptr) {
        const BYTE* maskRows = colourRows + stride * rows;
        mask->assign(width * rows, 0);
        for (std::size_t y = 0; y < rows; ++y) {
            const BYTE* row = maskRows + (rows - 1 - y) * maskStride;
            for (std::size_t x = 0; x < width; ++x)
                (*mask)[y * width + x] = static_cast<BYTE>(pixelAt(row, static_cast<LONG>(x), 1));
        }
    }
    bitmap.width = h.width;
    bitmap.height = height;
    bitmap.bitCount = h.bitCount;
    if (h.bitCount <= 8)
        bitmap.palette = std::move(palette);
    bitmap.alpha = anyAlpha;
    return SvResStatus::Ok;
}

} // namespace

SvResStatus svDecodeDib(const void* data, std::size_t size, std::vector<BYTE>* mask,
                        SvBitmap& bitmap) {
    return decode(data, size, mask, bitmap);
}

SvResStatus svDecodeBitmapResource(const void* data, std::size_t size, SvBitmap& bitmap) {
    return svReadWhole(data, size, bitmap, [](const void* d, std::size_t n, SvBitmap& b) {
        return decode(d, n, nullptr, b);
    });
}
