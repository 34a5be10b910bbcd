#include "scripted_screen.h"

#include "gdi/objects.h"
#include "gdi/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kEdit = 100;
constexpr int kStatic = 101;
constexpr int kCombo = 102;
constexpr int kApply = 103;

struct Record {
    std::vector<std::pair<int, int>> commands; // id, notification code
    int initDialogs = 0;
    std::vector<int> helpIds;
    HBRUSH staticBrush = nullptr;
};

Record* g_record = nullptr;

INT_PTR everyControlProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ++g_record->initDialogs;
        for (const wchar_t* fruit : {L"pear", L"apple", L"Fig"}) {
            const auto index = SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0,
                                                   reinterpret_cast<LPARAM>(fruit));
            SendDlgItemMessageW(dialog, kCombo, CB_SETITEMDATA, static_cast<WPARAM>(index),
                                static_cast<LPARAM>(fruit[0]));
        }
        return TRUE;
    case WM_COMMAND:
        g_record->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_HELP:
        g_record->helpIds.push_back(reinterpret_cast<HELPINFO*>(lParam)->iCtrlId);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, kStatic) && g_record->staticBrush)
            return reinterpret_cast<INT_PTR>(g_record->staticBrush);
        return FALSE;
    default:
        return FALSE;
    }
}

SvResDialog everyControl() {
    return dialogTemplate(
        L"Every control", 180, 90,
        {item(L"EDIT", L"", kEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 7, 100, 12),
         item(L"STATIC", L"Click me", kStatic, SS_NOTIFY, 7, 25, 60, 10),
         item(L"COMBOBOX", L"", kCombo, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP | WS_VSCROLL, 7,
              40, 100, 60),
         item(L"BUTTON", L"Apply", kApply, BS_PUSHBUTTON | WS_TABSTOP, 7, 60, 50, 14),
         item(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 120, 7, 50, 14),
         item(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 120, 25, 50, 14)});
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { g_record = &record; }
    void TearDown() override { g_record = nullptr; }

    INT_PTR run() {
        return svDialogBoxFromTemplate(nullptr, everyControl(), nullptr, everyControlProc, 0);
    }

    Record record;
    ScriptedScreen screen;
};

TEST_F(DialogTest, EveryHandlerFiresOnceInOrderWithItsIdAndCode) {
    screen.then([](HWND dialog) {
        svInputClick(GetDlgItem(dialog, kApply));
        svInputClick(GetDlgItem(dialog, kStatic));
        svInputClick(GetDlgItem(dialog, kEdit));
        svInputText(L"x");
        svInputClick(GetDlgItem(dialog, kCombo)); // drops the list
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN); // closes the list
        svInputKeyPress(VK_RETURN); // the default button
    });
    EXPECT_EQ(run(), IDOK);
    const std::vector<std::pair<int, int>> expected{
        {kEdit, EN_SETFOCUS},   {kEdit, EN_KILLFOCUS},   {kApply, BN_CLICKED},
        {kStatic, STN_CLICKED}, {kEdit, EN_SETFOCUS},    {kEdit, EN_UPDATE},
        {kEdit, EN_CHANGE},     {kEdit, EN_KILLFOCUS},   {kCombo, CBN_SETFOCUS},
        {kCombo, CBN_DROPDOWN}, {kCombo, CBN_SELCHANGE}, {kCombo, CBN_SELENDOK},
        {kCombo, CBN_CLOSEUP},  {IDOK, BN_CLICKED},      {kCombo, CBN_KILLFOCUS}};
    EXPECT_EQ(record.commands, expected);
    EXPECT_EQ(record.initDialogs, 1);
    EXPECT_TRUE(screen.finished());
}

TEST_F(DialogTest, ControlsHoldWhatTheInputGaveThem) {
    HWND edit = nullptr;
    HWND combo = nullptr;
    screen.then([&](HWND dialog) {
        edit = GetDlgItem(dialog, kEdit);
        combo = GetDlgItem(dialog, kCombo);
        svInputText(L"ab\bc");
        svInputClick(combo);
        // A click on the dropped list's second row chooses it.
        RECT list;
        SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
        RECT field;
        GetWindowRect(combo, &field);
        const LONG rowHeight = (list.bottom - field.bottom - 2) / 3;
        const POINT second{field.left + 10, field.bottom + 1 + rowHeight + rowHeight / 2};
        svInputMouseMove(second);
        svInputMouseButton(SvMouseButton::left, true, second);
        svInputMouseButton(SvMouseButton::left, false, second);
    });
    screen.then([&](HWND dialog) {
        wchar_t text[16];
        GetDlgItemTextW(dialog, kEdit, text, 16);
        EXPECT_STREQ(text, L"ac");
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
        GetWindowTextW(combo, text, 16);
        EXPECT_STREQ(text, L"Fig") << "sorted without regard to case";
        EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), L'F');
        EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(run(), IDCANCEL);
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(DialogTest, TabCyclesTheTabStopsAndShiftTabGoesBack) {
    std::vector<int> focus;
    auto note = [&focus](HWND) { focus.push_back(GetDlgCtrlID(GetFocus())); };
    screen.then([](HWND) { svInputKeyPress(VK_TAB); });
    for (int i = 0; i < 5; ++i)
        screen.then([&, note](HWND modal) {
            note(modal);
            svInputKeyPress(VK_TAB);
        });
    screen.then([&, note](HWND modal) {
        note(modal);
        svInputKey(VK_SHIFT, true);
        svInputKeyPress(VK_TAB);
        svInputKey(VK_SHIFT, false);
    });
    screen.then([&, note](HWND modal) {
        note(modal);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(run(), IDCANCEL);
    const std::vector<int> expected{kCombo, kApply, IDOK, IDCANCEL, kEdit, kCombo, kEdit};
    EXPECT_EQ(focus, expected);
}

TEST_F(DialogTest, EnterPressesAFocusedPushButtonElseTheDefault) {
    screen.then([](HWND dialog) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kApply)),
                     TRUE);
        svInputKeyPress(VK_RETURN);
    });
    screen.then([](HWND dialog) {
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK,
                  BS_DEFPUSHBUTTON);
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kEdit)),
                     TRUE);
        svInputKeyPress(VK_RETURN);
    });
    EXPECT_EQ(run(), IDCANCEL);
    const auto apply = std::find(record.commands.begin(), record.commands.end(),
                                 std::make_pair(kApply, static_cast<int>(BN_CLICKED)));
    const auto cancel = std::find(record.commands.begin(), record.commands.end(),
                                  std::make_pair(IDCANCEL, static_cast<int>(BN_CLICKED)));
    EXPECT_LT(apply, cancel);
    EXPECT_EQ(std::find(record.commands.begin(), record.commands.end(),
                        std::make_pair(IDOK, static_cast<int>(BN_CLICKED))),
              record.commands.end());
}

