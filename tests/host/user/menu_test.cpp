#include "scripted_screen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr UINT kNew = 32771;
constexpr UINT kEdit = 32772;
constexpr UINT kDelete = 32773;

std::vector<UINT> g_commands;

LRESULT ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        g_commands.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// A menu bar with one popup, in the platform's binary template layout.
std::vector<WORD> menuTemplate() {
    std::vector<WORD> words{0, 0}; // version, header size
    auto add = [&words](WORD flags, WORD id, const wchar_t* text, bool popup) {
        words.push_back(flags);
        if (!popup)
            words.push_back(id);
        for (; *text; ++text)
            words.push_back(static_cast<WORD>(*text));
        words.push_back(0);
    };
    add(MF_POPUP | MF_END, 0, L"Styles", true);
    add(0, kNew, L"New", false);
    add(MF_SEPARATOR, 0, L"", false);
    add(0, kEdit, L"Edit", false);
    add(MF_END, kDelete, L"Delete", false);
    return words;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        registerTestClass(L"SvMenuOwner", ownerProc);
        owner = CreateWindowExW(0, L"SvMenuOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
        words = menuTemplate();
        bar = LoadMenuIndirectW(words.data());
        popup = GetSubMenu(bar, 0);
    }
    void TearDown() override {
        DestroyMenu(bar);
        DestroyWindow(owner);
    }

    // A step that clicks the item with that id in the open popup.
    static ScriptedScreen::Step clickItem(UINT id) {
        return [id](HWND menuWindow) {
            auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(menu); ++i)
                if (GetMenuItemID(menu, i) == id) {
                    RECT rect;
                    ASSERT_TRUE(GetMenuItemRect(menuWindow, menu, static_cast<UINT>(i), &rect));
                    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
                    svInputMouseMove(centre);
                    svInputMouseButton(SvMouseButton::left, true, centre);
                    svInputMouseButton(SvMouseButton::left, false, centre);
                }
        };
    }

    BOOL track(UINT flags) { return TrackPopupMenu(popup, flags, 50, 60, 0, owner, nullptr); }

    ScriptedScreen screen;
    HWND owner = nullptr;
    std::vector<WORD> words;
    HMENU bar = nullptr;
    HMENU popup = nullptr;
};

TEST_F(MenuTest, ATemplateBecomesAMenuBarWithItsPopup) {
    ASSERT_TRUE(popup);
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(GetMenuItemID(popup, 0), kNew);
    EXPECT_EQ(GetMenuState(popup, 1, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), (4u << 8) | MF_POPUP);
    wchar_t text[16];
    EXPECT_EQ(GetMenuStringW(bar, kDelete, text, 16, MF_BYCOMMAND), 6) << "found in the popup";
    EXPECT_STREQ(text, L"Delete");
    EXPECT_EQ(EnableMenuItem(popup, kEdit, MF_DISABLED | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
    EXPECT_EQ(GetMenuState(popup, kEdit, MF_BYCOMMAND), static_cast<UINT>(MF_DISABLED | MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(popup, 999, MF_GRAYED), static_cast<UINT>(-1));
    CheckMenuItem(popup, kNew, MF_CHECKED);
    EXPECT_TRUE(GetMenuState(popup, kNew, MF_BYCOMMAND) & MF_CHECKED);
    words[0] = 5; // no version of the template layout
    EXPECT_EQ(LoadMenuIndirectW(words.data()), nullptr);
}

TEST_F(MenuTest, ReturnCommandAnswersTheChoiceAndSendsNothing) {
    screen.then(clickItem(kEdit));
    EXPECT_EQ(track(TPM_RETURNCMD | TPM_NONOTIFY), static_cast<BOOL>(kEdit));
    pumpMessages();
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(svModalDepth(), 0);
}

TEST_F(MenuTest, WithoutReturnCommandTheOwnerGetsWmCommand) {
    screen.then(clickItem(kNew));
    EXPECT_TRUE(track(0));
    pumpMessages();
    EXPECT_EQ(g_commands, std::vector<UINT>{kNew});
}

TEST_F(MenuTest, AGreyedItemIsNoChoiceAndEscapeAnswersZero) {
    EnableMenuItem(popup, kDelete, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    bool stillOpen = false;
    screen.then(clickItem(kDelete));
    screen.then([&stillOpen](HWND menuWindow) {
        stillOpen = IsWindowVisible(menuWindow) != FALSE;
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(track(TPM_RETURNCMD), 0);
    EXPECT_TRUE(stillOpen);
    screen.then(clickItem(kDelete));
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_FALSE(track(0));
    pumpMessages();
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(MenuTest, AClickOutsideDismissesAndKeysChoose) {
    screen.then([](HWND) {
        svInputMouseButton(SvMouseButton::left, true, {390, 290});
        svInputMouseButton(SvMouseButton::left, false, {390, 290});
    });
    EXPECT_EQ(track(TPM_RETURNCMD), 0);
    screen.then([](HWND) {
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_DOWN); // over the separator
        svInputKeyPress(VK_RETURN);
    });
    EXPECT_EQ(track(TPM_RETURNCMD), static_cast<BOOL>(kEdit));
}

TEST_F(MenuTest, ThePopupOpensAtThePointAndStaysOnTheScreen) {
    auto placedAt = [this](int x, int y) {
        RECT at{};
        screen.then([&at](HWND menuWindow) {
            GetWindowRect(menuWindow, &at);
            svInputKeyPress(VK_ESCAPE);
        });
        TrackPopupMenu(popup, TPM_RETURNCMD, x, y, 0, owner, nullptr);
        return at;
    };
    const RECT inside = placedAt(50, 60);
    EXPECT_EQ(inside.left, 50);
    EXPECT_EQ(inside.top, 60);
    const RECT pushedBack = placedAt(5000, 5000);
    EXPECT_EQ(pushedBack.right, 1024);
    EXPECT_EQ(pushedBack.bottom, 768);
}

TEST_F(MenuTest, DestroyedMenusAreDead) {
    HMENU made = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 5, L"five");
    AppendMenuW(made, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
    EXPECT_EQ(GetSubMenu(made, 0), sub);
    EXPECT_TRUE(DestroyMenu(made));
    EXPECT_FALSE(IsMenu(made));
    EXPECT_FALSE(IsMenu(sub)) << "a submenu goes with its menu";
    EXPECT_EQ(GetMenuItemCount(sub), -1);
    EXPECT_FALSE(TrackPopupMenu(made, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
}

} // namespace
