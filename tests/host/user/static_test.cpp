#include "scripted_screen.h"

#include "gdi/surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kLeft = 10;
constexpr int kCentre = 11;
constexpr int kRight = 12;

INT_PTR plainProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The leftmost and rightmost columns of a control that hold anything but its background.
std::pair<int, int> inkColumns(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    SvSurface* picture = svSnapshotWindow(control);
    std::pair<int, int> columns{-1, -1};
    for (int x = 0; x < svSurfaceWidth(picture); ++x)
        for (int y = 0; y < svSurfaceHeight(picture); ++y)
            if (svSurfacePixel(picture, x, y) != GetSysColor(COLOR_3DFACE)) {
                if (columns.first < 0)
                    columns.first = x;
                columns.second = x;
            }
    svDestroySurface(picture);
    return columns;
}

TEST(StaticTest, AlignmentStylesPlaceTheText) {
    const SvResDialog dialogTemplate_ = dialogTemplate(
        L"Statics", 100, 60,
        {item(L"STATIC", L"Text", kLeft, SS_LEFT, 5, 5, 90, 10),
         item(L"STATIC", L"Text", kCentre, SS_CENTER, 5, 20, 90, 10),
         item(L"STATIC", L"Text", kRight, SS_RIGHT | SS_CENTERIMAGE, 5, 35, 90, 20)});
    HWND dialog = svCreateDialogFromTemplate(nullptr, dialogTemplate_, nullptr, plainProc, 0);
    ASSERT_TRUE(dialog);
    RECT box;
    GetClientRect(GetDlgItem(dialog, kLeft), &box);
    const auto left = inkColumns(dialog, kLeft);
    const auto centre = inkColumns(dialog, kCentre);
    const auto right = inkColumns(dialog, kRight);
    ASSERT_GE(left.first, 0);
    EXPECT_LT(left.first, 3);
    EXPECT_GT(right.second, box.right - 4);
    EXPECT_NEAR((centre.first + centre.second) / 2, box.right / 2, 2);
    EXPECT_EQ(left.second - left.first, right.second - right.first) << "the same text";
    DestroyWindow(dialog);
}

TEST(StaticTest, WithoutNotifyAClickGoesToTheParent) {
    ScriptedScreen screen;
    const SvResDialog dialogTemplate_ =
        dialogTemplate(L"Statics", 100, 40,
                       {item(L"STATIC", L"Quiet", kLeft, SS_LEFT, 5, 5, 90, 10),
                        item(L"STATIC", L"Loud", kRight, SS_NOTIFY, 5, 20, 90, 10)});
    HWND dialog = svCreateDialogFromTemplate(nullptr, dialogTemplate_, nullptr, plainProc, 0);
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(WindowFromPoint(svWindowCentre(GetDlgItem(dialog, kLeft))), dialog);
    EXPECT_EQ(WindowFromPoint(svWindowCentre(GetDlgItem(dialog, kRight))),
              GetDlgItem(dialog, kRight));
    DestroyWindow(dialog);
}

// A binary template as a module's resource holds it: DLGTEMPLATE with a font, one push button.
std::vector<WORD> binaryTemplate() {
    std::vector<WORD> words;
    auto dword = [&words](DWORD value) {
        words.push_back(static_cast<WORD>(value & 0xFFFF));
        words.push_back(static_cast<WORD>(value >> 16));
    };
    auto text = [&words](const wchar_t* s) {
        for (; *s; ++s)
            words.push_back(static_cast<WORD>(*s));
        words.push_back(0);
    };
    // Word by word: vector::insert of a list here draws a false -Wstringop-overflow from g++ 12
    // at -O3.
    auto append = [&words](std::initializer_list<WORD> list) {
        for (WORD w : list)
            words.push_back(w);
    };
    dword(WS_POPUP | WS_CAPTION | DS_SETFONT);
    dword(0);
    append({1, 0, 0, 100, 40}); // items, x, y, cx, cy
    append({0, 0});             // no menu, the dialog class
    text(L"Binary");
    words.push_back(8);
    text(L"MS Shell Dlg");
    if (words.size() % 2)
        words.push_back(0);
    dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    dword(0);
    append({5, 5, 40, 14, IDOK, 0xFFFF, 0x0080});
    text(L"OK");
    words.push_back(0); // no creation data
    return words;
}

INT_PTR okProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        EndDialog(dialog, 77);
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

TEST(StaticTest, ABinaryTemplateRunsModally) {
    ScriptedScreen screen;
    std::wstring caption;
    screen.then([&caption](HWND dialog) {
        wchar_t text[32];
        GetWindowTextW(dialog, text, 32);
        caption = text;
        svInputKeyPress(VK_RETURN);
    });
    const std::vector<WORD> words = binaryTemplate();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                      nullptr, okProc, 0),
              77);
    EXPECT_EQ(caption, L"Binary");
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, okProc, 0), -1);
}

} // namespace
