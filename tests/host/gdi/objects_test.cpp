#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "paint_surface.h"

namespace {

TEST(Handles, DeadAndMadeUpHandlesAreRefused) {
    PaintSurface canvas(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(1, 2, 3));
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(canvas.dc(), pen), nullptr);
    EXPECT_EQ(GetObjectW(pen, sizeof(LOGPEN), nullptr), 0);
    EXPECT_EQ(GetObjectType(pen), 0u);

    int local = 0;
    const auto madeUp = reinterpret_cast<HDC>(&local);
    EXPECT_FALSE(LineTo(madeUp, 1, 1));
    EXPECT_EQ(SetTextColor(madeUp, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(madeUp, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(SaveDC(madeUp), 0);
    EXPECT_FALSE(DeleteDC(madeUp));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x5)));
    EXPECT_EQ(CreatePen(PS_SOLID, -1, 0), nullptr);
    EXPECT_EQ(CreatePen(42, 0, 0), nullptr);
    // A DC is deleted with DeleteDC, not DeleteObject.
    EXPECT_FALSE(DeleteObject(canvas.dc()));
    EXPECT_EQ(GetObjectType(canvas.dc()), static_cast<DWORD>(OBJ_DC));
}

TEST(Handles, SelectedObjectsOutliveDeleteObject) {
    PaintSurface canvas(8, 8);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
    HGDIOBJ original = SelectObject(canvas.dc(), pen);
    EXPECT_EQ(original, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 2, 0);
    EXPECT_EQ(canvas.pixel(1, 0), RGB(255, 0, 0));

    // A state SaveDC keeps holds it too, and RestoreDC brings it back.
    const int depth = SaveDC(canvas.dc());
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(SelectObject(canvas.dc(), original), pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_TRUE(RestoreDC(canvas.dc(), -1));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
    EXPECT_FALSE(RestoreDC(canvas.dc(), -1));
    SelectObject(canvas.dc(), original);
    EXPECT_TRUE(DeleteObject(pen));

    // Stock objects stay whatever is asked.
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(25), nullptr);
    EXPECT_EQ(GetSysColorBrush(31), nullptr);
}

TEST(Handles, SaveAndRestoreTheState) {
    PaintSurface canvas(4, 4);
    HDC dc = canvas.dc();
    SetTextColor(dc, RGB(1, 1, 1));
    const int first = SaveDC(dc);
    SetTextColor(dc, RGB(2, 2, 2));
    SetBkMode(dc, TRANSPARENT);
    SetViewportOrgEx(dc, 5, 6, nullptr);
    SaveDC(dc);
    SetTextColor(dc, RGB(3, 3, 3));
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_FALSE(RestoreDC(dc, 3));
    EXPECT_FALSE(RestoreDC(dc, -3));
    EXPECT_TRUE(RestoreDC(dc, first));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    POINT origin = {1, 1};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_EQ(SetBkMode(dc, 7), 0);
}

