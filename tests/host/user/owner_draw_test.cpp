#include "scripted_screen.h"

#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kDrawn = 200;
constexpr int kOther = 201;

struct Event {
    UINT message; // WM_DRAWITEM or WM_COMMAND
    UINT state;   // itemState, or the notification code
    UINT action;
};

std::vector<Event>* g_events = nullptr;

INT_PTR ownerDrawProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != kDrawn || item->CtlType != ODT_BUTTON)
            return FALSE;
        g_events->push_back({WM_DRAWITEM, item->itemState, item->itemAction});
        // Green while pressed, blue otherwise.
        HBRUSH brush =
            CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(0, 255, 0) : RGB(0, 0, 255));
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kDrawn)
            g_events->push_back({WM_COMMAND, HIWORD(wParam), 0});
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

SvResDialog ownerDrawDialog() {
    return dialogTemplate(
        L"Owner draw", 120, 60,
        {item(L"BUTTON", L"", kDrawn, BS_OWNERDRAW | WS_TABSTOP, 7, 7, 40, 14),
         item(L"BUTTON", L"Other", kOther, BS_PUSHBUTTON | WS_TABSTOP, 60, 7, 40, 14)});
}

class OwnerDrawTest : public ::testing::Test {
protected:
    void SetUp() override { g_events = &events; }
    void TearDown() override { g_events = nullptr; }

    std::vector<Event> events;
    ScriptedScreen screen;
};

TEST_F(OwnerDrawTest, PressedIsSelectedBeforeTheRelease) {
    bool selectedWhileDown = false;
    COLORREF pressed = 0;
    screen.then([](HWND dialog) {
        const POINT centre = svWindowCentre(GetDlgItem(dialog, kDrawn));
        svInputMouseMove(centre);
        svInputMouseButton(SvMouseButton::left, true, centre);
    });
    screen.then([&](HWND dialog) {
        HWND button = GetDlgItem(dialog, kDrawn);
        selectedWhileDown = !events.empty() && (events.back().state & ODS_SELECTED) &&
                            (events.back().state & ODS_FOCUS);
        SvSurface* picture = svSnapshotWindow(button);
        pressed = svSurfacePixel(picture, 2, 2);
        svDestroySurface(picture);
        svInputMouseButton(SvMouseButton::left, false, svWindowCentre(button));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(svDialogBoxFromTemplate(nullptr, ownerDrawDialog(), nullptr, ownerDrawProc, 0),
              IDCANCEL);
    EXPECT_TRUE(selectedWhileDown);
    EXPECT_EQ(pressed, RGB(0, 255, 0));
    // The press, then the release drawn unselected, then the click.
    ASSERT_GE(events.size(), 3u);
    const auto click = std::find_if(events.begin(), events.end(),
                                    [](const Event& e) { return e.message == WM_COMMAND; });
    ASSERT_NE(click, events.end());
    EXPECT_EQ(click->state, static_cast<UINT>(BN_CLICKED));
    const Event& release = *std::prev(click);
    EXPECT_EQ(release.message, static_cast<UINT>(WM_DRAWITEM));
    EXPECT_FALSE(release.state & ODS_SELECTED);
    EXPECT_EQ(release.action, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const Event& e) { return e.message == WM_COMMAND; }),
              1);
}

TEST_F(OwnerDrawTest, FocusAndDisabledStatesFollowTheButton) {
    HWND dialog = svCreateDialogFromTemplate(nullptr, ownerDrawDialog(), nullptr, ownerDrawProc, 0);
    HWND button = GetDlgItem(dialog, kDrawn);
    ShowWindow(dialog, SW_SHOW);
    ASSERT_EQ(GetFocus(), button);
    events.clear();
    SetFocus(GetDlgItem(dialog, kOther));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().action, static_cast<UINT>(ODA_FOCUS));
    EXPECT_FALSE(events.back().state & ODS_FOCUS);
    SetFocus(button);
    EXPECT_TRUE(events.back().state & ODS_FOCUS);

    EnableWindow(button, FALSE);
    events.clear();
    UpdateWindow(dialog);
    ASSERT_FALSE(events.empty());
    EXPECT_TRUE(events.back().state & ODS_DISABLED);
    EXPECT_FALSE(events.back().state & ODS_FOCUS) << "disabling took the focus away";
    EXPECT_FALSE(events.back().state & ODS_SELECTED);

    // The disabled button takes no click: its press reaches nobody.
    ScriptedScreen clicks;
    svInputClick(button);
    events.clear();
    pumpMessages();
    EXPECT_TRUE(std::none_of(events.begin(), events.end(),
                             [](const Event& e) { return e.message == WM_COMMAND; }));
    DestroyWindow(dialog);
}

} // namespace
