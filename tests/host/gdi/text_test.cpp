#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "paint_surface.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);

// Selects a font for the scope of a test and deletes it afterwards.
class FontScope {
public:
    FontScope(HDC dc, const LOGFONTW& font)
        : dc_(dc), font_(CreateFontIndirectW(&font)), previous_(SelectObject(dc, font_)) {}
    ~FontScope() {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
};

SIZE extent(HDC dc, const std::wstring& text) {
    SIZE size = {};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size));
    return size;
}

TEST(Fonts, HeightsAndFacesMapToTheInstalledFont) {
    PaintSurface canvas(4, 4);
    TEXTMETRICW metrics = {};
    {
        FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
        ASSERT_TRUE(GetTextMetricsW(canvas.dc(), &metrics));
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 11);
        EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, metrics.tmHeight);
        EXPECT_EQ(extent(canvas.dc(), L"Ag").cy, metrics.tmHeight);
        EXPECT_TRUE(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH); // variable pitch
    }
    const SIZE shellDlg = [&] {
        FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
        return extent(canvas.dc(), L"Sample text");
    }();
    for (const wchar_t* face : {L"MS Shell Dlg 2", L"Tahoma", L"MS Sans Serif",
                                L"Microsoft Sans Serif", L"Segoe UI", L"Arial"}) {
        FontScope font(canvas.dc(), fontNamed(face, -11));
        const SIZE size = extent(canvas.dc(), L"Sample text");
        EXPECT_EQ(size.cx, shellDlg.cx) << face;
        EXPECT_EQ(size.cy, shellDlg.cy) << face;
    }
    {
        // A positive height is the whole cell.
        FontScope font(canvas.dc(), fontNamed(L"Tahoma", 20));
        GetTextMetricsW(canvas.dc(), &metrics);
        EXPECT_LE(std::abs(metrics.tmHeight - 20), 1);
    }
    {
        FontScope font(canvas.dc(), fontNamed(L"Courier New", -12));
        EXPECT_EQ(extent(canvas.dc(), L"iiii").cx, extent(canvas.dc(), L"WWWW").cx);
        GetTextMetricsW(canvas.dc(), &metrics);
        EXPECT_FALSE(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
    }
    LOGFONTW bold = fontNamed(L"MS Shell Dlg", -11);
    bold.lfWeight = FW_BOLD;
    FontScope font(canvas.dc(), bold);
    EXPECT_GT(extent(canvas.dc(), L"Sample text").cx, shellDlg.cx);
    GetTextMetricsW(canvas.dc(), &metrics);
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
}

TEST(Text, PaintedWhereMeasured) {
    PaintSurface canvas(120, 30);
    FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
    SetBkMode(canvas.dc(), TRANSPARENT);
    const std::wstring text = L"Hello world";
    const SIZE size = extent(canvas.dc(), text);
    ASSERT_TRUE(TextOutW(canvas.dc(), 5, 4, text.c_str(), static_cast<int>(text.size())));
    const auto [left, right] = canvas.paintedColumns({0, 0, 120, 30});
    EXPECT_LE(std::abs(left - 5), 1);
    EXPECT_LE(std::abs(right - (5 + size.cx)), 1);
    EXPECT_EQ(canvas.painted({0, 0, 120, 4}), 0);
    EXPECT_EQ(canvas.painted({0, 4 + size.cy, 120, 30}), 0);

    // Pieces painted one after another at their measured widths make the whole.
    PaintSurface pieces(120, 30);
    FontScope same(pieces.dc(), fontNamed(L"MS Shell Dlg", -11));
    SetBkMode(pieces.dc(), TRANSPARENT);
    TextOutW(pieces.dc(), 5, 4, L"Hello", 5);
    TextOutW(pieces.dc(), 5 + extent(pieces.dc(), L"Hello").cx, 4, L" world", 6);
    EXPECT_EQ(pieces.picture({0, 0, 120, 30}, black), canvas.picture({0, 0, 120, 30}, black));
}

