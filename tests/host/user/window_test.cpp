#include "scripted_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_log;

std::wstring nameOf(HWND window) {
    wchar_t text[64];
    GetWindowTextW(window, text, 64);
    return text;
}

LRESULT loggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        g_log.push_back(L"destroy " + nameOf(window));
        break;
    case WM_NCDESTROY:
        g_log.push_back(L"ncdestroy " + nameOf(window));
        break;
    case WM_SETFOCUS:
        g_log.push_back(L"setfocus " + nameOf(window));
        break;
    case WM_KILLFOCUS:
        g_log.push_back(L"killfocus " + nameOf(window));
        break;
    case WM_CAPTURECHANGED:
        g_log.push_back(L"capturechanged " + nameOf(window));
        break;
    case WM_SETCURSOR:
        g_log.push_back(L"setcursor " + nameOf(window) + L" " +
                        std::to_wstring(static_cast<short>(LOWORD(lParam))) + L" " +
                        std::to_wstring(HIWORD(lParam)));
        break;
    case WM_LBUTTONDOWN:
        g_log.push_back(L"lbuttondown " + nameOf(window) + L" " +
                        std::to_wstring(GET_X_LPARAM(lParam)) + L"," +
                        std::to_wstring(GET_Y_LPARAM(lParam)));
        return 0;
    case WM_USER:
        return 42;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        registerTestClass(L"SvLogging", loggingProc, LoadCursorW(nullptr, IDC_CROSS));
    }

    HWND make(const wchar_t* name, DWORD style, HWND parent, int x, int y, int cx, int cy) {
        return CreateWindowExW(0, L"SvLogging", name, style, x, y, cx, cy, parent, nullptr, nullptr,
                               nullptr);
    }
};

TEST_F(WindowTest, DestroyedHandlesStayDeadWhenTheirSlotIsReused) {
    HWND first = make(L"first", WS_POPUP, nullptr, 0, 0, 10, 10);
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(SendMessageW(first, WM_USER, 0, 0), 42);
    ASSERT_TRUE(DestroyWindow(first));

    HWND second = make(L"second", WS_POPUP, nullptr, 0, 0, 10, 10);
    ASSERT_TRUE(IsWindow(second));
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessageW(first, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(first, WM_USER, 0, 0));
    EXPECT_EQ(GetWindowTextLengthW(first), 0);
    EXPECT_FALSE(SetWindowTextW(first, L"revived"));
    EXPECT_EQ(nameOf(second), L"second");
    EXPECT_FALSE(DestroyWindow(first));
    // A made-up handle is refused, not followed.
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x12345678)));
}

TEST_F(WindowTest, DestroyingGoesDownWithWmDestroyAndBackUpWithWmNcDestroy) {
    HWND top = make(L"top", WS_POPUP, nullptr, 0, 0, 100, 100);
    HWND child = make(L"child", WS_CHILD, top, 0, 0, 50, 50);
    HWND grandchild = make(L"grandchild", WS_CHILD, child, 0, 0, 10, 10);
    HWND owned = make(L"owned", WS_POPUP, top, 0, 0, 10, 10);
    g_log.clear();
    DestroyWindow(top);
    const std::vector<std::wstring> expected{
        L"destroy owned",      L"ncdestroy owned",      L"destroy top",     L"destroy child",
        L"destroy grandchild", L"ncdestroy grandchild", L"ncdestroy child", L"ncdestroy top"};
    EXPECT_EQ(g_log, expected);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowTest, TreeStylesTextAndLongs) {
    HWND top = make(L"top", WS_POPUP, nullptr, 0, 0, 100, 100);
    HWND a = CreateWindowExW(0, L"SvLogging", L"a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
    HWND b = make(L"b", WS_CHILD | WS_DISABLED, top, 0, 0, 10, 10);
    EXPECT_EQ(GetParent(a), top);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetDlgCtrlID(a), 7);
    EXPECT_EQ(GetDlgItem(top, 7), a);
    EXPECT_TRUE(IsChild(top, a));
    EXPECT_FALSE(IsWindowEnabled(b));
    EXPECT_FALSE(IsWindowVisible(a)) << "its parent is hidden";
    ShowWindow(top, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(a));

    SetWindowTextW(a, L"changed");
    wchar_t text[4];
    EXPECT_EQ(GetWindowTextW(a, text, 4), 3);
    EXPECT_STREQ(text, L"cha");
    EXPECT_EQ(GetWindowTextLengthW(a), 7);

    SetWindowLongPtrW(a, GWLP_USERDATA, 99);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_USERDATA), 99);
    SetWindowLongW(a, GWL_STYLE, static_cast<LONG>(GetWindowLongW(a, GWL_STYLE) | WS_TABSTOP));
    EXPECT_TRUE(GetWindowLongW(a, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetWindowLongPtrW(a, 1000), 0) << "no extra bytes";
}