TEST_F(DialogTest, F1SendsHelpForTheFocusedControlToTheDialog) {
    screen.then([](HWND dialog) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kCombo)),
                     TRUE);
        svInputKeyPress(VK_F1);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(run(), IDCANCEL);
    EXPECT_EQ(record.helpIds, std::vector<int>{kCombo});
}

TEST_F(DialogTest, ControlsAreSizedInTheTemplateFontsDialogUnits) {
    HWND dialog = svCreateDialogFromTemplate(nullptr, everyControl(), nullptr, everyControlProc, 0);
    ASSERT_TRUE(dialog);
    RECT expected{7, 7, 107, 19};
    MapDialogRect(dialog, &expected);
    RECT actual;
    GetWindowRect(GetDlgItem(dialog, kEdit), &actual);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(actual.left - origin.x, expected.left);
    EXPECT_EQ(actual.bottom - origin.y, expected.bottom);
    EXPECT_GT(expected.right - expected.left, 100) << "a dialog unit is more than a pixel wide";
    EXPECT_TRUE(SendMessageW(dialog, WM_GETFONT, 0, 0));
    EXPECT_EQ(SendDlgItemMessageW(dialog, kEdit, WM_GETFONT, 0, 0),
              SendMessageW(dialog, WM_GETFONT, 0, 0));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ComboBoxListOperations) {
    HWND dialog = svCreateDialogFromTemplate(nullptr, everyControl(), nullptr, everyControlProc, 0);
    HWND combo = GetDlgItem(dialog, kCombo);
    auto find = [combo](UINT message, const wchar_t* text) {
        return SendMessageW(combo, message, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, L"PEAR"), 2);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, L"pea"), CB_ERR);
    EXPECT_EQ(find(CB_FINDSTRING, L"pea"), 2);
    record.commands.clear();
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_TRUE(record.commands.empty()) << "a program's selection is no user's change";
    wchar_t text[16];
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"apple");
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << "the selection follows its item";
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, TheParentsStaticColourBrushPaintsTheStatic) {
    record.staticBrush = CreateSolidBrush(RGB(255, 0, 0));
    HWND dialog = svCreateDialogFromTemplate(nullptr, everyControl(), nullptr, everyControlProc, 0);
    HWND label = GetDlgItem(dialog, kStatic);
    SvSurface* picture = svSnapshotWindow(dialog);
    ASSERT_TRUE(picture);
    RECT rect;
    GetWindowRect(label, &rect);
    POINT corner{rect.right - 1, rect.bottom - 1};
    ScreenToClient(dialog, &corner);
    EXPECT_EQ(svSurfacePixel(picture, corner.x, corner.y), RGB(255, 0, 0));
    EXPECT_EQ(svSurfacePixel(picture, 1, 1), GetSysColor(COLOR_3DFACE));
    svDestroySurface(picture);
    DestroyWindow(dialog);
    DeleteObject(record.staticBrush);
}

INT_PTR endAtOnceProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG)
        EndDialog(dialog, 5);
    return FALSE;
}

TEST_F(DialogTest, ADialogEndedWhileItStartsIsNeverShown) {
    SvResDialog centred = everyControl();
    centred.style |= DS_CENTER;
    EXPECT_EQ(svDialogBoxFromTemplate(nullptr, centred, nullptr, endAtOnceProc, 0), 5);
    EXPECT_TRUE(screen.shown.empty());
    EXPECT_TRUE(screen.waits.empty());

    HWND dialog = svCreateDialogFromTemplate(nullptr, centred, nullptr, everyControlProc, 0);
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_NEAR(rect.left + rect.right, 1024, 1);
    EXPECT_NEAR(rect.top + rect.bottom, 768, 1);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ARunWithoutInputEndsAsCancelled) {
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(svModalDepth(), 0);
}

} // namespace
