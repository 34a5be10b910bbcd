#include <gtest/gtest.h>

#include <cairo.h>
#include <filesystem>
#include <unistd.h>

#include "paint_surface.h"

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF green = RGB(0, 255, 0);

// A PNG file read back by cairo's own decoder, as 0x00RRGGBB pixels.
class PngFile {
public:
    explicit PngFile(const std::string& path)
        : image_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~PngFile() { cairo_surface_destroy(image_); }
    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;

    bool ok() const { return cairo_surface_status(image_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(image_); }
    COLORREF pixel(int x, int y) const {
        const unsigned char* row =
            cairo_image_surface_get_data(image_) + y * cairo_image_surface_get_stride(image_);
        const auto value = reinterpret_cast<const std::uint32_t*>(row)[x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }

private:
    cairo_surface_t* image_;
};

std::string temporaryPng(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "-" + std::to_string(getpid()) + ".png"))
        .string();
}

TEST(Snapshot, PngHoldsThePaintedPixels) {
    PaintSurface canvas(16, 10);
    MoveToEx(canvas.dc(), 2, 5, nullptr);
    LineTo(canvas.dc(), 10, 5);
    const std::string path = temporaryPng("gdi-snapshot");
    ASSERT_TRUE(svWriteSurfacePng(canvas.surface(), path.c_str()));
    PngFile png(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.width(), 16);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(png.pixel(x, 5), x >= 2 && x < 10 ? RGB(0, 0, 0) : white) << x;
    EXPECT_EQ(png.pixel(5, 4), white);
    EXPECT_FALSE(svWriteSurfacePng(canvas.surface(), "/nonexistent-folder/x.png"));
}

TEST(SurfaceDc, OriginAndClipOfAChildWindow) {
    SvSurface* surface = svCreateSurface(30, 30);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(svSurfacePixel(surface, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(svSurfacePixel(surface, 30, 0), CLR_INVALID);
    HDC child = svCreateSurfaceDC(surface, {10, 5}, {10, 5, 20, 12});
    const RECT everything = {-100, -100, 100, 100};
    FillRect(child, &everything, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int white = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 10 && x < 20 && y >= 5 && y < 12;
            EXPECT_EQ(svSurfacePixel(surface, x, y) == RGB(255, 255, 255), inside) << x << "," << y;
            white += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(white, 70);
    EXPECT_EQ(GetPixel(child, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(child, 10, 0), CLR_INVALID);
    RECT box = {};
    EXPECT_EQ(GetClipBox(child, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 7);
    EXPECT_EQ(GetDeviceCaps(child, LOGPIXELSY), 96);

    // The DC outlives the surface handle without harm.
    svDestroySurface(surface);
    EXPECT_TRUE(FillRect(child, &everything, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_TRUE(DeleteDC(child));
    EXPECT_EQ(svCreateSurface(0, 5), nullptr);
    EXPECT_EQ(svCreateSurfaceDC(nullptr, {0, 0}, {0, 0, 1, 1}), nullptr);
}

// Two 3x2 images side by side, green where transparent.
HBITMAP imageStrip() {
    std::uint32_t pixels[2][6];
    for (auto& row : pixels) {
        for (int x = 0; x < 6; ++x)
            row[x] = x < 3 ? 0x000000FF : 0x00FF0000; // blue, then red (0x00RRGGBB)
    }
    pixels[0][1] = 0x0000FF00;
    pixels[1][4] = 0x0000FF00;
    unsigned char bytes[2 * 6 * 4];
    for (int i = 0; i < 12; ++i) {
        const std::uint32_t p = pixels[i / 6][i % 6];
        bytes[i * 4] = p & 0xFF;
        bytes[i * 4 + 1] = (p >> 8) & 0xFF;
        bytes[i * 4 + 2] = (p >> 16) & 0xFF;
        bytes[i * 4 + 3] = 0;
    }
    return CreateBitmap(6, 2, 1, 32, bytes);
}

TEST(Blit, ImagesWithAMaskColour) {
    PaintSurface canvas(8, 4);
    HBITMAP strip = imageStrip();
    HDC images = CreateCompatibleDC(canvas.dc());
    HGDIOBJ previous = SelectObject(images, strip);
    ASSERT_TRUE(TransparentBlt(canvas.dc(), 1, 1, 3, 2, images, 3, 0, 3, 2, green));
    EXPECT_EQ(canvas.picture({0, 0, 5, 4}, RGB(255, 0, 0)), ".....\n"
                                                            ".###.\n"
                                                            ".#.#.\n"
                                                            ".....\n");
    EXPECT_EQ(canvas.pixel(2, 2), white);
    EXPECT_FALSE(TransparentBlt(canvas.dc(), 0, 0, 3, 2, images, 4, 0, 3, 2, green));

    // Scaled twice as large, each source pixel becomes a 2x2 block.
    ASSERT_TRUE(TransparentBlt(canvas.dc(), 0, 0, 6, 4, images, 0, 0, 3, 2, green));
    EXPECT_EQ(canvas.picture({0, 0, 6, 4}, RGB(0, 0, 255)), "##..##\n"
                                                            "##..##\n"
                                                            "######\n"
                                                            "######\n");

    // SRCCOPY copies the mask colour too.
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 0, 6, 2, images, 0, 0, SRCCOPY));
    EXPECT_EQ(canvas.pixel(1, 0), green);
    EXPECT_EQ(canvas.pixel(4, 1), green);
    EXPECT_EQ(canvas.pixel(5, 1), RGB(255, 0, 0));
    EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 2, 2, images, 0, 0, 0x00AA0029));
    SelectObject(images, previous);
    DeleteDC(images);
    DeleteObject(strip);
}

TEST(Blit, RasterOperationsAndOverlap) {
    PaintSurface canvas(6, 3);
    SetPixel(canvas.dc(), 0, 0, RGB(0x10, 0x20, 0x30));
    SetPixel(canvas.dc(), 1, 0, RGB(0x01, 0x02, 0x03));
    // Shifting a row right by one inside the same DC reads before it writes.
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(canvas.pixel(1, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(canvas.pixel(2, 0), RGB(0x01, 0x02, 0x03));
    EXPECT_EQ(canvas.pixel(3, 0), white);

    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 2, 1, canvas.dc(), 1, 0, SRCAND));
    EXPECT_EQ(canvas.pixel(1, 1), RGB(0x10, 0x20, 0x30));
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 1, 1, canvas.dc(), 2, 0, SRCINVERT));
    EXPECT_EQ(canvas.pixel(1, 1), RGB(0x11, 0x22, 0x33));
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 2, 2, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(canvas.pixel(1, 2), RGB(0, 0, 0));
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 2, 1, 1, nullptr, 0, 0, DSTINVERT));
    EXPECT_EQ(canvas.pixel(0, 2), white);
    // Huge blocks are cut to the clip rather than allocated.
    EXPECT_TRUE(
        BitBlt(canvas.dc(), -1000000, -1000000, 2000000000, 2000000000, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(canvas.painted({0, 0, 6, 3}), 0);
}

} // namespace
