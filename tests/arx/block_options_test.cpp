// The block options dialog and the attribute lookup opened from it, driven by clicks, typing
// and keys on a scripted screen over a drawing of the loaded module.
#include "SentavellUiApp.h"

#include "arx_fixture.h"
#include "comctl/treeview.h"
#include "db/attribute.h"
#include "db/line.h"
#include "db/symboltable.h"
#include "dialog_steps.h"
#include "dialogs/CDlgBlockModOptions.h"
#include "host/user/scripted_screen.h"
#include "resource.h"
#include <cstring>

namespace {

using namespace dialogsteps;

HWND treeOf(HWND lookup) {
    return GetDlgItem(lookup, IDC_ATTRIBUTE_TREE);
}

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

// The tree as lines: a block's name, then its tags indented; "+" marks an expanded block.
std::vector<std::wstring> outline(HWND tree) {
    std::vector<std::wstring> lines;
    for (HTREEITEM block = nextItem(tree, nullptr, TVGN_ROOT); block != nullptr;
         block = nextItem(tree, block, TVGN_NEXT)) {
        wchar_t text[128] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_HANDLE;
        item.hItem = block;
        item.pszText = text;
        item.cchTextMax = 128;
        item.stateMask = TVIS_EXPANDED;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        lines.push_back(((item.state & TVIS_EXPANDED) ? L"+" : L"-") + std::wstring(text) + L" " +
                        std::to_wstring(item.iImage));
        for (HTREEITEM tag = nextItem(tree, block, TVGN_CHILD); tag != nullptr;
             tag = nextItem(tree, tag, TVGN_NEXT)) {
            item.hItem = tag;
            SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            lines.push_back(L"  " + std::wstring(text) + L" " + std::to_wstring(item.iImage));
        }
    }
    return lines;
}

// Clicks an item where the tree shows it.
void clickItem(HWND tree, HTREEITEM target) {
    RECT rect{};
    std::memcpy(&rect, &target, sizeof target); // the message takes the item in the rectangle
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(tree, &centre);
    svInputMouseMove(centre);
    svInputMouseButton(SvMouseButton::left, true, centre);
    svInputMouseButton(SvMouseButton::left, false, centre);
}

class BlockOptions : public arxtest::ArxTest {
protected:
    AcDbObjectId addBlock(const wchar_t* name) {
        Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForWrite);
        auto* record = new AcDbBlockTableRecord;
        record->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(table->add(id, record), Acad::eOk);
        record->close();
        return id;
    }
    void append(AcDbObjectId block, AcDbEntity* entity) {
        Opened<AcDbBlockTableRecord> record(block, AcDb::kForWrite);
        ASSERT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
        entity->close();
    }
    void define(AcDbObjectId block, const wchar_t* tag) {
        append(block, new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), L"value", tag, L"Prompt"));
    }

    ScriptedScreen screen;
    CDlgBlockModOptions options;
};

