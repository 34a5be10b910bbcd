#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "win/bitmap_resource.h"
#include "win/cursor_resource.h"

namespace {

constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_BITFIELDS = 3;

struct Dib {
    LONG width = 1;
    LONG height = 1;
    WORD bitCount = 24;
    DWORD compression = BI_RGB;
    DWORD clrUsed = 0;
    WORD planes = 1;
    std::vector<DWORD> extra; // bit fields, then the colour table
    std::vector<BYTE> rows;   // as stored, padded to DWORDs

    std::vector<BYTE> bytes() const {
        std::vector<BYTE> out(40);
        auto at = [&](std::size_t offset, auto value) {
            std::memcpy(out.data() + offset, &value, sizeof value);
        };
        at(0, DWORD{40});
        at(4, width);
        at(8, height);
        at(12, planes);
        at(14, bitCount);
        at(16, compression);
        at(32, clrUsed);
        for (DWORD v : extra) {
            out.resize(out.size() + 4);
            std::memcpy(out.data() + out.size() - 4, &v, 4);
        }
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

// A header without rows, for faults found before the rows are read.
Dib header(LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB, DWORD clrUsed = 0,
           WORD planes = 1) {
    return Dib{width, height, bitCount, compression, clrUsed, planes, {}, {}};
}

SvResStatus decode(const Dib& dib, SvBitmap& bitmap) {
    const std::vector<BYTE> bytes = dib.bytes();
    return svDecodeBitmapResource(bytes.data(), bytes.size(), bitmap);
}

// B, G, R, A of pixel (x, y), counted from the top.
std::vector<BYTE> pixel(const SvBitmap& bitmap, int x, int y) {
    const auto at = static_cast<std::size_t>((y * bitmap.width + x) * 4);
    return {bitmap.pixels.begin() + at, bitmap.pixels.begin() + at + 4};
}

using Bgra = std::vector<BYTE>;

TEST(BitmapDecoder, PalettedRowsComeTopDownThroughTheirColourTable) {
    // 1 bit: 9 pixels a row pad to 4 bytes; the bottom row is stored first.
    Dib mono{9, 2, 1, BI_RGB, 0, 1, {0x000000, 0xFFFFFF}, {0x80, 0x00, 0, 0, 0x00, 0x80, 0, 0}};
    SvBitmap bitmap;
    ASSERT_EQ(decode(mono, bitmap), SvResStatus::Ok);
    EXPECT_EQ(bitmap.height, 2);
    EXPECT_EQ(bitmap.palette.size(), 2u);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{0, 0, 0, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 8, 0), (Bgra{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 0, 1), (Bgra{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 8, 1), (Bgra{0, 0, 0, 0xFF}));

    // 4 bits, a short table: an index past it paints black.
    Dib nibbles{3, 1, 4, BI_RGB, 2, 1, {0x112233, 0x445566}, {0x10, 0x50, 0, 0}};
    ASSERT_EQ(decode(nibbles, bitmap), SvResStatus::Ok);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{0x66, 0x55, 0x44, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 1, 0), (Bgra{0x33, 0x22, 0x11, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 2, 0), (Bgra{0, 0, 0, 0xFF}));

    Dib bytes{2, 1, 8, BI_RGB, 0, 1, std::vector<DWORD>(256, 0), {7, 255, 0, 0}};
    bytes.extra[7] = 0x00FF00;
    ASSERT_EQ(decode(bytes, bitmap), SvResStatus::Ok);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{0, 0xFF, 0, 0xFF}));
}

TEST(BitmapDecoder, TrueColourKeepsTopDownOrderAndAlphaOnlyWhenGiven) {
    Dib topDown{1, -2, 24, BI_RGB, 0, 1, {}, {1, 2, 3, 0, 4, 5, 6, 0}};
    SvBitmap bitmap;
    ASSERT_EQ(decode(topDown, bitmap), SvResStatus::Ok);
    EXPECT_EQ(bitmap.height, 2);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{1, 2, 3, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 0, 1), (Bgra{4, 5, 6, 0xFF}));

    // All-zero reserved bytes mean opaque; any other value is alpha.
    Dib opaque{2, 1, 32, BI_RGB, 0, 1, {}, {1, 2, 3, 0, 4, 5, 6, 0}};
    ASSERT_EQ(decode(opaque, bitmap), SvResStatus::Ok);
    EXPECT_FALSE(bitmap.alpha);
    EXPECT_EQ(pixel(bitmap, 1, 0), (Bgra{4, 5, 6, 0xFF}));
    Dib translucent{2, 1, 32, BI_RGB, 0, 1, {}, {1, 2, 3, 0x80, 4, 5, 6, 0}};
    ASSERT_EQ(decode(translucent, bitmap), SvResStatus::Ok);
    EXPECT_TRUE(bitmap.alpha);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{1, 2, 3, 0x80}));
    EXPECT_EQ(pixel(bitmap, 1, 0), (Bgra{4, 5, 6, 0}));
}

