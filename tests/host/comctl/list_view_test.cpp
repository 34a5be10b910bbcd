#include <gtest/gtest.h>

#include <string>

#include "control_test_support.h"

using namespace comctl_test;

namespace {

constexpr int kListId = 2000;

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = createParent();
        ASSERT_NE(parent, nullptr);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10, 300,
                               200, parent, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        addColumn(0, L"Name");
        addColumn(1, L"Description");
        for (int row = 0; row < 4; ++row) {
            const std::wstring name = L"Style " + std::to_wstring(row);
            EXPECT_EQ(insert(row, name.c_str(), 100 + row), row);
            setText(row, 1, L"about it");
        }
        parentLog().notifications.clear();
    }
    void TearDown() override { DestroyWindow(parent); }

    void addColumn(int index, const wchar_t* text) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = const_cast<wchar_t*>(text);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&column));
    }
    int insert(int index, const wchar_t* text, LPARAM data) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text);
        item.lParam = data;
        return static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL setText(int row, int subItem, const wchar_t* text) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = const_cast<wchar_t*>(text);
        return static_cast<BOOL>(SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(&item)));
    }
    std::wstring text(int row, int subItem) {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    void setState(int row, UINT state, UINT mask) {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }
    UINT state(int row) {
        return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                              LVIS_SELECTED | LVIS_FOCUSED));
    }
    int next(int start, UINT flags) {
        return static_cast<int>(
            SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags));
    }
    RECT rowRect(int row) {
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        EXPECT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }
    POINT inRow(int row) {
        const RECT rect = rowRect(row);
        return POINT{rect.left + 20, (rect.top + rect.bottom) / 2};
    }

    HWND parent = nullptr;
    HWND list = nullptr;
};

TEST_F(ListViewTest, ItemsKeepTheirTextsAndDataAndBadIndicesAreRefused) {
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(text(2, 0), L"Style 2");
    EXPECT_EQ(text(2, 1), L"about it");

    // Inserting past the end appends; a row in the middle shifts those below.
    EXPECT_EQ(insert(99, L"Last", 7), 4);
    EXPECT_EQ(insert(1, L"Second", 8), 1);
    EXPECT_EQ(text(2, 0), L"Style 1");
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = 5;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 7);

    EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
    EXPECT_EQ(text(1, 0), L"Style 1");
    EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 5, 0));
    EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(-1), 0));
    item.iItem = 17;
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, 0), -1);
    EXPECT_FALSE(setText(0, 2, L"no such column"));
    EXPECT_FALSE(setText(-3, 0, L"no such row"));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 40, LVIS_SELECTED), 0);

    // A short buffer gets a terminated prefix.
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    LVITEMW shortText{};
    shortText.pszText = buffer;
    shortText.cchTextMax = 4;
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&shortText)), 3);
    EXPECT_EQ(std::wstring(buffer), L"Sty");

    EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(parentLog().count(LVN_DELETEALLITEMS), 1);
    EXPECT_EQ(parentLog().count(LVN_DELETEITEM), 1 + 5);
}

TEST_F(ListViewTest, StatesAnswerGetNextItemAndOnlyOneRowHoldsTheFocus) {
    EXPECT_EQ(next(-1, LVNI_SELECTED), -1);
    setState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    setState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(state(0), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(state(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(next(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(next(0, LVNI_SELECTED), 2);
    EXPECT_EQ(next(2, LVNI_SELECTED), -1);
    EXPECT_EQ(next(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(next(2, LVNI_ALL | LVNI_ABOVE), 1);
    EXPECT_EQ(next(-1, LVNI_ALL), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);

    // The parent hears every change, and may refuse one.
    const Notification* changed = parentLog().last(LVN_ITEMCHANGED);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->item, 2);
    EXPECT_EQ(changed->newState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    parentLog().answer = [](NMHDR* header) { return header->code == LVN_ITEMCHANGING ? 1 : 0; };
    setState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(state(3), 0u);

    // -1 addresses every row.
    parentLog().answer = nullptr;
    setState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ListViewTest, TheExtendedStyleMessageMasksAndColumnsFitTheirTexts) {
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES,
                           LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES),
              LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // Mask 0 sets the whole style.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);

    setText(3, 0, L"A considerably longer style name");
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE, 0));
    const auto fitted = SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), fitted); // wider than "Name"
    setText(3, 0, L"S");
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    EXPECT_LT(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), fitted);

    // The last column reaches the right edge.
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) +
                  SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0),
              client.right);
    EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 5, MAKELPARAM(50, 0)));
}

TEST_F(ListViewTest, AClickOnARowSelectsItAndTellsTheParent) {
    click(list, inRow(2));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(state(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(next(-1, LVNI_SELECTED), 2);
    const Notification* changed = parentLog().last(LVN_ITEMCHANGED);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->item, 2);
    const Notification* clicked = parentLog().last(NM_CLICK);
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->item, 2);

    click(list, inRow(0));
    EXPECT_EQ(state(2), 0u);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(next(0, LVNI_SELECTED), -1);

    // Below the last row nothing stays selected.
    click(list, POINT{20, 190});
    EXPECT_EQ(next(-1, LVNI_SELECTED), -1);
    EXPECT_EQ(parentLog().last(NM_CLICK)->item, -1);
}

TEST_F(ListViewTest, DoubleAndRightClicksReachTheParentWithTheirRow) {
    doubleClick(list, inRow(1));
    const Notification* doubled = parentLog().last(NM_DBLCLK);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(doubled->item, 1);
    EXPECT_EQ(parentLog().last(LVN_ITEMACTIVATE)->item, 1);

    click(list, inRow(3), SvMouseButton::right);
    const Notification* right = parentLog().last(NM_RCLICK);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->item, 3);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 3);
    EXPECT_EQ(parentLog().count(NM_CLICK), 1); // only the double click's first press
}

TEST_F(ListViewTest, ArrowKeysMoveTheSelection) {
    click(list, inRow(1));
    pressKey(VK_DOWN);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(next(-1, LVNI_FOCUSED), 2);
    pressKey(VK_DOWN);
    pressKey(VK_DOWN);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 3); // stays on the last row
    pressKey(VK_UP);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 2);
    pressKey(VK_HOME);
    EXPECT_EQ(next(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(next(0, LVNI_SELECTED), -1);
    EXPECT_GE(parentLog().count(LVN_KEYDOWN), 4);
}

} // namespace