TEST_F(BlockOptions, TheFieldShowsTheTagHandedInAndCancelKeepsIt) {
    std::wstring shownWithTag, shownWithout;
    options.setAttributeTag(L"NUM");
    screen.then([&](HWND dialog) {
        shownWithTag = itemText(dialog, IDC_ATTRIBUTE_TAG);
        SetFocus(GetDlgItem(dialog, IDC_ATTRIBUTE_TAG));
        svInputText(L"BER");
    });
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(options.DoModal(), IDCANCEL);
    EXPECT_EQ(shownWithTag, L"NUM");
    EXPECT_EQ(std::wstring(options.attributeTag()), L"NUM") << "cancel hands nothing back";

    CDlgBlockModOptions fresh;
    screen.then([&](HWND dialog) {
        shownWithout = itemText(dialog, IDC_ATTRIBUTE_TAG);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(fresh.DoModal(), IDCANCEL);
    EXPECT_EQ(shownWithout, L"");
}

TEST_F(BlockOptions, AnEmptyTagIsRefusedWithAMessageAndTheDialogStaysOpen) {
    Shown shown;
    HWND first = nullptr, after = nullptr;
    screen.then([&](HWND dialog) {
        first = dialog;
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    screen.then(readMessage(shown));
    screen.then([&](HWND dialog) {
        after = dialog;
        SetFocus(GetDlgItem(dialog, IDC_ATTRIBUTE_TAG));
        svInputText(L"Level");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(options.DoModal(), IDOK);
    EXPECT_EQ(shown, message(IDS_TAG_MISSING_TEXT, IDS_TAG_MISSING_CAPTION));
    EXPECT_EQ(after, first);
    EXPECT_EQ(std::wstring(options.attributeTag()), L"Level") << "any text is taken as typed";
}

TEST_F(BlockOptions, TheLookupListsEveryBlockWithDefinitionsSortedAndExpanded) {
    const AcDbObjectId zeta = addBlock(L"ZETA");
    define(zeta, L"B2");
    define(zeta, L"A1");
    define(zeta, L"B2");
    define(addBlock(L"alpha"), L"X");
    const AcDbObjectId plain = addBlock(L"PLAIN");
    append(plain, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    define(db->modelSpaceId(), L"MTAG");
    define(addBlock(L"*U7"), L"ANON");

    std::vector<std::wstring> tree;
    screen.then([](HWND dialog) { svInputClick(GetDlgItem(dialog, IDC_ATTRIBUTE_LOOKUP)); });
    screen.then([&](HWND lookup) {
        tree = outline(treeOf(lookup));
        svInputKeyPress(VK_ESCAPE);
    });
    screen.then([](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(options.DoModal(), IDCANCEL);
    EXPECT_EQ(tree, (std::vector<std::wstring>{L"+*Model_Space 0", L"  MTAG 1", L"+*U7 0",
                                               L"  ANON 1", L"+alpha 0", L"  X 1", L"+ZETA 0",
                                               L"  A1 1", L"  B2 1", L"  B2 1"}));
}

TEST_F(BlockOptions, WithoutDefinitionsTheTreeIsEmptyAndOkAsksForAnAttribute) {
    append(db->modelSpaceId(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    Shown shown;
    std::vector<std::wstring> tree{L"not read"};
    std::wstring field;
    options.setAttributeTag(L"KEEP");
    screen.then([](HWND dialog) { svInputClick(GetDlgItem(dialog, IDC_ATTRIBUTE_LOOKUP)); });
    screen.then([&](HWND lookup) {
        tree = outline(treeOf(lookup));
        svInputClick(GetDlgItem(lookup, IDOK));
    });
    screen.then(readMessage(shown));
    screen.then([](HWND lookup) { svInputClick(GetDlgItem(lookup, IDCANCEL)); });
    screen.then([&](HWND dialog) {
        field = itemText(dialog, IDC_ATTRIBUTE_TAG);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(options.DoModal(), IDCANCEL);
    EXPECT_TRUE(tree.empty());
    EXPECT_EQ(shown, message(IDS_PICK_ATTRIBUTE_TEXT, IDS_PICK_ATTRIBUTE_CAPTION));
    EXPECT_EQ(field, L"KEEP") << "a cancelled lookup leaves the field";
}

TEST_F(BlockOptions, OnlyATagIsAcceptedAndItReplacesTheTypedText) {
    define(addBlock(L"DOOR"), L"WIDTH");
    Shown shown;
    HWND lookupWindow = nullptr, stillOpen = nullptr;
    std::wstring field;
    screen.then([](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_ATTRIBUTE_TAG));
        svInputText(L"typed");
        svInputClick(GetDlgItem(dialog, IDC_ATTRIBUTE_LOOKUP));
    });
    screen.then([&](HWND lookup) {
        lookupWindow = lookup;
        HWND tree = treeOf(lookup);
        clickItem(tree, nextItem(tree, nullptr, TVGN_ROOT));
        svInputClick(GetDlgItem(lookup, IDOK));
    });
    screen.then(readMessage(shown));
    screen.then([&](HWND lookup) {
        stillOpen = lookup;
        HWND tree = treeOf(lookup);
        clickItem(tree, nextItem(tree, nextItem(tree, nullptr, TVGN_ROOT), TVGN_CHILD));
        svInputClick(GetDlgItem(lookup, IDOK));
    });
    screen.then([&](HWND dialog) {
        field = itemText(dialog, IDC_ATTRIBUTE_TAG);
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(options.DoModal(), IDOK);
    EXPECT_EQ(shown, message(IDS_PICK_ATTRIBUTE_TEXT, IDS_PICK_ATTRIBUTE_CAPTION));
    EXPECT_EQ(stillOpen, lookupWindow);
    EXPECT_EQ(field, L"WIDTH");
    EXPECT_EQ(std::wstring(options.attributeTag()), L"WIDTH");
}

} // namespace
