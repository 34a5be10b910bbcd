#include <gtest/gtest.h>

#include <string>

#include "control_test_support.h"

using namespace comctl_test;

namespace {

// A list view and a tree view side by side, each longer than it shows.
class WheelTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = createParent(600, 300);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10,
                               250, 200, parent, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 300, 10, 250, 200,
                               parent, reinterpret_cast<HMENU>(2), nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        ASSERT_NE(tree, nullptr);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 200;
        column.pszText = const_cast<wchar_t*>(L"Name");
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        for (int row = 0; row < kRows; ++row) {
            std::wstring name = L"Row " + std::to_wstring(row);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = name.data();
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            TVINSERTSTRUCTW insert{};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = name.data();
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
        }
    }
    void TearDown() override { DestroyWindow(parent); }

    void wheel(HWND over, int notches) {
        RECT client{};
        GetClientRect(over, &client);
        const POINT at = centreOf(over, client);
        svInputMouseMove(at);
        svInputMouseWheel(notches * WHEEL_DELTA, at);
        pumpMessages();
    }
    int listTop() { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }
    // The tree's first visible row, by its text.
    std::wstring treeTop() {
        wchar_t buffer[32] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
        query.pszText = buffer;
        query.cchTextMax = 32;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        return buffer;
    }

    static constexpr int kRows = 40;
    HWND parent = nullptr;
    HWND list = nullptr;
    HWND tree = nullptr;
};

TEST_F(WheelTest, TheControlUnderThePointerScrollsThreeRowsANotchAndStopsAtItsLastPage) {
    wheel(list, -2);
    EXPECT_EQ(listTop(), 6);
    EXPECT_EQ(treeTop(), L"Row 0") << "only the control under the pointer scrolls";
    wheel(tree, -1);
    EXPECT_EQ(treeTop(), L"Row 3");
    EXPECT_EQ(listTop(), 6);

    // Far past the end: the last row stays at the bottom of the last page, not alone at the top.
    wheel(list, -100);
    const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_EQ(listTop(), kRows - page);
    wheel(tree, -100);
    const int treePage = static_cast<int>(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0));
    EXPECT_EQ(treeTop(), L"Row " + std::to_wstring(kRows - treePage));

    // Forward goes back up, to the first row and no further; the parent's own face moves nothing.
    wheel(list, 100);
    EXPECT_EQ(listTop(), 0);
    wheel(parent, -1);
    EXPECT_EQ(listTop(), 0);
    EXPECT_EQ(treeTop(), L"Row " + std::to_wstring(kRows - treePage));
}

} // namespace
