// The menu button inside a dialog of a test resource module, pressed, focused and disabled as a
// user would, its painting read back from snapshots.
#include "dialogs/CMenuButton.h"

#include <gtest/gtest.h>

#include "gdi/surface.h"
#include "host/user/scripted_screen.h"
#include "menu_button_test.h"
#include "mfc/afx.h"
#include "mfc/dialog.h"
#include "win/modules.h"

namespace {

class MenuButtonDialog : public CDialog {
public:
    MenuButtonDialog() : CDialog(IDD_MENU_BUTTON) {}

    CMenuButton m_button;
    UINT m_chosen = 0xFFFF;
    int m_commandsSent = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_MENU_BUTTON, m_button);
    }
    afx_msg void OnMenuButton() { m_chosen = m_button.ShowMenu(IDM_MENU_BUTTON); }
    afx_msg void OnChoiceCommand() { ++m_commandsSent; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuButtonDialog, CDialog)
ON_BN_CLICKED(IDC_MENU_BUTTON, &MenuButtonDialog::OnMenuButton)
ON_COMMAND(ID_FIRST_CHOICE, &MenuButtonDialog::OnChoiceCommand)
ON_COMMAND(ID_SECOND_CHOICE, &MenuButtonDialog::OnChoiceCommand)
END_MESSAGE_MAP()

// What one snapshot of the button shows.
struct Painted {
    COLORREF arrowTip = 0;   // the one-pixel column's pixel, right of the centre
    COLORREF arrowBase = 0;  // top of the seven-pixel column
    COLORREF belowBase = 0;  // just below the seven-pixel column
    COLORREF beyondTip = 0;  // right of the tip
    COLORREF aboveTip = 0;   // above the tip
    COLORREF corner = 0;     // the frame's top-left pixel
    bool focusRow = false;   // anything but the face on the row 3 pixels in
    bool rowTwoPlain = true; // row 2 is face only
};

Painted snapshot(HWND button) {
    RECT client;
    GetClientRect(button, &client);
    const int cx = client.right / 2;
    const int cy = client.bottom / 2;
    SvSurface* picture = svSnapshotWindow(button);
    Painted painted;
    painted.arrowTip = svSurfacePixel(picture, cx + 1, cy);
    painted.arrowBase = svSurfacePixel(picture, cx - 2, cy - 3);
    painted.belowBase = svSurfacePixel(picture, cx - 2, cy + 4);
    painted.beyondTip = svSurfacePixel(picture, cx + 2, cy);
    painted.aboveTip = svSurfacePixel(picture, cx + 1, cy - 1);
    painted.corner = svSurfacePixel(picture, 0, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = 3; x < client.right - 3; ++x) {
        painted.focusRow |= svSurfacePixel(picture, x, 3) != face;
        painted.rowTwoPlain &= svSurfacePixel(picture, x, 2) == face;
    }
    svDestroySurface(picture);
    return painted;
}

class MenuButtonTest : public testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryW(L"res_arx_tests.dll");
        ASSERT_NE(m_module, nullptr);
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override { AfxSetResourceHandle(m_previous); }

    HWND button(HWND dialog) const { return GetDlgItem(dialog, IDC_MENU_BUTTON); }

    ScriptedScreen screen;
    MenuButtonDialog dialog;

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

void expectArrowIn(const Painted& painted, COLORREF colour) {
    EXPECT_EQ(painted.arrowTip, colour);
    EXPECT_EQ(painted.arrowBase, colour);
    EXPECT_NE(painted.belowBase, colour) << "the tallest column is seven pixels";
    EXPECT_NE(painted.beyondTip, colour) << "four columns wide";
    EXPECT_NE(painted.aboveTip, colour) << "the tip is one pixel";
}

TEST_F(MenuButtonTest, ArrowFrameAndFocusFollowTheButtonsState) {
    ASSERT_NE(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_GRAYTEXT));
    Painted focused, unfocused, pressed, disabled;
    screen.then([&](HWND modal) {
        focused = snapshot(button(modal));
        SetFocus(GetDlgItem(modal, IDC_OTHER_BUTTON));
        unfocused = snapshot(button(modal));
        const POINT centre = svWindowCentre(button(modal));
        svInputMouseMove(centre);
        svInputMouseButton(SvMouseButton::left, true, centre);
    });
    screen.then([&](HWND modal) {
        pressed = snapshot(button(modal));
        // Released away from the button: no click, no menu.
        svInputMouseButton(SvMouseButton::left, false, {1000, 700});
    });
    screen.then([&](HWND modal) {
        EnableWindow(button(modal), FALSE);
        disabled = snapshot(button(modal));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_chosen, 0xFFFFu) << "no click reached the button";

    expectArrowIn(focused, GetSysColor(COLOR_BTNTEXT));
    expectArrowIn(unfocused, GetSysColor(COLOR_BTNTEXT));
    expectArrowIn(pressed, GetSysColor(COLOR_BTNTEXT));
    expectArrowIn(disabled, GetSysColor(COLOR_GRAYTEXT));

    EXPECT_TRUE(focused.focusRow);
    EXPECT_TRUE(focused.rowTwoPlain) << "the focus rectangle lies 3 pixels in";
    EXPECT_FALSE(unfocused.focusRow);
    EXPECT_TRUE(pressed.focusRow) << "a press takes the focus";

    EXPECT_EQ(unfocused.corner, focused.corner);
    EXPECT_NE(pressed.corner, unfocused.corner) << "sunken while pressed";
    EXPECT_EQ(pressed.corner, GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(MenuButtonTest, TheMenuOpensBelowTheButtonAndOnlyReturnsTheChoice) {
    RECT buttonRect{}, menuRect{};
    screen.then([&](HWND modal) {
        GetWindowRect(button(modal), &buttonRect);
        svInputClick(button(modal));
    });
    screen.then([&](HWND menuWindow) {
        GetWindowRect(menuWindow, &menuRect);
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
    });
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_chosen, static_cast<UINT>(ID_SECOND_CHOICE));
    EXPECT_EQ(dialog.m_commandsSent, 0);
    EXPECT_EQ(menuRect.left, buttonRect.left);
    EXPECT_EQ(menuRect.top, buttonRect.bottom);
}

TEST_F(MenuButtonTest, EscapeOrAClickOutsideReturnsZero) {
    std::vector<UINT> chosen;
    auto open = [this](HWND modal) { svInputClick(button(modal)); };
    screen.then(open);
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    screen.then([&](HWND modal) {
        chosen.push_back(dialog.m_chosen);
        open(modal);
    });
    screen.then([](HWND) {
        svInputMouseButton(SvMouseButton::left, true, {900, 700});
        svInputMouseButton(SvMouseButton::left, false, {900, 700});
    });
    screen.then([&](HWND) {
        chosen.push_back(dialog.m_chosen);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(chosen, (std::vector<UINT>{0, 0}));
    EXPECT_EQ(dialog.m_commandsSent, 0);
}

TEST_F(MenuButtonTest, AMissingMenuShowsNothing) {
    screen.then([&](HWND) {
        dialog.m_chosen = dialog.m_button.ShowMenu(9999);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_chosen, 0u);
    EXPECT_EQ(screen.waits.size(), 1u) << "no menu loop ran";
}

} // namespace