WNDPROC g_original = nullptr;

LRESULT subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
        return 1 + CallWindowProcW(g_original, window, message, wParam, lParam);
    return CallWindowProcW(g_original, window, message, wParam, lParam);
}

TEST_F(WindowTest, ClassesAreFoundByNameWithoutCaseAndByAtom) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = loggingProc;
    windowClass.lpszClassName = L"SvAtomic";
    const WORD atom = RegisterClassW(&windowClass);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassW(&windowClass), 0) << "registered once";
    HWND byAtom = CreateWindowExW(0, MAKEINTRESOURCEW(atom), L"a", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(byAtom);
    wchar_t name[32];
    EXPECT_EQ(GetClassNameW(byAtom, name, 32), 8);
    EXPECT_STREQ(name, L"SvAtomic");
    EXPECT_FALSE(UnregisterClassW(L"svatomic", nullptr)) << "a window still uses it";
    DestroyWindow(byAtom);
    EXPECT_TRUE(UnregisterClassW(L"svatomic", nullptr));
    EXPECT_EQ(CreateWindowExW(0, MAKEINTRESOURCEW(atom), L"a", WS_POPUP, 0, 0, 1, 1, nullptr,
                              nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_FALSE(UnregisterClassW(WC_BUTTONW, nullptr)) << "the system's classes stay";
}

TEST_F(WindowTest, SubclassingChainsToTheOriginalProcedure) {
    HWND window = make(L"w", WS_POPUP, nullptr, 0, 0, 10, 10);
    g_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
    EXPECT_EQ(g_original, loggingProc);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 43);
}

TEST_F(WindowTest, RectanglesAndCoordinates) {
    HWND top = make(L"top", WS_POPUP, nullptr, 100, 50, 300, 200);
    HWND child = make(L"child", WS_CHILD, top, 10, 20, 30, 40);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 140);
    EXPECT_EQ(rect.bottom, 110);
    GetClientRect(child, &rect);
    EXPECT_EQ(rect.right, 30);
    POINT point{115, 75};
    ScreenToClient(child, &point);
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, 5);
    ClientToScreen(top, &point);
    EXPECT_EQ(point.x, 105);
    SetWindowPos(child, nullptr, 1, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 101);
    EXPECT_EQ(rect.right - rect.left, 30);
}

