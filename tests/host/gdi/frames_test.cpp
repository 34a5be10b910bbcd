#include <gtest/gtest.h>

#include <initializer_list>

#include "paint_surface.h"

namespace {

COLORREF sys(int index) {
    return GetSysColor(index);
}

struct Expected {
    int x;
    int y;
    int color; // system colour index
};

void expectPixels(const PaintSurface& canvas, std::initializer_list<Expected> pixels) {
    for (const Expected& expected : pixels)
        EXPECT_EQ(canvas.pixel(expected.x, expected.y), sys(expected.color))
            << expected.x << "," << expected.y;
}

TEST(FrameControl, PushButtonRaisedAndSunken) {
    PaintSurface canvas(10, 8);
    RECT rect = {0, 0, 10, 8};
    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &rect, DFC_BUTTON, DFCS_BUTTONPUSH));
    // Light above and left, dark below and right, the dark ring owning the shared corners.
    expectPixels(canvas, {{0, 0, COLOR_3DHILIGHT},
                          {8, 0, COLOR_3DHILIGHT},
                          {9, 0, COLOR_3DDKSHADOW},
                          {0, 7, COLOR_3DDKSHADOW},
                          {9, 7, COLOR_3DDKSHADOW},
                          {1, 1, COLOR_3DLIGHT},
                          {8, 1, COLOR_3DSHADOW},
                          {1, 6, COLOR_3DSHADOW},
                          {4, 4, COLOR_BTNFACE}});
    EXPECT_EQ(rect.left, 0);

    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &rect, DFC_BUTTON,
                                 DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT));
    expectPixels(canvas, {{0, 0, COLOR_3DDKSHADOW},
                          {1, 1, COLOR_3DSHADOW},
                          {9, 7, COLOR_3DHILIGHT},
                          {8, 6, COLOR_3DLIGHT},
                          {4, 4, COLOR_BTNFACE}});
    EXPECT_EQ(rect.left, 2);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 8);
    EXPECT_EQ(rect.bottom, 6);

    EXPECT_FALSE(DrawFrameControl(canvas.dc(), &rect, 3, DFCS_BUTTONPUSH));
    EXPECT_FALSE(DrawFrameControl(canvas.dc(), &rect, DFC_BUTTON, DFCS_BUTTONRADIO));
}

TEST(FrameControl, CheckBoxShowsItsTickWhenChecked) {
    PaintSurface canvas(13, 13);
    RECT rect = {0, 0, 13, 13};
    DrawFrameControl(canvas.dc(), &rect, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(canvas.pixel(0, 0), sys(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.pixel(1, 1), sys(COLOR_3DDKSHADOW));
    const RECT inside = {2, 2, 11, 11};
    std::string window;
    for (int row = 0; row < 9; ++row)
        window += "#########\n";
    EXPECT_EQ(canvas.picture(inside, sys(COLOR_WINDOW)), window);
    DrawFrameControl(canvas.dc(), &rect, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(canvas.picture(inside, sys(COLOR_BTNTEXT)), ".........\n"
                                                          ".......#.\n"
                                                          "......##.\n"
                                                          ".#...###.\n"
                                                          ".##.###..\n"
                                                          ".#####...\n"
                                                          "..###....\n"
                                                          "...#.....\n"
                                                          ".........\n");
}

TEST(Edges, SidesAdjustAndMiddle) {
    PaintSurface canvas(8, 8);
    RECT rect = {1, 1, 7, 7};
    ASSERT_TRUE(DrawEdge(canvas.dc(), &rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT | BF_ADJUST));
    EXPECT_EQ(canvas.picture({0, 0, 8, 8}, sys(COLOR_3DDKSHADOW)), "........\n"
                                                                   "......#.\n"
                                                                   "......#.\n"
                                                                   "......#.\n"
                                                                   "......#.\n"
                                                                   "......#.\n"
                                                                   ".######.\n"
                                                                   "........\n");
    EXPECT_EQ(rect.right, 6);
    EXPECT_EQ(rect.bottom, 6);
    EXPECT_EQ(rect.left, 1);
    ASSERT_TRUE(DrawEdge(canvas.dc(), &rect, EDGE_ETCHED, BF_RECT | BF_MIDDLE));
    EXPECT_EQ(canvas.pixel(1, 1), sys(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.pixel(2, 2), sys(COLOR_3DHILIGHT));
    EXPECT_EQ(canvas.pixel(3, 3), sys(COLOR_BTNFACE));
    EXPECT_EQ(rect.left, 1);
    EXPECT_FALSE(DrawEdge(canvas.dc(), &rect, EDGE_RAISED, BF_RECT | BF_DIAGONAL));
}

TEST(FocusRect, DotsThatASecondCallTakesAway) {
    PaintSurface canvas(12, 9);
    const RECT rect = {2, 2, 9, 7};
    ASSERT_TRUE(DrawFocusRect(canvas.dc(), &rect));
    EXPECT_EQ(canvas.picture(rect, RGB(0, 0, 0)), "#.#.#.#\n"
                                                  ".......\n"
                                                  "#.....#\n"
                                                  ".......\n"
                                                  "#.#.#.#\n");
    EXPECT_EQ(canvas.painted({0, 0, 12, 9}), 10);
    ASSERT_TRUE(DrawFocusRect(canvas.dc(), &rect));
    EXPECT_EQ(canvas.painted({0, 0, 12, 9}), 0);

    // Over a colour the dots are its inverse.
    const RECT all = {0, 0, 12, 9};
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(canvas.dc(), &all, face);
    DrawFocusRect(canvas.dc(), &rect);
    EXPECT_EQ(canvas.pixel(2, 2), sys(COLOR_BTNFACE) ^ 0xFFFFFF);
    EXPECT_EQ(canvas.pixel(3, 2), sys(COLOR_BTNFACE));
}

TEST(Fills, BrushesAndSystemColourIndices) {
    PaintSurface canvas(6, 6);
    const RECT rect = {1, 1, 5, 4};
    EXPECT_NE(FillRect(canvas.dc(), &rect, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 0);
    EXPECT_EQ(canvas.picture({0, 0, 6, 5}, sys(COLOR_HIGHLIGHT)), "......\n"
                                                                  ".####.\n"
                                                                  ".####.\n"
                                                                  ".####.\n"
                                                                  "......\n");
    EXPECT_EQ(FillRect(canvas.dc(), &rect, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_NE(FrameRect(canvas.dc(), &rect, red), 0);
    EXPECT_EQ(canvas.picture({0, 0, 6, 5}, RGB(255, 0, 0)), "......\n"
                                                            ".####.\n"
                                                            ".#..#.\n"
                                                            ".####.\n"
                                                            "......\n");
    DeleteObject(red);
    EXPECT_EQ(FillRect(canvas.dc(), &rect, red), 0);
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColor(99), 0u);
}

} // namespace
