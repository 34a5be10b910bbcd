#include <gtest/gtest.h>

#include "paint_surface.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF red = RGB(255, 0, 0);

// Selects a pen for the scope of a test and deletes it afterwards.
class PenScope {
public:
    PenScope(HDC dc, int style, int width, COLORREF color)
        : dc_(dc), pen_(CreatePen(style, width, color)), previous_(SelectObject(dc, pen_)) {}
    ~PenScope() {
        SelectObject(dc_, previous_);
        DeleteObject(pen_);
    }

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ previous_;
};

void line(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

// A white canvas with a thin black pen.
class ThinLines : public ::testing::Test {
protected:
    PaintSurface canvas{30, 30};
    PenScope pen{canvas.dc(), PS_SOLID, 0, black};
};

TEST_F(ThinLines, EndPointLeftOut) {
    MoveToEx(canvas.dc(), 2, 5, nullptr);
    ASSERT_TRUE(LineTo(canvas.dc(), 10, 5));
    EXPECT_EQ(canvas.picture({0, 5, 16, 6}, black), "..########......\n");
    EXPECT_EQ(canvas.painted({0, 0, 30, 30}), 8);

    // The end point is the next start: a corner is drawn once, the last end point never.
    line(canvas.dc(), 3, 0, 3, 3);
    LineTo(canvas.dc(), 6, 3);
    POINT position = {};
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, 6);
    EXPECT_EQ(position.y, 3);
    EXPECT_EQ(canvas.picture({2, 0, 8, 4}, black), ".#....\n"
                                                   ".#....\n"
                                                   ".#....\n"
                                                   ".###..\n");
}

TEST_F(ThinLines, DiagonalSetsOnePixelPerStep) {
    PenScope widthOne(canvas.dc(), PS_SOLID, 1, black);
    line(canvas.dc(), 1, 1, 7, 4);
    EXPECT_EQ(canvas.painted({0, 0, 30, 30}), 6);
    int previousRow = 0;
    for (int x = 1; x < 7; ++x) {
        int row = -1;
        for (int y = 0; y < 10; ++y) {
            if (canvas.pixel(x, y) == black) {
                EXPECT_EQ(row, -1) << "two pixels in column " << x;
                row = y;
            }
        }
        EXPECT_GE(row, previousRow);
        EXPECT_LE(row, 4);
        previousRow = row;
    }
    EXPECT_EQ(canvas.pixel(7, 4), RGB(255, 255, 255));
}

// A push button's arrow: four columns of 7, 5, 3 and 1 pixels pointing right, centred.
TEST(Lines, ArrowOfColumnsWithoutEndPoints) {
    PaintSurface canvas(21, 15);
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    PenScope pen(canvas.dc(), PS_SOLID, 0, ink);
    const int cx = 21 / 2;
    const int cy = 15 / 2;
    for (int i = 0; i < 4; ++i) {
        MoveToEx(canvas.dc(), cx - 2 + i, cy - 3 + i, nullptr);
        LineTo(canvas.dc(), cx - 2 + i, cy + 4 - i);
    }
    EXPECT_EQ(canvas.picture({7, 3, 13, 12}, ink), "......\n"
                                                   ".#....\n"
                                                   ".##...\n"
                                                   ".###..\n"
                                                   ".####.\n"
                                                   ".###..\n"
                                                   ".##...\n"
                                                   ".#....\n"
                                                   "......\n");
}

TEST_F(ThinLines, ViewportOriginAndClipPlaceTheLine) {
    SetViewportOrgEx(canvas.dc(), 10, 20, nullptr);
    line(canvas.dc(), 0, 0, 3, 0);
    EXPECT_EQ(canvas.picture({9, 20, 14, 21}, black), ".###.\n");

    // The clip is given in logical coordinates and stays put on the device.
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 0, 2, 2, 3), SIMPLEREGION);
    OffsetViewportOrgEx(canvas.dc(), -10, -20, nullptr);
    line(canvas.dc(), 0, 22, 30, 22);
    EXPECT_EQ(canvas.painted({0, 22, 30, 23}), 2);
    EXPECT_EQ(canvas.pixel(10, 22), black);
    EXPECT_EQ(canvas.pixel(11, 22), black);
    RECT box = {};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 22);
    EXPECT_EQ(box.right, 12);
    EXPECT_EQ(box.bottom, 23);
}

TEST(Lines, StylesAndWidths) {
    PaintSurface canvas(20, 20);
    {
        PenScope dotted(canvas.dc(), PS_DOT, 0, black);
        SetBkMode(canvas.dc(), TRANSPARENT);
        line(canvas.dc(), 0, 0, 13, 0);
        EXPECT_EQ(canvas.picture({0, 0, 14, 1}, black), "###...###...#.\n");
        // Opaque, the gaps take the background colour.
        SetBkMode(canvas.dc(), OPAQUE);
        SetBkColor(canvas.dc(), red);
        line(canvas.dc(), 0, 1, 7, 1);
        EXPECT_EQ(canvas.picture({0, 1, 8, 2}, red), "...###..\n");
    }
    {
        PenScope wide(canvas.dc(), PS_SOLID, 3, black);
        line(canvas.dc(), 5, 10, 15, 10);
        EXPECT_EQ(canvas.picture({10, 8, 11, 13}, black), ".\n#\n#\n#\n.\n");
    }
    {
        PenScope none(canvas.dc(), PS_NULL, 0, black);
        const int before = canvas.painted({0, 0, 20, 20});
        line(canvas.dc(), 0, 15, 20, 15);
        EXPECT_EQ(canvas.painted({0, 0, 20, 20}), before);
        POINT position = {};
        GetCurrentPositionEx(canvas.dc(), &position);
        EXPECT_EQ(position.x, 20);
    }
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    PaintSurface canvas(12, 12);
    HBRUSH fill = CreateSolidBrush(red);
    HGDIOBJ previous = SelectObject(canvas.dc(), fill);
    ASSERT_TRUE(Rectangle(canvas.dc(), 1, 1, 7, 5));
    EXPECT_EQ(canvas.picture({0, 0, 8, 6}, black), "........\n"
                                                   ".######.\n"
                                                   ".#....#.\n"
                                                   ".#....#.\n"
                                                   ".######.\n"
                                                   "........\n");
    EXPECT_EQ(canvas.picture({0, 0, 8, 6}, red), "........\n"
                                                 "........\n"
                                                 "..####..\n"
                                                 "..####..\n"
                                                 "........\n"
                                                 "........\n");
    // Without a pen the fill is a pixel smaller; without a brush nothing is filled.
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.dc(), 1, 7, 5, 10);
    EXPECT_EQ(canvas.picture({0, 7, 6, 10}, red), ".###..\n"
                                                  ".###..\n"
                                                  "......\n");
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(canvas.dc(), 7, 7, 11, 11);
    EXPECT_EQ(canvas.painted({8, 8, 10, 10}), 0);
    EXPECT_EQ(canvas.painted({7, 7, 11, 11}), 12);
    SelectObject(canvas.dc(), previous);
    EXPECT_TRUE(DeleteObject(fill));
}

} // namespace