TEST(Objects, DescriptionsComeBackAsGiven) {
    LOGFONTW asked = fontNamed(L"MS Shell Dlg", -11);
    asked.lfWeight = FW_BOLD;
    asked.lfUnderline = TRUE;
    asked.lfItalic = TRUE;
    HFONT font = CreateFontIndirectW(&asked);
    LOGFONTW read = {};
    EXPECT_EQ(GetObjectW(font, sizeof(read), nullptr), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(GetObjectW(font, sizeof(read) - 1, &read), 0);
    ASSERT_EQ(GetObjectW(font, sizeof(read), &read), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(read.lfHeight, -11);
    EXPECT_EQ(read.lfWeight, FW_BOLD);
    EXPECT_TRUE(read.lfUnderline);
    EXPECT_TRUE(read.lfItalic);
    EXPECT_STREQ(read.lfFaceName, L"MS Shell Dlg");
    DeleteObject(font);

    LOGFONTW stock = {};
    ASSERT_GT(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock), 0);
    EXPECT_EQ(stock.lfHeight, -MulDiv(8, 96, 72));

    HPEN pen = CreatePen(PS_DOT, 0, RGB(9, 8, 7));
    LOGPEN penRead = {};
    ASSERT_EQ(GetObjectW(pen, sizeof(penRead), &penRead), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(penRead.lopnStyle, static_cast<UINT>(PS_DOT));
    EXPECT_EQ(penRead.lopnColor, RGB(9, 8, 7));
    DeleteObject(pen);

    HBITMAP bitmap = CreateBitmap(14, 3, 1, 32, nullptr);
    BITMAP bitmapRead = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(bitmapRead), &bitmapRead),
              static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(bitmapRead.bmWidth, 14);
    EXPECT_EQ(bitmapRead.bmHeight, 3);
    EXPECT_EQ(bitmapRead.bmBitsPixel, 32);
    DeleteObject(bitmap);

    EXPECT_EQ(CreateBitmap(4, 4, 1, 24, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(0, 4, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(40000, 4, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(Objects, BitmapsLiveInOneMemoryDcAtATime) {
    const unsigned char pixels[] = {0, 0, 255, 0, 0, 255, 0, 0}; // red, green (BGRX)
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, pixels);
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(first);
    HGDIOBJ original = SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(GetPixel(first, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(first, 1, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(first, 2, 0), CLR_INVALID);
    EXPECT_EQ(GetDeviceCaps(first, HORZRES), 2);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));

    PaintSurface canvas(2, 2);
    EXPECT_EQ(SelectObject(canvas.dc(), bitmap), nullptr);

    EXPECT_TRUE(DeleteDC(first));
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_TRUE(DeleteObject(bitmap));

    HBITMAP blank = CreateCompatibleBitmap(canvas.dc(), 3, 3);
    HDC memory = CreateCompatibleDC(canvas.dc());
    SelectObject(memory, blank);
    EXPECT_EQ(GetPixel(memory, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(memory, 2, 2, RGB(4, 5, 6)), RGB(4, 5, 6));
    EXPECT_EQ(GetPixel(memory, 2, 2), RGB(4, 5, 6));
    DeleteDC(memory);
    EXPECT_TRUE(DeleteObject(blank));
    EXPECT_EQ(CreateCompatibleBitmap(reinterpret_cast<HDC>(0x40), 3, 3), nullptr);
}

TEST(Arithmetic, MulDivRoundsAndRefusesOverflow) {
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(-8, 96, 72), -11);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 1), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

TEST(Arithmetic, RectangleOperations) {
    RECT a = {0, 0, 10, 10};
    const RECT b = {5, 5, 15, 15};
    RECT result = {};
    EXPECT_TRUE(IntersectRect(&result, &a, &b));
    EXPECT_EQ(result.left, 5);
    EXPECT_EQ(result.right, 10);
    const RECT apart = {20, 20, 30, 30};
    result = {1, 2, 3, 4};
    EXPECT_FALSE(IntersectRect(&result, &a, &apart));
    EXPECT_TRUE(IsRectEmpty(&result));
    EXPECT_EQ(result.left, 0);
    const RECT empty = {3, 3, 3, 9};
    EXPECT_TRUE(UnionRect(&result, &empty, &b));
    EXPECT_TRUE(EqualRect(&result, &b));
    EXPECT_TRUE(UnionRect(&result, &a, &b));
    EXPECT_EQ(result.right, 15);
    EXPECT_EQ(result.top, 0);
    InflateRect(&a, -3, -3);
    EXPECT_EQ(a.left, 3);
    EXPECT_EQ(a.bottom, 7);
    EXPECT_TRUE(PtInRect(&a, {3, 6}));
    EXPECT_FALSE(PtInRect(&a, {7, 6}));
    OffsetRect(&a, 1, -1);
    EXPECT_EQ(a.right, 8);
    EXPECT_EQ(a.top, 2);
    EXPECT_FALSE(InflateRect(nullptr, 1, 1));
}

} // namespace
