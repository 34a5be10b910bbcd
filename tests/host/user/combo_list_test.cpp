#include "scripted_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kLong = 10;
constexpr int kShort = 11;
constexpr int kLabel = 12;
constexpr int kEntries = 20;
constexpr int kShown = 8; // a dropped list shows this many rows at most

std::vector<int>* g_wheels = nullptr;

INT_PTR comboDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (int i = 0; i < kEntries; ++i) {
            const std::wstring entry = L"Entry " + std::to_wstring(100 + i);
            SendDlgItemMessageW(dialog, kLong, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(entry.c_str()));
        }
        for (const wchar_t* entry : {L"one", L"two", L"three"})
            SendDlgItemMessageW(dialog, kShort, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        return TRUE;
    }
    if (message == WM_MOUSEWHEEL)
        g_wheels->push_back(GET_WHEEL_DELTA_WPARAM(wParam));
    return FALSE;
}

class ComboListTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_wheels = &wheels;
        dialog = svCreateDialogFromTemplate(
            nullptr,
            dialogTemplate(
                L"Combos", 200, 120,
                {item(L"COMBOBOX", L"", kLong, CBS_DROPDOWNLIST | WS_TABSTOP, 7, 7, 100, 100),
                 item(L"COMBOBOX", L"", kShort, CBS_DROPDOWNLIST | WS_TABSTOP, 7, 25, 100, 60),
                 item(L"STATIC", L"Label", kLabel, 0, 120, 7, 60, 10)}),
            nullptr, comboDialogProc, 0);
        ShowWindow(dialog, SW_SHOW);
        combo = GetDlgItem(dialog, kLong);
        deliver();
    }
    void TearDown() override {
        DestroyWindow(dialog);
        g_wheels = nullptr;
    }

    void deliver() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg))
                DispatchMessageW(&msg);
    }
    void press(POINT at) {
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::left, true, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        deliver();
    }
    void open(HWND which) {
        press(svWindowCentre(which));
        ASSERT_TRUE(SendMessageW(which, CB_GETDROPPEDSTATE, 0, 0));
    }
    void wheel(POINT at, int notches) {
        svInputMouseMove(at);
        svInputMouseWheel(notches * WHEEL_DELTA, at);
        deliver();
    }
    HWND list() {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    RECT listRect() {
        RECT rect{};
        GetWindowRect(list(), &rect);
        return rect;
    }
    int rowHeight() { return static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0)); }
    // The screen point of a row the dropped list shows, counted from its top.
    POINT shownRow(int line) {
        const RECT rect = listRect();
        return {rect.left + 10, rect.top + 1 + line * rowHeight() + rowHeight() / 2};
    }
    // A point on the list's scroll bar, the given share of the way down.
    POINT onScrollBar(double share) {
        const RECT rect = listRect();
        return {rect.right - 4, rect.top + static_cast<LONG>((rect.bottom - rect.top) * share)};
    }
    int top() { return static_cast<int>(SendMessageW(combo, CB_GETTOPINDEX, 0, 0)); }
    int selection() { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

    std::vector<int> wheels;
    ScriptedScreen screen;
    HWND dialog = nullptr;
    HWND combo = nullptr;
};

