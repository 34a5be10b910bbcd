#include "dib.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace sv::comctl {
namespace {

constexpr std::uint32_t kRgb = 0;       // BI_RGB
constexpr std::uint32_t kBitFields = 3; // BI_BITFIELDS
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 32767;

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// A channel of a bit-field pixel scaled to eight bits.
BYTE channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t value = (pixel & mask) >> shift;
    const std::uint32_t top = (1u << bits) - 1;
    return static_cast<BYTE>(bits >= 8 ? value >> (bits - 8) : value * 255 / top);
}

} // namespace

std::optional<DecodedBitmap> decodeDib(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size < kInfoHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = readU32(bytes);
    if (headerSize < kInfoHeaderSize || headerSize > size) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(readU32(bytes + 4));
    const auto rawHeight = static_cast<std::int32_t>(readU32(bytes + 8));
    const std::uint16_t planes = readU16(bytes + 12);
    const std::uint16_t bitCount = readU16(bytes + 14);
    const std::uint32_t compression = readU32(bytes + 16);
    const std::uint32_t coloursUsed = readU32(bytes + 32);
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (planes != 1 || width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) {
        return std::nullopt;
    }
    const bool paletted = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (!paletted && bitCount != 24 && bitCount != 32) {
        return std::nullopt;
    }
    if (compression != kRgb && !(compression == kBitFields && bitCount == 32)) {
        return std::nullopt;
    }

    std::size_t offset = headerSize;
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (compression == kBitFields) {
        // A plain info header is followed by the masks; the later headers hold them inside.
        const std::uint8_t* at = headerSize == kInfoHeaderSize ? bytes + offset : bytes + 40;
        if (headerSize == kInfoHeaderSize) {
            if (size - offset < 12) {
                return std::nullopt;
            }
            offset += 12;
        } else if (headerSize < 52) {
            return std::nullopt;
        }
        for (int i = 0; i < 3; ++i) {
            masks[i] = readU32(at + 4 * i);
        }
    }

    std::vector<COLORREF> palette;
    if (paletted) {
        const std::uint32_t most = 1u << bitCount;
        const std::uint32_t entries = coloursUsed == 0 ? most : coloursUsed;
        if (entries > most || (size - offset) / 4 < entries) {
            return std::nullopt;
        }
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint8_t* quad = bytes + offset + 4 * i;
            palette.push_back(RGB(quad[2], quad[1], quad[0]));
        }
        offset += 4 * static_cast<std::size_t>(entries);
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    const auto rows = static_cast<std::size_t>(height);
    if ((size - offset) / stride < rows) {
        return std::nullopt;
    }

    DecodedBitmap bitmap;
    bitmap.width = width;
    bitmap.height = static_cast<int>(height);
    bitmap.pixels.resize(static_cast<std::size_t>(width) * rows);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::uint8_t* line = bytes + offset + stride * (topDown ? row : rows - 1 - row);
        COLORREF* out = bitmap.pixels.data() + row * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            if (paletted) {
                const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                const unsigned index =
                    (line[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                // An index past a short palette reads as black rather than past the table.
                out[x] = index < palette.size() ? palette[index] : RGB(0, 0, 0);
            } else if (bitCount == 24) {
                const std::uint8_t* p = line + 3 * static_cast<std::size_t>(x);
                out[x] = RGB(p[2], p[1], p[0]);
            } else {
                const std::uint32_t p = readU32(line + 4 * static_cast<std::size_t>(x));
                out[x] = RGB(channel(p, masks[0]), channel(p, masks[1]), channel(p, masks[2]));
            }
        }
    }
    return bitmap;
}

} // namespace sv::comctl
