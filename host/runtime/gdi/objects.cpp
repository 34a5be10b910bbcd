#include "gdi/objects.h"

#include <cstring>
#include <memory>

#include "gdi/object_table.h"

using namespace svgdi;

namespace {

constexpr int largestBitmapSide = 32767;

bool validBitmapSize(int width, int height) {
    return width >= 1 && height >= 1 && width <= largestBitmapSide && height <= largestBitmapSide;
}

// A black bitmap, or null when cairo has no memory for it.
Bitmap* newBitmap(int width, int height, HBITMAP* handle) {
    cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pixels);
        return nullptr;
    }
    auto bitmap = std::make_unique<Bitmap>(pixels);
    Bitmap* made = bitmap.get();
    *handle = static_cast<HBITMAP>(add(std::move(bitmap)));
    return made;
}

template <class T>
int copyDescription(const T& description, int size, LPVOID buffer) {
    if (buffer == nullptr)
        return sizeof(T);
    if (size < static_cast<int>(sizeof(T)))
        return 0;
    std::memcpy(buffer, &description, sizeof(T));
    return sizeof(T);
}

} // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME || width < 0)
        return nullptr;
    return static_cast<HPEN>(
        add(std::make_unique<Pen>(LOGPEN{static_cast<UINT>(style), {width, 0}, color})));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen == nullptr
               ? nullptr
               : CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(add(std::make_unique<Brush>(LOGBRUSH{BS_SOLID, color, 0})));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL))
        return nullptr;
    return static_cast<HBRUSH>(
        add(std::make_unique<Brush>(LOGBRUSH{brush->lbStyle, brush->lbColor, 0})));
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    return font == nullptr ? nullptr : static_cast<HFONT>(add(std::make_unique<Font>(*font)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || bitsPerPixel != 32 || !validBitmapSize(width, height))
        return nullptr;
    HBITMAP handle = nullptr;
    Bitmap* bitmap = newBitmap(width, height, &handle);
    if (bitmap == nullptr || bits == nullptr)
        return handle;
    cairo_surface_flush(bitmap->pixels);
    unsigned char* rows = cairo_image_surface_get_data(bitmap->pixels);
    const int stride = cairo_image_surface_get_stride(bitmap->pixels);
    const auto* source = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x, source += 4)
            row[x] = (static_cast<std::uint32_t>(source[2]) << 16) |
                     (static_cast<std::uint32_t>(source[1]) << 8) | source[0];
    }
    cairo_surface_mark_dirty(bitmap->pixels);
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (findDc(dc) == nullptr || !validBitmapSize(width, height))
        return nullptr;
    HBITMAP handle = nullptr;
    newBitmap(width, height, &handle);
    return handle;
}

HGDIOBJ GetStockObject(int index) {
    Object* object = stock(index);
    return object == nullptr ? nullptr : object->handle;
}

DWORD GetObjectType(HGDIOBJ object) {
    const Object* found = find(object);
    return found == nullptr ? 0 : found->type;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    if (const Pen* pen = findPen(object))
        return copyDescription(pen->log, size, buffer);
    if (const Brush* brush = findBrush(object))
        return copyDescription(brush->log, size, buffer);
    if (const Font* font = findFont(object))
        return copyDescription(font->log, size, buffer);
    if (const Bitmap* bitmap = findBitmap(object)) {
        const int width = cairo_image_surface_get_width(bitmap->pixels);
        const BITMAP description = {
            0, width, cairo_image_surface_get_height(bitmap->pixels), width * 4, 1, 32, nullptr};
        return copyDescription(description, size, buffer);
    }
    return 0;
}

BOOL DeleteObject(HGDIOBJ object) {
    const Object* found = find(object);
    if (found == nullptr || found->type == OBJ_DC || found->type == OBJ_MEMDC)
        return FALSE;
    if (found->stock)
        return TRUE;
    if (found->uses > 0)
        return FALSE;
    remove(object);
    return TRUE;
}