TEST(Text, ColoursAndOpaqueBackground) {
    PaintSurface canvas(80, 30);
    FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
    SetTextColor(canvas.dc(), RGB(255, 0, 0));
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    const SIZE size = extent(canvas.dc(), L"Mm");
    TextOutW(canvas.dc(), 10, 5, L"Mm", 2);
    int red = 0;
    for (int y = 5; y < 5 + size.cy; ++y) {
        for (int x = 10; x < 10 + size.cx; ++x) {
            EXPECT_NE(canvas.pixel(x, y), RGB(255, 255, 255));
            red += canvas.pixel(x, y) == RGB(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_EQ(canvas.pixel(10, 5), RGB(0, 0, 255));
    EXPECT_EQ(canvas.painted({0, 0, 80, 30}), size.cx * size.cy);
}

TEST(Text, UnderlineFontPaintsAnUnderlineRow) {
    PaintSurface plain(80, 30);
    PaintSurface underlined(80, 30);
    LOGFONTW font = fontNamed(L"MS Shell Dlg", -11);
    FontScope plainFont(plain.dc(), font);
    font.lfUnderline = TRUE;
    FontScope underlineFont(underlined.dc(), font);
    const SIZE size = extent(underlined.dc(), L"link");
    EXPECT_EQ(size.cx, extent(plain.dc(), L"link").cx);
    TextOutW(plain.dc(), 4, 4, L"link", 4);
    TextOutW(underlined.dc(), 4, 4, L"link", 4);
    int underlineRows = 0;
    for (int y = 4; y < 4 + size.cy; ++y) {
        const std::string row = underlined.picture({0, y, 80, y + 1}, black);
        if (row == std::string(4, '.') + std::string(size.cx, '#') +
                       std::string(80 - 4 - size.cx, '.') + "\n") {
            ++underlineRows;
            EXPECT_NE(plain.picture({0, y, 80, y + 1}, black), row);
        }
    }
    EXPECT_GE(underlineRows, 1);
}

TEST(DrawText, CalcRectPlacementAndMnemonics) {
    PaintSurface canvas(200, 60);
    FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(canvas.dc(), &metrics);
    SetBkMode(canvas.dc(), TRANSPARENT);

    RECT measured = {10, 10, 10, 10};
    EXPECT_EQ(DrawTextW(canvas.dc(), L"&File", -1, &measured, DT_SINGLELINE | DT_CALCRECT),
              metrics.tmHeight);
    EXPECT_EQ(measured.right - measured.left, extent(canvas.dc(), L"File").cx);
    EXPECT_EQ(measured.bottom - measured.top, metrics.tmHeight);
    EXPECT_EQ(canvas.painted({0, 0, 200, 60}), 0);
    RECT literal = {0, 0, 0, 0};
    DrawTextW(canvas.dc(), L"a&&b", -1, &literal, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(literal.right, extent(canvas.dc(), L"a&b").cx);
    DrawTextW(canvas.dc(), L"a&&b", -1, &literal, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(literal.right, extent(canvas.dc(), L"a&&b").cx);

    // The mnemonic adds an underline below its letter only.
    RECT line = {0, 0, 100, 20};
    DrawTextW(canvas.dc(), L"File", -1, &line, DT_SINGLELINE | DT_LEFT);
    const std::string withoutMark = canvas.picture({0, 0, 100, 20}, black);
    const RECT all = {0, 0, 200, 60};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextW(canvas.dc(), L"&File", -1, &line, DT_SINGLELINE | DT_LEFT);
    const std::string withMark = canvas.picture({0, 0, 100, 20}, black);
    EXPECT_NE(withMark, withoutMark);
    const int fWidth = extent(canvas.dc(), L"F").cx;
    for (int y = 0; y < 20; ++y) {
        for (int x = fWidth + 1; x < 100; ++x)
            EXPECT_EQ(withMark[y * 101 + x], withoutMark[y * 101 + x]) << x << "," << y;
    }
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextW(canvas.dc(), L"&File", -1, &line, DT_SINGLELINE | DT_LEFT | DT_HIDEPREFIX);
    EXPECT_EQ(canvas.picture({0, 0, 100, 20}, black), withoutMark);

    // Centred both ways in a single line.
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT box = {20, 10, 180, 50};
    const int bottom =
        DrawTextW(canvas.dc(), L"OK", 2, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const int top = 10 + (40 - metrics.tmHeight) / 2;
    EXPECT_EQ(bottom, top - 10 + metrics.tmHeight);
    const auto [left, right] = canvas.paintedColumns(all);
    EXPECT_LE(std::abs((left + right) / 2 - 100), 1);
    EXPECT_EQ(canvas.painted({0, 0, 200, top}), 0);
    EXPECT_EQ(canvas.painted({0, top + metrics.tmHeight, 200, 60}), 0);
}

TEST(DrawText, LinesWrapAndEllipsis) {
    PaintSurface canvas(200, 80);
    FontScope font(canvas.dc(), fontNamed(L"MS Shell Dlg", -11));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(canvas.dc(), &metrics);
    const int wordWidth = extent(canvas.dc(), L"alpha beta").cx;

    RECT rect = {0, 0, wordWidth, 80};
    EXPECT_EQ(DrawTextW(canvas.dc(), L"alpha beta gamma", -1, &rect, DT_WORDBREAK | DT_CALCRECT),
              2 * metrics.tmHeight);
    EXPECT_EQ(rect.right, wordWidth);
    rect = {0, 0, 200, 80};
    EXPECT_EQ(DrawTextW(canvas.dc(), L"one\r\ntwo\nthree", -1, &rect, DT_CALCRECT),
              3 * metrics.tmHeight);
    EXPECT_EQ(rect.right, extent(canvas.dc(), L"three").cx);
    rect = {0, 0, 200, 80};
    EXPECT_EQ(DrawTextW(canvas.dc(), L"one\ntwo", -1, &rect, DT_CALCRECT | DT_SINGLELINE),
              metrics.tmHeight);
    EXPECT_EQ(rect.right, extent(canvas.dc(), L"onetwo").cx);

    const std::wstring longText = L"A rather long text that cannot fit";
    rect = {10, 10, 70, 30};
    DrawTextW(canvas.dc(), longText.c_str(), -1, &rect,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(rect.right, 70);
    EXPECT_GT(rect.right, 10);
    rect = {10, 10, 70, 30};
    DrawTextW(canvas.dc(), longText.c_str(), -1, &rect, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(canvas.painted({70, 0, 200, 80}), 0);
    EXPECT_GT(canvas.painted({10, 10, 70, 30}), 0);

    // Without an ellipsis the rectangle clips.
    rect = {10, 40, 70, 60};
    DrawTextW(canvas.dc(), longText.c_str(), -1, &rect, DT_SINGLELINE);
    EXPECT_EQ(canvas.painted({70, 0, 200, 80}), 0);
    rect = {10, 40, 70, 60};
    DrawTextW(canvas.dc(), longText.c_str(), -1, &rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(canvas.painted({70, 40, 200, 60}), 0);

    EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, -1, &rect, 0), 0);
    EXPECT_EQ(DrawTextW(canvas.dc(), L"x", -2, &rect, 0), 0);
    SIZE size = {};
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), L"x", -1, &size));
    EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, nullptr, 3));
}

} // namespace
