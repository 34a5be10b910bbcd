#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control_test_support.h"

using namespace comctl_test;

namespace {

constexpr UINT kKeypadPlus = 0x6B;
constexpr UINT kKeypadMinus = 0x6D;

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = createParent();
        tree = CreateWindowExW(
            0, WC_TREEVIEWW, L"",
            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 10, 10,
            250, 200, parent, reinterpret_cast<HMENU>(2012), nullptr, nullptr);
        ASSERT_NE(tree, nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }

    HTREEITEM insert(HTREEITEM under, const wchar_t* text, int image, HTREEITEM after = TVI_SORT) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = under;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<wchar_t*>(text);
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    HTREEITEM next(HTREEITEM item, UINT code) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    std::wstring text(HTREEITEM item) {
        wchar_t buffer[64] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = buffer;
        query.cchTextMax = 64;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        return buffer;
    }
    std::vector<std::wstring> children(HTREEITEM under) {
        std::vector<std::wstring> texts;
        for (HTREEITEM at = next(under, TVGN_CHILD); at; at = next(at, TVGN_NEXT)) {
            texts.push_back(text(at));
        }
        return texts;
    }
    bool expanded(HTREEITEM item) {
        return SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                            TVIS_EXPANDED) != 0;
    }
    POINT centreOfText(HTREEITEM item) {
        RECT rect{};
        std::memcpy(&rect, &item, sizeof item);
        EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    HTREEITEM caret() { return next(nullptr, TVGN_CARET); }

    HWND parent = nullptr;
    HWND tree = nullptr;
};

TEST_F(TreeViewTest, SortedInsertOrdersWithoutRegardToCaseAndKeepsImages) {
    HTREEITEM beta = insert(TVI_ROOT, L"beta", 0);
    HTREEITEM alpha = insert(TVI_ROOT, L"Alpha", 0);
    insert(TVI_ROOT, L"gamma", 0);
    insert(nullptr, L"Beta", 0); // an equal text goes after
    EXPECT_EQ(children(TVI_ROOT),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"Beta", L"gamma"}));
    EXPECT_EQ(next(nullptr, TVGN_ROOT), alpha);

    insert(beta, L"TAG2", 1);
    HTREEITEM tag = insert(beta, L"tag1", 1);
    insert(beta, L"first", 1, TVI_FIRST);
    insert(beta, L"after", 1, tag);
    EXPECT_EQ(children(beta), (std::vector<std::wstring>{L"first", L"tag1", L"after", L"TAG2"}));
    EXPECT_EQ(next(tag, TVGN_PARENT), beta);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 8);

    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = tag;
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.iImage, 1);
    EXPECT_EQ(item.iSelectedImage, 1);

    // Neither a stranger's sibling nor a made-up parent is accepted.
    EXPECT_EQ(insert(alpha, L"x", 1, tag), nullptr);
    EXPECT_EQ(insert(reinterpret_cast<HTREEITEM>(0x4242), L"x", 1), nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_INSERTITEMW, 0, 0), 0);
}

TEST_F(TreeViewTest, DeletedItemsAreRefusedAfterwardsAndTheCaretGoesWithThem) {
    HTREEITEM block = insert(TVI_ROOT, L"Block", 0);
    HTREEITEM tag = insert(block, L"TAG", 1);
    ASSERT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tag)));
    EXPECT_EQ(caret(), tag);
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(block)));
    EXPECT_EQ(parentLog().count(TVN_DELETEITEMW), 2);
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(tag)));
    EXPECT_FALSE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tag)));
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(block)));
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = tag;
    EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(next(tag, TVGN_NEXT), nullptr);
}

TEST_F(TreeViewTest, ExpandNotifiesAndTheImageListIsSwapped) {
    HTREEITEM block = insert(TVI_ROOT, L"Block", 0);
    HTREEITEM leaf = insert(TVI_ROOT, L"Leaf", 0);
    insert(block, L"TAG", 1);
    EXPECT_FALSE(expanded(block));
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(block)));
    EXPECT_TRUE(expanded(block));
    EXPECT_EQ(parentLog().count(TVN_ITEMEXPANDINGW), 1);
    EXPECT_EQ(parentLog().last(TVN_ITEMEXPANDEDW)->treeItem, block);
    EXPECT_EQ(parentLog().last(TVN_ITEMEXPANDEDW)->action, static_cast<UINT>(TVE_EXPAND));
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(leaf)));

    parentLog().answer = [](NMHDR* header) { return header->code == TVN_ITEMEXPANDINGW; };
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(block)));
    EXPECT_TRUE(expanded(block));

    HIMAGELIST images = ImageList_Create(14, 14, ILC_COLOR32 | ILC_MASK, 2, 0);
    EXPECT_EQ(SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images)),
              0);
    EXPECT_EQ(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0),
              reinterpret_cast<LRESULT>(images));
    EXPECT_EQ(SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0),
              reinterpret_cast<LRESULT>(images));
    ImageList_Destroy(images);
}

