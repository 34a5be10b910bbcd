#include <cstdint>
#include <vector>

#include "comctl/imagelist.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "image_list.h"
#include "win/bitmap_resource.h"

using sv::comctl::findImageList;
using sv::comctl::ImageList;

namespace {

// The pixels of a bitmap through a memory DC; false when it cannot be selected (a dead handle,
// or a bitmap selected elsewhere).
bool readBitmap(HBITMAP bitmap, std::vector<COLORREF>& pixels, int& width, int& height) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth < 1 || info.bmHeight < 1) {
        return false;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = dc ? SelectObject(dc, bitmap) : nullptr;
    if (previous == nullptr) {
        DeleteDC(dc);
        return false;
    }
    width = info.bmWidth;
    height = info.bmHeight;
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] = GetPixel(dc, x, y);
        }
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return true;
}

std::vector<bool> pixelsOfColour(const std::vector<COLORREF>& pixels, COLORREF colour) {
    std::vector<bool> matches(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        matches[i] = pixels[i] == colour;
    }
    return matches;
}

// Blits the drawn pixels row by row in runs, so transparent ones leave the DC as it was.
void blitRuns(HDC dc, int x, int y, int width, int height, const std::vector<COLORREF>& colours,
              const std::vector<bool>& drawn) {
    std::vector<std::uint32_t> bits(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const COLORREF c = colours[i];
        bits[i] = (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
                  (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    }
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, bits.data());
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    for (int row = 0; row < height; ++row) {
        int column = 0;
        while (column < width) {
            const std::size_t base = static_cast<std::size_t>(row) * width;
            if (!drawn[base + column]) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < width && drawn[base + column]) {
                ++column;
            }
            BitBlt(dc, x + start, y + row, column - start, 1, source, start, row, SRCCOPY);
        }
    }
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    return sv::comctl::registerImageList(cx, cy, flags, initial, grow);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    return sv::comctl::destroyImageList(list);
}

int ImageList_GetImageCount(HIMAGELIST list) {
    const ImageList* images = findImageList(list);
    return images ? images->count() : -1;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    const ImageList* images = findImageList(list);
    if (images == nullptr || cx == nullptr || cy == nullptr) {
        return FALSE;
    }
    *cx = images->width();
    *cy = images->height();
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    ImageList* images = findImageList(list);
    std::vector<COLORREF> pixels;
    int width = 0;
    int height = 0;
    if (images == nullptr || !readBitmap(image, pixels, width, height)) {
        return -1;
    }
    std::vector<bool> transparent;
    if (mask != nullptr) {
        std::vector<COLORREF> maskPixels;
        int maskWidth = 0;
        int maskHeight = 0;
        if (!readBitmap(mask, maskPixels, maskWidth, maskHeight) || maskWidth != width ||
            maskHeight != height) {
            return -1;
        }
        transparent = pixelsOfColour(maskPixels, RGB(255, 255, 255));
    }
    return images->addStrip(pixels, transparent, width, height);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
    ImageList* images = findImageList(list);
    std::vector<COLORREF> pixels;
    int width = 0;
    int height = 0;
    if (images == nullptr || !readBitmap(image, pixels, width, height)) {
        return -1;
    }
    return images->addStrip(pixels, pixelsOfColour(pixels, maskColor), width, height);
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    ImageList* images = findImageList(list);
    return images && images->remove(index);
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
    ImageList* images = findImageList(list);
    if (images == nullptr) {
        return CLR_NONE;
    }
    const COLORREF previous = images->background();
    images->setBackground(color);
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
    const ImageList* images = findImageList(list);
    return images ? images->background() : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    const ImageList* images = findImageList(list);
    std::vector<COLORREF> colours;
    std::vector<bool> drawn;
    if (images == nullptr || GetObjectType(dc) == 0 ||
        !images->render(index, style, colours, drawn)) {
        return FALSE;
    }
    blitRuns(dc, x, y, images->width(), images->height(), colours, drawn);
    return TRUE;
}

HIMAGELIST ImageList_LoadImageW(HINSTANCE instance, LPCWSTR name, int cx, int grow,
                                COLORREF maskColor, UINT type, UINT flags) {
    if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE)) {
        return nullptr;
    }
    SvBitmap bitmap;
    if (svLoadBitmapResource(instance, name, bitmap) != SvResStatus::Ok || cx < 1 ||
        cx > bitmap.width) {
        return nullptr;
    }
    std::vector<COLORREF> pixels(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const BYTE* bgra = bitmap.pixels.data() + 4 * i;
        pixels[i] = RGB(bgra[2], bgra[1], bgra[0]);
    }
    const bool masked = maskColor != CLR_NONE;
    HIMAGELIST list = ImageList_Create(
        cx, bitmap.height, masked ? ILC_MASK | ILC_COLOR32 : ILC_COLOR32, bitmap.width / cx, grow);
    ImageList* images = findImageList(list);
    if (images == nullptr) {
        return nullptr;
    }
    const std::vector<bool> transparent =
        masked ? pixelsOfColour(pixels, maskColor) : std::vector<bool>{};
    if (images->addStrip(pixels, transparent, bitmap.width, bitmap.height) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}
