#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_test_support.h"
#include "win/modules.h"

using namespace comctl_test;

namespace {

struct Stage {
    DWORD stage;
    int row;
    int subItem;
};

class CustomDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = createParent();
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300,
                               160, parent, reinterpret_cast<HMENU>(2000), nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 140;
            column.pszText = const_cast<wchar_t*>(c == 0 ? L"Name" : L"Description");
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                         reinterpret_cast<LPARAM>(&column));
        }
        for (int row = 0; row < 4; ++row) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<wchar_t*>(L"WWW MMM HHH");
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    void TearDown() override { DestroyWindow(parent); }

    // Answers as a handler that colours one row's cells does, and logs every stage.
    void colourRow(int red, DWORD listAnswer) {
        parentLog().answer = [this, red, listAnswer](NMHDR* header) -> LRESULT {
            if (header->code != NM_CUSTOMDRAW) {
                return 0;
            }
            auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
            const int row = static_cast<int>(draw->nmcd.dwItemSpec);
            stages.push_back({draw->nmcd.dwDrawStage, row, draw->iSubItem});
            switch (draw->nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                return listAnswer;
            case CDDS_ITEMPREPAINT:
                return CDRF_NOTIFYSUBITEMDRAW;
            case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
                draw->clrText = row == red ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOWTEXT);
                return CDRF_DODEFAULT;
            default:
                return CDRF_DODEFAULT;
            }
        };
    }
    RECT rowRect(int row) {
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    HWND parent = nullptr;
    HWND list = nullptr;
    std::vector<Stage> stages;
};

bool isRed(COLORREF c) {
    return GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

TEST_F(CustomDrawTest, TheHandlersTextColourPaintsOneRowRedAndNoOther) {
    colourRow(1, CDRF_NOTIFYITEMDRAW);
    SvSurface* snapshot = svSnapshotWindow(list);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_GT(countPixels(snapshot, rowRect(1), isRed), 20);
    for (int row : {0, 2, 3}) {
        EXPECT_EQ(countPixels(snapshot, rowRect(row), isRed), 0) << "row " << row;
    }
    svDestroySurface(snapshot);

    // The stages come as the platform sends them: the list, then each row and its cells.
    ASSERT_EQ(stages.size(), 1u + 4u * 3u);
    EXPECT_EQ(stages[0].stage, static_cast<DWORD>(CDDS_PREPAINT));
    for (int row = 0; row < 4; ++row) {
        const Stage* at = &stages[1 + 3 * static_cast<std::size_t>(row)];
        EXPECT_EQ(at[0].stage, static_cast<DWORD>(CDDS_ITEMPREPAINT));
        EXPECT_EQ(at[0].row, row);
        for (int cell = 1; cell <= 2; ++cell) {
            EXPECT_EQ(at[cell].stage, static_cast<DWORD>(CDDS_ITEMPREPAINT | CDDS_SUBITEM));
            EXPECT_EQ(at[cell].row, row);
            EXPECT_EQ(at[cell].subItem, cell - 1);
        }
    }
}

TEST_F(CustomDrawTest, WithoutItemNotificationsOnlyThePrepaintIsSentAndDefaultsDraw) {
    colourRow(1, CDRF_DODEFAULT);
    SvSurface* snapshot = svSnapshotWindow(list);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(countPixels(snapshot, rowRect(1), isRed), 0);
    const auto dark = [](COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100; };
    EXPECT_GT(countPixels(snapshot, rowRect(1), dark), 20);
    svDestroySurface(snapshot);
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].stage, static_cast<DWORD>(CDDS_PREPAINT));
}

TEST_F(CustomDrawTest, ASelectedRowIsDrawnInTheHighlightColourOverTheHandlersColour) {
    colourRow(2, CDRF_NOTIFYITEMDRAW);
    SetFocus(list);
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
    SvSurface* snapshot = svSnapshotWindow(list);
    ASSERT_NE(snapshot, nullptr);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const auto isHighlight = [highlight](COLORREF c) { return c == highlight; };
    RECT row = rowRect(2);
    EXPECT_GT(countPixels(snapshot, row, isHighlight), (row.right - row.left) * 4);
    EXPECT_EQ(countPixels(snapshot, row, isRed), 0);
    EXPECT_EQ(countPixels(snapshot, rowRect(1), isHighlight), 0);
    svDestroySurface(snapshot);
}

TEST(CommonControlDialog, ATemplateNamingTheClassesCreatesTheControls) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    HMODULE module = LoadLibraryW(L"comctl_resources.dll");
    ASSERT_NE(module, nullptr);
    HWND dialog = CreateDialogParamW(
        module, MAKEINTRESOURCEW(2001), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t name[32] = {};
    GetClassNameW(GetDlgItem(dialog, 2000), name, 32);
    EXPECT_EQ(std::wstring(name), WC_LISTVIEWW);
    GetClassNameW(GetDlgItem(dialog, 2012), name, 32);
    EXPECT_EQ(std::wstring(name), WC_TREEVIEWW);
    EXPECT_EQ(SendDlgItemMessageW(dialog, 2000, LVM_GETITEMCOUNT, 0, 0), 0);
    DestroyWindow(dialog);
    FreeLibrary(module);
}

} // namespace
