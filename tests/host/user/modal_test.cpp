#include "scripted_screen.h"

#include "gdi/surface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kOpen = 300;

struct Nesting {
    std::vector<std::wstring> log;
    INT_PTR innerResult = 0;
    int boxResult = 0;
};

Nesting* g_nesting = nullptr;

SvResDialog level(const wchar_t* caption) {
    return dialogTemplate(
        caption, 120, 50,
        {item(L"BUTTON", L"Open", kOpen, BS_PUSHBUTTON | WS_TABSTOP, 7, 7, 50, 14),
         item(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 60, 7, 50, 14)});
}

INT_PTR innerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND)
        return message == WM_INITDIALOG;
    if (LOWORD(wParam) == kOpen) {
        g_nesting->boxResult =
            MessageBoxW(dialog, L"Really?", L"Question", MB_OKCANCEL | MB_ICONQUESTION);
        g_nesting->log.push_back(L"box " + std::to_wstring(g_nesting->boxResult));
    } else if (LOWORD(wParam) == IDCANCEL) {
        g_nesting->log.push_back(L"inner cancel");
        EndDialog(dialog, IDCANCEL);
    }
    return TRUE;
}

INT_PTR outerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND)
        return message == WM_INITDIALOG;
    if (LOWORD(wParam) == kOpen) {
        g_nesting->innerResult =
            svDialogBoxFromTemplate(nullptr, level(L"Inner"), dialog, innerProc, 0);
        g_nesting->log.push_back(L"inner " + std::to_wstring(g_nesting->innerResult));
    } else if (LOWORD(wParam) == IDCANCEL) {
        g_nesting->log.push_back(L"outer cancel");
        EndDialog(dialog, IDCANCEL);
    }
    return TRUE;
}

std::wstring captionOf(HWND window) {
    wchar_t text[64];
    GetWindowTextW(window, text, 64);
    return text;
}

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { g_nesting = &nesting; }
    void TearDown() override { g_nesting = nullptr; }

    Nesting nesting;
    ScriptedScreen screen;
};

TEST_F(ModalTest, EscapeClosesOnlyTheInnermostOfNestedModalLoops) {
    std::vector<std::wstring> waiting;
    std::vector<int> depths;
    auto note = [&](HWND modal) {
        waiting.push_back(captionOf(modal));
        depths.push_back(svModalDepth());
    };
    screen.then([&](HWND modal) {
        note(modal);
        svInputClick(GetDlgItem(modal, kOpen));
    });
    screen.then([&](HWND modal) {
        note(modal);
        EXPECT_FALSE(IsWindowEnabled(svModalWindow(0))) << "the outer dialog waits";
        svInputClick(GetDlgItem(modal, kOpen));
    });
    screen.then([&](HWND modal) {
        note(modal);
        EXPECT_EQ(svModalWindow(2), modal);
        svInputKeyPress(VK_ESCAPE);
    });
    screen.then([&](HWND modal) {
        note(modal);
        svInputKeyPress(VK_ESCAPE);
    });
    screen.then([&](HWND modal) {
        note(modal);
        EXPECT_TRUE(IsWindowEnabled(modal));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(svDialogBoxFromTemplate(nullptr, level(L"Outer"), nullptr, outerProc, 0), IDCANCEL);
    const std::vector<std::wstring> expectedWaits{L"Outer", L"Inner", L"Question", L"Inner",
                                                  L"Outer"};
    EXPECT_EQ(waiting, expectedWaits);
    EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 2, 1}));
    const std::vector<std::wstring> expectedLog{L"box 2", L"inner cancel", L"inner 2",
                                                L"outer cancel"};
    EXPECT_EQ(nesting.log, expectedLog);
    EXPECT_EQ(svModalDepth(), 0);
    EXPECT_EQ(screen.shown.size(), 3u) << "each modal window was shown on the screen";
}

TEST_F(ModalTest, ALoopOfItsOwnTellsTheScreenItsWindow) {
    HWND dialog = svCreateDialogFromTemplate(nullptr, level(L"Own loop"), nullptr, outerProc, 0);
    ShowWindow(dialog, SW_SHOW);
    svEnterModalLoop(dialog);
    screen.then([](HWND modal) { svInputClick(GetDlgItem(modal, IDCANCEL)); });
    MSG msg;
    while (IsWindowVisible(dialog) && GetMessageW(&msg, nullptr, 0, 0) > 0)
        if (!IsDialogMessageW(dialog, &msg))
            DispatchMessageW(&msg);
    EXPECT_EQ(svModalDepth(), 1);
    svLeaveModalLoop(dialog);
    EXPECT_EQ(svModalDepth(), 0);
    EXPECT_EQ(screen.waits, std::vector<HWND>{dialog});
    EXPECT_EQ(nesting.log, std::vector<std::wstring>{L"outer cancel"});
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), -1) << "no more input: the loop must end";
    DestroyWindow(dialog);
}

std::wstring dialogText(HWND box, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(box, id, text, 64);
    return text;
}

TEST_F(ModalTest, MessageBoxButtonsDefaultsAndEscape) {
    std::wstring shown;
    HWND defaultButton = nullptr;
    screen.then([&](HWND box) {
        shown = dialogText(box, SV_MSGBOX_TEXT_ID) + L"|" + dialogText(box, IDYES) + L"|" +
                dialogText(box, IDNO);
        defaultButton = GetDlgItem(box, LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)));
        EXPECT_EQ(GetFocus(), defaultButton);
        HWND icon = GetDlgItem(box, SV_MSGBOX_ICON_ID);
        SvSurface* picture = svSnapshotWindow(icon);
        ASSERT_TRUE(picture);
        EXPECT_EQ(svSurfacePixel(picture, 1, 1), RGB(0, 64, 192)) << "the question's tile";
        svDestroySurface(picture);
        svInputKeyPress(VK_RETURN);
    });
    EXPECT_EQ(
        MessageBoxW(nullptr, L"Delete it?", L"Confirm", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
        IDNO);
    EXPECT_EQ(shown, L"Delete it?|&Yes|&No");
    EXPECT_EQ(GetDlgCtrlID(defaultButton), 0) << "the box is gone";

    // Yes/No has no Cancel: Esc does nothing until a button is chosen.
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    screen.then([](HWND box) { svInputClick(GetDlgItem(box, IDYES)); });
    EXPECT_EQ(MessageBoxW(nullptr, L"Sure?", L"Confirm", MB_YESNO), IDYES);

    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(nullptr, L"Done.", nullptr, MB_OK), IDOK);

    const UINT beeps = svBeepCount();
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(nullptr, L"Failed.", L"Error", MB_OKCANCEL | MB_ICONERROR), IDCANCEL);
    EXPECT_EQ(svBeepCount(), beeps + 1);
    EXPECT_EQ(svLastBeep(), static_cast<UINT>(MB_ICONERROR));

    EXPECT_EQ(MessageBoxW(nullptr, L"Nobody answers.", L"Headless", MB_OK), 0);
}

} // namespace
