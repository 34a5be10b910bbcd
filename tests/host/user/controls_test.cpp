#include "scripted_screen.h"

#include "gdi/dc.h"
#include "gdi/objects.h"
#include "gdi/surface.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kName = 10;
constexpr int kNumber = 11;
constexpr int kLocked = 12;
constexpr int kCheck = 20;
constexpr int kRadioA = 21;
constexpr int kRadioB = 22;
constexpr int kRadioC = 23;
constexpr int kLink = 30;

struct Seen {
    std::vector<std::pair<int, int>> commands;
    bool linkCursor = false;
};
Seen* g_seen = nullptr;

INT_PTR controlsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        g_seen->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // The link's text is drawn in the colour the parent sets, on no background at all.
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, kLink)) {
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 238));
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return FALSE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, kLink)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            g_seen->linkCursor = true;
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

SvResDialog controls() {
    return dialogTemplate(
        L"Controls", 200, 110,
        {item(L"EDIT", L"start", kName, WS_BORDER | WS_TABSTOP, 7, 7, 100, 12),
         item(L"EDIT", L"", kNumber, WS_BORDER | WS_TABSTOP | ES_NUMBER, 7, 22, 100, 12),
         item(L"EDIT", L"fixed", kLocked, WS_BORDER | WS_TABSTOP | ES_READONLY, 7, 37, 100, 12),
         item(L"BUTTON", L"Check", kCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 52, 60, 10),
         item(L"BUTTON", L"A", kRadioA, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 7, 64, 40, 10),
         item(L"BUTTON", L"B", kRadioB, BS_AUTORADIOBUTTON, 7, 76, 40, 10),
         item(L"BUTTON", L"C", kRadioC, BS_AUTORADIOBUTTON, 7, 88, 40, 10),
         item(L"STATIC", L"Link", kLink, SS_NOTIFY | WS_GROUP, 120, 7, 40, 10),
         item(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 120, 88, 50, 14)});
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen = &seen;
        dialog = svCreateDialogFromTemplate(nullptr, controls(), nullptr, controlsProc, 0);
        ShowWindow(dialog, SW_SHOW);
        pumpMessages();
        seen.commands.clear();
    }
    void TearDown() override {
        DestroyWindow(dialog);
        g_seen = nullptr;
    }

    // Delivers queued input as the dialog's own loop would.
    void deliver() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg))
                DispatchMessageW(&msg);
    }

    std::wstring text(int id) {
        wchar_t buffer[64];
        GetDlgItemTextW(dialog, id, buffer, 64);
        return buffer;
    }

    int count(int id, int code) const {
        return static_cast<int>(
            std::count(seen.commands.begin(), seen.commands.end(), std::make_pair(id, code)));
    }

    Seen seen;
    ScriptedScreen screen;
    HWND dialog = nullptr;
};

TEST_F(ControlsTest, TheFirstEditHasItsTextSelectedAndTypingReplacesIt) {
    HWND edit = GetDlgItem(dialog, kName);
    ASSERT_EQ(GetFocus(), edit);
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 5u);
    svInputText(L"go");
    deliver();
    EXPECT_EQ(text(kName), L"go");
    EXPECT_EQ(count(kName, EN_CHANGE), 2);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    svInputKeyPress(VK_HOME);
    svInputKeyPress(VK_DELETE);
    svInputKeyPress(VK_END);
    svInputText(L"ne");
    deliver();
    EXPECT_EQ(text(kName), L"one");
}

TEST_F(ControlsTest, EditsRefuseWhatTheirStyleForbidsWithABeep) {
    SetFocus(GetDlgItem(dialog, kNumber));
    const UINT beeps = svBeepCount();
    svInputText(L"4x2");
    deliver();
    EXPECT_EQ(text(kNumber), L"42");
    EXPECT_EQ(svBeepCount(), beeps + 1);

    SetFocus(GetDlgItem(dialog, kLocked));
    seen.commands.clear();
    svInputText(L"zz");
    svInputKeyPress(VK_DELETE);
    deliver();
    EXPECT_EQ(text(kLocked), L"fixed");
    EXPECT_EQ(count(kLocked, EN_CHANGE), 0);
    EXPECT_EQ(svBeepCount(), beeps + 4);
}

