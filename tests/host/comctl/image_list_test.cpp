#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "comctl/imagelist.h"
#include "gdi/gdi.h"
#include "win/modules.h"

namespace {

// A bitmap of solid columns: each entry of columns paints one column, all rows alike.
HBITMAP columnsBitmap(const std::vector<COLORREF>& columns, int height) {
    std::vector<std::uint32_t> bits;
    for (int y = 0; y < height; ++y) {
        for (const COLORREF c : columns) {
            bits.push_back((static_cast<std::uint32_t>(GetRValue(c)) << 16) |
                           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c));
        }
    }
    return CreateBitmap(static_cast<int>(columns.size()), height, 1, 32, bits.data());
}

// A memory DC over a canvas filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) {
        bitmap_ =
            columnsBitmap(std::vector<COLORREF>(static_cast<std::size_t>(width), fill), height);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_;
};

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

TEST(ImageList, SizesOutOfRangeAndDeadHandlesAreRefused) {
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
    EXPECT_EQ(ImageList_Create(16, 257, ILC_COLOR32, 1, 1), nullptr);
    EXPECT_EQ(ImageList_Create(16, 16, ILC_COLOR32, -1, 1), nullptr);

    HIMAGELIST list = ImageList_Create(4, 2, ILC_COLOR32 | ILC_MASK, 0, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 2);
    EXPECT_TRUE(ImageList_Destroy(list));

    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), -1);
    EXPECT_EQ(ImageList_AddMasked(list, nullptr, kGreen), -1);
    EXPECT_FALSE(ImageList_Remove(list, 0));
    Canvas canvas(4, 2, kGrey);
    EXPECT_FALSE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(reinterpret_cast<HIMAGELIST>(0x7777), 0, canvas.dc(), 0, 0, 0));
}

TEST(ImageList, AStripIsCutIntoImagesAndTheListGrowsPastItsReserve) {
    HIMAGELIST list = ImageList_Create(2, 3, ILC_COLOR32 | ILC_MASK, 1, 0);
    HBITMAP strip = columnsBitmap({kRed, kRed, kBlue, kBlue, kGreen}, 3);
    EXPECT_EQ(ImageList_AddMasked(list, strip, kGreen), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2); // the fifth column makes no whole image
    EXPECT_EQ(ImageList_AddMasked(list, strip, kGreen), 2);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);

    HBITMAP tooLow = columnsBitmap({kRed, kRed}, 2);
    EXPECT_EQ(ImageList_AddMasked(list, tooLow, kGreen), -1);
    HBITMAP tooNarrow = columnsBitmap({kRed}, 3);
    EXPECT_EQ(ImageList_Add(list, tooNarrow, nullptr), -1);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);

    EXPECT_TRUE(ImageList_Remove(list, 1));
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    EXPECT_FALSE(ImageList_Remove(list, 3));
    EXPECT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    for (HBITMAP bitmap : {strip, tooLow, tooNarrow}) {
        DeleteObject(bitmap);
    }
    ImageList_Destroy(list);
}

