#include <gtest/gtest.h>

#include <string>

#include "control_test_support.h"

using namespace comctl_test;

namespace {

const RECT kToolRect{50, 50, 150, 100};

class TooltipTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = createParent();
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                              0, 0, 0, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(tip, nullptr);
        TOOLINFOW tool = info(L"http://example.org/");
        ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    }
    void TearDown() override { DestroyWindow(parent); }

    TOOLINFOW info(const wchar_t* text) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = parent;
        tool.uId = 1;
        tool.rect = kToolRect;
        tool.lpszText = const_cast<wchar_t*>(text);
        return tool;
    }
    // Dispatches as a window relaying its mouse messages in PreTranslateMessage does.
    void pumpRelaying() {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    void moveTo(POINT client) {
        svInputMouseMove(onScreen(parent, client));
        pumpRelaying();
    }
    void wait(DWORD milliseconds) {
        svAdvanceClock(milliseconds);
        pumpRelaying();
    }
    std::wstring text() {
        wchar_t buffer[80] = {};
        TOOLINFOW tool = info(nullptr);
        tool.lpszText = buffer;
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return buffer;
    }

    HWND parent = nullptr;
    HWND tip = nullptr;
};

TEST_F(TooltipTest, TheTipShowsOnceThePointerRestsAndHidesWhenItLeaves) {
    moveTo(POINT{60, 60});
    EXPECT_FALSE(IsWindowVisible(tip));
    wait(200);
    moveTo(POINT{70, 60}); // moving on the tool starts the wait again
    wait(400);
    EXPECT_FALSE(IsWindowVisible(tip));
    wait(200);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(parentLog().count(TTN_SHOW), 1);
    RECT shown{};
    GetWindowRect(tip, &shown);
    EXPECT_GT(shown.right - shown.left, 40);
    EXPECT_GE(shown.top, onScreen(parent, POINT{70, 60}).y);

    moveTo(POINT{200, 60});
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(parentLog().count(TTN_POP), 1);
    wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, ThePointerLeavingWithoutARelayedMoveStillHidesTheTip) {
    moveTo(POINT{60, 60});
    wait(600);
    ASSERT_TRUE(IsWindowVisible(tip));
    SetCursorPos(900, 700);
    wait(200);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, AClickOrTheAutopopDelayEndsTheTipUntilThePointerComesBack) {
    moveTo(POINT{60, 60});
    wait(600);
    ASSERT_TRUE(IsWindowVisible(tip));
    wait(5000);
    EXPECT_FALSE(IsWindowVisible(tip));
    wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));

    moveTo(POINT{10, 10});
    moveTo(POINT{60, 60});
    wait(600);
    ASSERT_TRUE(IsWindowVisible(tip));
    svInputMouseButton(SvMouseButton::left, true, onScreen(parent, POINT{60, 60}));
    pumpRelaying();
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, UpdatingTheTextChangesWhatTheToolShows) {
    EXPECT_EQ(text(), L"http://example.org/");
    TOOLINFOW update = info(L"http://example.org/visited");
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
    EXPECT_EQ(text(), L"http://example.org/visited");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    moveTo(POINT{60, 60});
    wait(600);
    ASSERT_TRUE(IsWindowVisible(tip));
    RECT before{};
    GetWindowRect(tip, &before);
    TOOLINFOW shorter = info(L"x");
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&shorter));
    RECT after{};
    GetWindowRect(tip, &after);
    EXPECT_LT(after.right - after.left, before.right - before.left);
}

TEST_F(TooltipTest, MalformedToolsAreRefused) {
    TOOLINFOW tool = info(L"second");
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))); // same id
    tool.uId = 2;
    tool.cbSize = 8;
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, 0));
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, 0);
    SendMessageW(tip, TTM_RELAYEVENT, 0, 0);

    wchar_t buffer[8] = L"kept";
    TOOLINFOW unknown = info(nullptr);
    unknown.uId = 9;
    unknown.lpszText = buffer;
    SendMessageW(tip, TTM_GETTEXTW, 8, reinterpret_cast<LPARAM>(&unknown));
    EXPECT_EQ(std::wstring(buffer), L"kept");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    // A deleted tool shows nothing.
    TOOLINFOW gone = info(nullptr);
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&gone));
    moveTo(POINT{60, 60});
    wait(600);
    EXPECT_FALSE(IsWindowVisible(tip));
}

} // namespace