TEST(BitmapDecoder, SixteenBitPixelsWidenFromTheirFields) {
    // 5-5-5 by default: pure red, then the brightest blue.
    Dib rgb555{2, 1, 16, BI_RGB, 0, 1, {}, {0x00, 0x7C, 0x1F, 0x00}};
    SvBitmap bitmap;
    ASSERT_EQ(decode(rgb555, bitmap), SvResStatus::Ok);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(pixel(bitmap, 1, 0), (Bgra{0xFF, 0, 0, 0xFF}));
    Dib rgb565{1, 1, 16, BI_BITFIELDS, 0, 1, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0, 0}};
    ASSERT_EQ(decode(rgb565, bitmap), SvResStatus::Ok);
    EXPECT_EQ(pixel(bitmap, 0, 0), (Bgra{0, 0xFF, 0, 0xFF}));
}

TEST(BitmapDecoder, DamagedOrUnsupportedDataIsNamed) {
    SvBitmap bitmap;
    Dib good = header(2, 2, 24);
    good.rows.assign(16, 9);
    ASSERT_EQ(decode(good, bitmap), SvResStatus::Ok);
    const std::vector<BYTE> bytes = good.bytes();
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_EQ(svDecodeBitmapResource(bytes.data(), cut, bitmap), SvResStatus::Truncated);
        EXPECT_TRUE(bitmap.pixels.empty());
    }
    struct Case {
        Dib dib;
        SvResStatus status;
    };
    const Case cases[] = {
        {header(0, 1, 24), SvResStatus::BadValue},
        {header(1, 0, 24), SvResStatus::BadValue},
        {header(1, 1, 24, BI_RGB, 0, 0), SvResStatus::BadValue}, // no planes
        {header(1, 1, 7), SvResStatus::BadValue},
        {header(1, 1, 8, BI_RLE8), SvResStatus::Unsupported},
        {header(1, 1, 24, BI_BITFIELDS), SvResStatus::Unsupported},
        {header(1, 1, 8, BI_RGB, 300), SvResStatus::TooManyItems},
        {header(1, 1, 24, BI_RGB, 0x40000000), SvResStatus::Truncated}, // a table the data lacks
        {header(SV_BITMAP_MAX_SIDE + 1, 1, 24), SvResStatus::Oversized},
        {header(8192, -8192, 32), SvResStatus::Oversized},
        {{1, 1, 16, BI_BITFIELDS, 0, 1, {0xF0F0, 0, 0}, {0, 0, 0, 0}}, SvResStatus::BadValue},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.dib, bitmap), c.status)
            << c.dib.width << "x" << c.dib.height << "x" << c.dib.bitCount;
    std::vector<BYTE> core = good.bytes();
    core[0] = 12; // the old core header
    EXPECT_EQ(svDecodeBitmapResource(core.data(), core.size(), bitmap), SvResStatus::BadHeader);
}

std::vector<BYTE> cursorImage(WORD hotX, WORD hotY, LONG doubledHeight) {
    Dib dib{2, doubledHeight, 1, BI_RGB, 0, 1, {0, 0xFFFFFF}, std::vector<BYTE>(16, 0)};
    std::vector<BYTE> out(4);
    std::memcpy(out.data(), &hotX, 2);
    std::memcpy(out.data() + 2, &hotY, 2);
    const std::vector<BYTE> bytes = dib.bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

TEST(CursorDecoder, HotspotAndMaskRowsAreChecked) {
    SvCursorImage cursor;
    std::vector<BYTE> good = cursorImage(1, 1, 4);
    ASSERT_EQ(svDecodeCursorResource(good.data(), good.size(), cursor), SvResStatus::Ok);
    EXPECT_EQ(cursor.height, 2);
    EXPECT_EQ(cursor.mask.size(), 4u);
    std::vector<BYTE> outside = cursorImage(2, 0, 4);
    EXPECT_EQ(svDecodeCursorResource(outside.data(), outside.size(), cursor),
              SvResStatus::BadValue);
    std::vector<BYTE> odd = cursorImage(0, 0, 3);
    EXPECT_EQ(svDecodeCursorResource(odd.data(), odd.size(), cursor), SvResStatus::BadValue);
    EXPECT_EQ(svDecodeCursorResource(good.data(), good.size() - 1, cursor), SvResStatus::Truncated);
    EXPECT_TRUE(cursor.pixels.empty() && cursor.mask.empty());
}

TEST(CursorDecoder, GroupDirectoryFaults) {
    std::vector<SvCursorGroupEntry> entries;
    const WORD icons[] = {0, 1, 1};
    EXPECT_EQ(svParseCursorGroup(icons, sizeof icons, entries), SvResStatus::BadHeader);
    const WORD empty[] = {0, 2, 0};
    EXPECT_EQ(svParseCursorGroup(empty, sizeof empty, entries), SvResStatus::BadValue);
    const WORD claims[] = {0, 2, 3, 32, 64, 1, 1, 100, 0, 1};
    EXPECT_EQ(svParseCursorGroup(claims, sizeof claims, entries), SvResStatus::TooManyItems);
    EXPECT_EQ(svParseCursorGroup(claims, 4, entries), SvResStatus::Truncated);
    EXPECT_TRUE(entries.empty());
}

} // namespace