TEST(ImageList, TheMaskColourDrawsNothingAndABackgroundFillsItWhenAsked) {
    HIMAGELIST list = ImageList_Create(2, 2, ILC_COLOR32 | ILC_MASK, 1, 1);
    HBITMAP image = columnsBitmap({kGreen, kRed}, 2);
    ASSERT_EQ(ImageList_AddMasked(list, image, kGreen), 0);

    Canvas transparent(4, 4, kGrey);
    ASSERT_TRUE(ImageList_Draw(list, 0, transparent.dc(), 1, 1, ILD_NORMAL));
    EXPECT_EQ(transparent.at(1, 1), kGrey);
    EXPECT_EQ(transparent.at(1, 2), kGrey);
    EXPECT_EQ(transparent.at(2, 1), kRed);
    EXPECT_EQ(transparent.at(2, 2), kRed);
    EXPECT_EQ(transparent.at(3, 1), kGrey);

    EXPECT_EQ(ImageList_SetBkColor(list, kBlue), CLR_NONE);
    Canvas filled(2, 2, kGrey);
    ImageList_Draw(list, 0, filled.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(filled.at(0, 0), kBlue);
    EXPECT_EQ(filled.at(1, 0), kRed);
    Canvas kept(2, 2, kGrey);
    ImageList_Draw(list, 0, kept.dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(kept.at(0, 0), kGrey);

    Canvas mask(2, 2, kGrey);
    ImageList_Draw(list, 0, mask.dc(), 0, 0, ILD_MASK);
    EXPECT_EQ(mask.at(0, 1), RGB(255, 255, 255));
    EXPECT_EQ(mask.at(1, 1), RGB(0, 0, 0));

    EXPECT_FALSE(ImageList_Draw(list, 1, mask.dc(), 0, 0, ILD_NORMAL));
    DeleteObject(image);
    ImageList_Destroy(list);
}

TEST(ImageList, AMaskBitmapMakesItsWhitePixelsTransparentOnlyInAMaskedList) {
    HBITMAP image = columnsBitmap({kRed, kBlue}, 1);
    HBITMAP mask = columnsBitmap({RGB(255, 255, 255), RGB(0, 0, 0)}, 1);
    HIMAGELIST masked = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1);
    HIMAGELIST plain = ImageList_Create(2, 1, ILC_COLOR32, 1, 1);
    ASSERT_EQ(ImageList_Add(masked, image, mask), 0);
    ASSERT_EQ(ImageList_Add(plain, image, mask), 0);

    Canvas canvas(2, 2, kGrey);
    ImageList_Draw(masked, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(plain, 0, canvas.dc(), 0, 1, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.at(0, 0), kGrey);
    EXPECT_EQ(canvas.at(1, 0), kBlue);
    EXPECT_EQ(canvas.at(0, 1), kRed);

    HBITMAP wrongSize = columnsBitmap({kRed}, 1);
    EXPECT_EQ(ImageList_Add(masked, image, wrongSize), -1);
    for (HBITMAP bitmap : {image, mask, wrongSize}) {
        DeleteObject(bitmap);
    }
    ImageList_Destroy(masked);
    ImageList_Destroy(plain);
}

TEST(ImageList, ABitmapResourceBecomesImagesOfTheGivenWidthWithItsMaskColour) {
    HMODULE module = LoadLibraryW(L"comctl_resources.dll");
    ASSERT_NE(module, nullptr) << svLastLoadError();
    HIMAGELIST list = ImageList_LoadBitmapW(module, MAKEINTRESOURCEW(2008), 14, 0, RGB(0, 255, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(cx, 14);
    EXPECT_EQ(cy, 14);

    // Image 0 is see-through on its left half, image 1 on its right half.
    Canvas canvas(28, 14, kGrey);
    ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
    ImageList_Draw(list, 1, canvas.dc(), 14, 0, ILD_NORMAL);
    EXPECT_EQ(canvas.at(3, 5), kGrey);
    EXPECT_EQ(canvas.at(10, 5), kRed);
    EXPECT_EQ(canvas.at(17, 13), kBlue);
    EXPECT_EQ(canvas.at(24, 0), kGrey);

    EXPECT_EQ(ImageList_LoadBitmapW(module, MAKEINTRESOURCEW(2009), 14, 0, kGreen), nullptr);
    EXPECT_EQ(ImageList_LoadBitmapW(module, MAKEINTRESOURCEW(2008), 29, 0, kGreen), nullptr);
    EXPECT_EQ(ImageList_LoadImageW(module, MAKEINTRESOURCEW(2008), 14, 0, kGreen, IMAGE_ICON, 0),
              nullptr);
    ImageList_Destroy(list);
    FreeLibrary(module);
}

} // namespace