TEST_F(WindowTest, FocusAndCaptureTellBothSides) {
    HWND top = make(L"top", WS_POPUP | WS_VISIBLE, nullptr, 0, 0, 100, 100);
    HWND a = make(L"a", WS_CHILD | WS_VISIBLE, top, 0, 0, 10, 10);
    HWND b = make(L"b", WS_CHILD | WS_VISIBLE, top, 20, 0, 10, 10);
    SetFocus(a);
    g_log.clear();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(GetFocus(), b);
    SetCapture(a);
    EXPECT_EQ(GetCapture(), a);
    SetCapture(b);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<std::wstring> expected{L"killfocus a", L"setfocus b", L"capturechanged a",
                                             L"capturechanged b"};
    EXPECT_EQ(g_log, expected);
    // A disabled window does not take the focus, and disabling the focus takes it away.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, MouseInputFindsTheWindowUnderThePointAfterWmSetCursor) {
    ScriptedScreen screen;
    HWND top = make(L"top", WS_POPUP | WS_VISIBLE, nullptr, 100, 100, 200, 200);
    HWND child = make(L"child", WS_CHILD | WS_VISIBLE, top, 50, 50, 20, 20);
    g_log.clear();
    svInputMouseButton(SvMouseButton::left, true, {155, 157});
    pumpMessages();
    POINT at;
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 155);
    const std::vector<std::wstring> expected{L"setcursor child 1 513", L"setcursor top 1 513",
                                             L"lbuttondown child 5,7"};
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(svCursorSystemId(GetCursor()), 32515u) << "the class cursor of the window";

    // While captured, input goes to the capture holder in its own coordinates.
    SetCapture(child);
    g_log.clear();
    svInputMouseButton(SvMouseButton::left, true, {110, 110});
    pumpMessages();
    EXPECT_EQ(g_log, std::vector<std::wstring>{L"lbuttondown child -40,-40"});
    ReleaseCapture();
    DestroyWindow(top);
}

TEST_F(WindowTest, TimersComeDueOnTheClock) {
    HWND window = make(L"w", WS_POPUP, nullptr, 0, 0, 10, 10);
    SetTimer(window, 5, 100, nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    svAdvanceClock(250);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        << "a late timer fires once";
    EXPECT_TRUE(KillTimer(window, 5));
    svAdvanceClock(250);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

HHOOK g_hook = nullptr;
std::vector<UINT> g_hooked;

LRESULT hookedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_hooked.push_back(message);
    return CallWindowProcW(loggingProc, window, message, wParam, lParam);
}

LRESULT cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND)
        SetWindowLongPtrW(reinterpret_cast<HWND>(wParam), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(hookedProc));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(WindowTest, ACreationHookSubclassesBeforeTheFirstMessage) {
    g_hook = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, 0);
    HWND window = make(L"hooked", WS_POPUP, nullptr, 0, 0, 10, 10);
    UnhookWindowsHookEx(g_hook);
    ASSERT_FALSE(g_hooked.empty());
    EXPECT_EQ(g_hooked.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(nameOf(window), L"hooked");
    g_hooked.clear();
    HWND plain = make(L"plain", WS_POPUP, nullptr, 0, 0, 10, 10);
    EXPECT_TRUE(g_hooked.empty());
    DestroyWindow(window);
    DestroyWindow(plain);
}

int g_paints = 0;

LRESULT paintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++g_paints;
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowTest, WindowsPaintOnceTheQueueIsEmptyAndOnlyWhenInvalid) {
    registerTestClass(L"SvPainting", paintingProc);
    HWND window = CreateWindowExW(0, L"SvPainting", L"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                  nullptr, nullptr, nullptr, nullptr);
    g_paints = 0;
    PostMessageW(window, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER)) << "posted messages come before painting";
    pumpMessages();
    EXPECT_EQ(g_paints, 1);
    pumpMessages();
    EXPECT_EQ(g_paints, 1);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(g_paints, 2);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    DestroyWindow(window);
}

TEST_F(WindowTest, PropertiesAndStyleChanges) {
    HWND window = make(L"w", WS_POPUP, nullptr, 0, 0, 10, 10);
    int value = 0;
    EXPECT_TRUE(SetPropW(window, L"Key", &value));
    EXPECT_EQ(GetPropW(window, L"KEY"), &value) << "names compare without case";
    EXPECT_EQ(RemovePropW(window, L"key"), &value);
    EXPECT_EQ(GetPropW(window, L"Key"), nullptr);
    EXPECT_EQ(SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_TOPMOST), 0);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE), WS_EX_TOPMOST);
    DestroyWindow(window);
    EXPECT_FALSE(SetPropW(window, L"Key", &value));
}

} // namespace