TEST_F(ControlsTest, TheEditLimitCutsTypingAndTellsTheParent) {
    HWND edit = GetDlgItem(dialog, kName);
    SendMessageW(edit, EM_LIMITTEXT, 6, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 6);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"!?"));
    EXPECT_EQ(text(kName), L"start!");
    EXPECT_EQ(count(kName, EN_MAXTEXT), 1);
    SetWindowTextW(edit, L"set");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0)) << "a program's text is no edit";
    EXPECT_EQ(count(kName, EN_CHANGE), 2);
}

TEST_F(ControlsTest, CheckBoxesToggleAndRadioButtonsStayExclusiveInTheirGroup) {
    svInputClick(GetDlgItem(dialog, kCheck));
    deliver();
    EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_CHECKED));
    svInputKeyPress(VK_SPACE);
    deliver();
    EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(count(kCheck, BN_CLICKED), 2);

    svInputClick(GetDlgItem(dialog, kRadioA));
    deliver();
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_CHECKED));
    // Arrows move within the group and choose as they go; the group ends before the link.
    svInputKeyPress(VK_DOWN);
    svInputKeyPress(VK_DOWN);
    deliver();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kRadioC));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioC), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_UNCHECKED));
    svInputKeyPress(VK_DOWN);
    deliver();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kRadioA)) << "round the group";
}

TEST_F(ControlsTest, ALinkStaticGetsItsCursorItsClickAndItsColours) {
    HWND link = GetDlgItem(dialog, kLink);
    svInputClick(link);
    deliver();
    EXPECT_TRUE(seen.linkCursor);
    EXPECT_EQ(svCursorSystemId(GetCursor()), 32649u);
    EXPECT_EQ(count(kLink, STN_CLICKED), 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kName)) << "a static takes no focus";

    SvSurface* picture = svSnapshotWindow(dialog);
    RECT rect;
    GetWindowRect(link, &rect);
    POINT origin{rect.left, rect.top};
    ScreenToClient(dialog, &origin);
    int linkPixels = 0;
    int blackPixels = 0;
    for (int x = origin.x; x < origin.x + (rect.right - rect.left); ++x)
        for (int y = origin.y; y < origin.y + (rect.bottom - rect.top); ++y) {
            const COLORREF pixel = svSurfacePixel(picture, x, y);
            linkPixels += pixel == RGB(0, 0, 238);
            blackPixels += pixel == RGB(0, 0, 0);
        }
    svDestroySurface(picture);
    EXPECT_GT(linkPixels, 10);
    EXPECT_EQ(blackPixels, 0) << "the parent's colour, not the default text colour";
}

TEST_F(ControlsTest, CloseAndEscapeMeanCancelUnlessCancelIsDisabled) {
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    const UINT beeps = svBeepCount();
    svInputKeyPress(VK_ESCAPE);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    deliver();
    EXPECT_EQ(count(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(svBeepCount(), beeps + 2);
    EnableWindow(GetDlgItem(dialog, IDCANCEL), TRUE);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    deliver();
    EXPECT_EQ(count(IDCANCEL, BN_CLICKED), 1);
}

TEST_F(ControlsTest, APressReleasedOutsideTheButtonIsNoClick) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    const POINT centre = svWindowCentre(cancel);
    RECT rect;
    GetWindowRect(cancel, &rect);
    const POINT outside{rect.left - 20, rect.top - 20};
    svInputMouseMove(centre);
    svInputMouseButton(SvMouseButton::left, true, centre);
    deliver();
    EXPECT_TRUE(SendMessageW(cancel, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(GetCapture(), cancel);
    svInputMouseMove(outside);
    deliver();
    EXPECT_FALSE(SendMessageW(cancel, BM_GETSTATE, 0, 0) & BST_PUSHED) << "pops up outside";
    svInputMouseButton(SvMouseButton::left, false, outside);
    deliver();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(count(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(SendMessageW(cancel, BM_GETSTATE, 0, 0) & BST_FOCUS);
}

TEST_F(ControlsTest, DialogItemNumbers) {
    SetDlgItemInt(dialog, kNumber, static_cast<UINT>(-12), TRUE);
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, kNumber, &ok, TRUE)), -12);
    EXPECT_TRUE(ok);
    GetDlgItemInt(dialog, kNumber, &ok, FALSE);
    EXPECT_FALSE(ok) << "negative where unsigned is asked";
    SetDlgItemTextW(dialog, kNumber, L"12x");
    GetDlgItemInt(dialog, kNumber, &ok, TRUE);
    EXPECT_FALSE(ok);
}

} // namespace