TEST_F(ComboListTest, TheWheelScrollsALongListSoItsLastEntryIsClicked) {
    open(combo);
    EXPECT_EQ(listRect().bottom - listRect().top, kShown * rowHeight() + 2);
    wheel(shownRow(2), -1);
    EXPECT_EQ(top(), 3);
    wheel(shownRow(2), -10);
    EXPECT_EQ(top(), kEntries - kShown) << "the last page ends with the last entry";
    press(shownRow(kShown - 1));
    EXPECT_EQ(selection(), kEntries - 1);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    wchar_t text[32];
    GetWindowTextW(combo, text, 32);
    EXPECT_STREQ(text, L"Entry 119");
    // Opened again, the list starts where the chosen entry is seen.
    open(combo);
    EXPECT_EQ(top(), kEntries - kShown);
    // Entries taken away while it is open: the last page still ends with the last entry.
    for (int i = 0; i < 5; ++i)
        SendMessageW(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(top(), kEntries - 5 - kShown);
}

TEST_F(ComboListTest, KeysMoveTheSelectionAndTheListKeepsItInSight) {
    open(combo);
    for (int i = 0; i < 10; ++i)
        svInputKeyPress(VK_DOWN);
    deliver();
    EXPECT_EQ(selection(), 9);
    EXPECT_EQ(top(), 9 - kShown + 1);
    svInputKeyPress(VK_HOME);
    deliver();
    EXPECT_EQ(top(), 0);
    svInputKeyPress(VK_NEXT);
    deliver();
    EXPECT_EQ(selection(), kShown - 1);
    svInputKeyPress(VK_END);
    deliver();
    EXPECT_EQ(top(), kEntries - kShown);
    svInputKeyPress(VK_PRIOR);
    deliver();
    EXPECT_EQ(selection(), kEntries - kShown);
    EXPECT_EQ(top(), kEntries - kShown);
    svInputKeyPress(VK_RETURN);
    deliver();
    EXPECT_EQ(selection(), kEntries - kShown);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboListTest, TheScrollBarsArrowsTrackAndThumbScrollAndKeepTheListOpen) {
    open(combo);
    press(onScrollBar(0.98)); // the down arrow
    EXPECT_EQ(top(), 1);
    press(onScrollBar(0.7)); // the track below the thumb: a page
    EXPECT_EQ(top(), 1 + kShown);
    press(onScrollBar(0.02)); // the up arrow
    EXPECT_EQ(top(), kShown);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(selection(), CB_ERR) << "scrolling chooses nothing";

    // The thumb dragged to the bottom and beyond shows the last page.
    SendMessageW(combo, CB_SETTOPINDEX, 0, 0);
    const RECT rect = listRect();
    const POINT grab{rect.right - 4, rect.top + 22};
    svInputMouseMove(grab);
    svInputMouseButton(SvMouseButton::left, true, grab);
    svInputMouseMove({grab.x, rect.top + 40});
    deliver();
    EXPECT_GT(top(), 0);
    svInputMouseMove({grab.x, rect.bottom + 200});
    svInputMouseButton(SvMouseButton::left, false, {grab.x, rect.bottom + 200});
    deliver();
    EXPECT_EQ(top(), kEntries - kShown);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboListTest, AShortListDoesNotScrollAndTheWheelElsewhereStepsOrReachesTheDialog) {
    HWND shortCombo = GetDlgItem(dialog, kShort);
    open(shortCombo);
    RECT rect{};
    SendMessageW(shortCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
    RECT field{};
    GetWindowRect(shortCombo, &field);
    const POINT inList{field.left + 10, field.bottom + 5};
    wheel(inList, -1);
    EXPECT_EQ(SendMessageW(shortCombo, CB_GETTOPINDEX, 0, 0), 0);
    svInputKeyPress(VK_ESCAPE);
    deliver();

    // A closed list with the focus steps through its entries, one a notch.
    ASSERT_EQ(GetFocus(), shortCombo);
    wheel(svWindowCentre(shortCombo), -1);
    wheel(svWindowCentre(shortCombo), -1);
    EXPECT_EQ(SendMessageW(shortCombo, CB_GETCURSEL, 0, 0), 1);
    wheel(svWindowCentre(shortCombo), 5);
    EXPECT_EQ(SendMessageW(shortCombo, CB_GETCURSEL, 0, 0), 0);

    // Over a control that does not scroll, and over a closed list without the focus, the
    // wheel reaches the dialog.
    wheel(svWindowCentre(GetDlgItem(dialog, kLabel)), -1);
    wheel(svWindowCentre(combo), 1);
    EXPECT_EQ(wheels, (std::vector<int>{-WHEEL_DELTA, WHEEL_DELTA}));
    EXPECT_EQ(selection(), CB_ERR);
}

} // namespace