TEST_F(TreeViewTest, AClickSelectsAndADoubleClickTogglesTheBlock) {
    HTREEITEM block = insert(TVI_ROOT, L"Block", 0);
    HTREEITEM tag = insert(block, L"TAG", 1);
    HTREEITEM other = insert(TVI_ROOT, L"Other", 0);

    click(tree, centreOfText(other));
    EXPECT_EQ(caret(), other);
    const Notification* changed = parentLog().last(TVN_SELCHANGEDW);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->treeItem, other);
    EXPECT_EQ(changed->action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_EQ(parentLog().count(NM_CLICK), 1);

    doubleClick(tree, centreOfText(block));
    EXPECT_EQ(caret(), block);
    EXPECT_TRUE(expanded(block));
    EXPECT_EQ(parentLog().count(NM_DBLCLK), 1);
    click(tree, centreOfText(tag));
    EXPECT_EQ(caret(), tag);

    // Collapsing hides the caret's item, so the caret climbs to the block.
    doubleClick(tree, centreOfText(block));
    EXPECT_FALSE(expanded(block));
    EXPECT_EQ(caret(), block);

    // A handler that answers the double click keeps the tree as it is.
    parentLog().answer = [](NMHDR* header) { return header->code == NM_DBLCLK ? 1 : 0; };
    doubleClick(tree, centreOfText(block));
    EXPECT_FALSE(expanded(block));
}

TEST_F(TreeViewTest, KeysMoveTheCaretAndPlusAndMinusExpandAndCollapse) {
    HTREEITEM first = insert(TVI_ROOT, L"A block", 0);
    HTREEITEM tag = insert(first, L"TAG", 1);
    HTREEITEM second = insert(TVI_ROOT, L"B block", 0);
    click(tree, centreOfText(first));
    ASSERT_EQ(GetFocus(), tree);

    pressKey(VK_DOWN);
    EXPECT_EQ(caret(), second); // the tag is hidden
    EXPECT_EQ(parentLog().last(TVN_SELCHANGEDW)->action, static_cast<UINT>(TVC_BYKEYBOARD));
    pressKey(VK_UP);
    EXPECT_EQ(caret(), first);
    pressKey(kKeypadPlus);
    EXPECT_TRUE(expanded(first));
    pressKey(VK_DOWN);
    EXPECT_EQ(caret(), tag);
    pressKey(VK_LEFT);
    EXPECT_EQ(caret(), first);
    pressKey(kKeypadMinus);
    EXPECT_FALSE(expanded(first));
    pressKey(VK_RIGHT);
    EXPECT_TRUE(expanded(first));
    pressKey(VK_RIGHT);
    EXPECT_EQ(caret(), tag);
}

TEST_F(TreeViewTest, TheCaretItemShowsItsSelectedImage) {
    HIMAGELIST images = ImageList_Create(4, 4, ILC_COLOR32, 2, 0);
    const auto solid = [](COLORREF colour) {
        std::vector<DWORD> bits(16, (static_cast<DWORD>(GetRValue(colour)) << 16) |
                                        (static_cast<DWORD>(GetGValue(colour)) << 8) |
                                        GetBValue(colour));
        return CreateBitmap(4, 4, 1, 32, bits.data());
    };
    HBITMAP red = solid(RGB(255, 0, 0));
    HBITMAP blue = solid(RGB(0, 0, 255));
    ImageList_Add(images, red, nullptr);
    ImageList_Add(images, blue, nullptr);
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));

    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(L"Item");
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 1;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    const auto count = [this](COLORREF colour) {
        SvSurface* snapshot = svSnapshotWindow(tree);
        RECT client{};
        GetClientRect(tree, &client);
        const int found =
            countPixels(snapshot, client, [colour](COLORREF c) { return c == colour; });
        svDestroySurface(snapshot);
        return found;
    };
    EXPECT_EQ(count(RGB(255, 0, 0)), 16);
    EXPECT_EQ(count(RGB(0, 0, 255)), 0);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(count(RGB(255, 0, 0)), 0);
    EXPECT_EQ(count(RGB(0, 0, 255)), 16);
    DeleteObject(red);
    DeleteObject(blue);
    ImageList_Destroy(images);
}

} // namespace
