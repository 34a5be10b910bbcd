#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "win/bitmap_resource.h"
#include "win/cursor_resource.h"
#include "win/dialog_template.h"
#include "win/menu_template.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

constexpr DWORD WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_TABSTOP = 0x00010000,
                WS_BORDER = 0x00800000, WS_VSCROLL = 0x00200000, WS_GROUP = 0x00020000,
                WS_CAPTION = 0x00C00000, WS_POPUP = 0x80000000, DS_SETFONT = 0x40,
                DS_SHELLFONT = 0x48;

class ResourceTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(L"res_sample.dll");
        ASSERT_NE(module, nullptr) << svLastLoadError();
    }
    void TearDown() override { FreeLibrary(module); }
    // The resource's size, 0 when it is missing.
    DWORD bytesOf(LPCWSTR name, LPCWSTR type, const void*& data) {
        HRSRC found = FindResourceW(module, name, type);
        data = LockResource(LoadResource(module, found));
        return SizeofResource(module, found);
    }
    HMODULE module = nullptr;
};

TEST_F(ResourceTemplates, DialogKeepsItsFrameFontAndControls) {
    SvResDialog dialog;
    ASSERT_EQ(svLoadDialog(module, MAKEINTRESOURCEW(IDD_SAMPLE), dialog), SvResStatus::Ok);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.caption, L"Sample \"dialog\"");
    EXPECT_EQ(dialog.style & (WS_CAPTION | DS_SETFONT), WS_CAPTION | DS_SETFONT);
    EXPECT_EQ(dialog.cx, 240);
    EXPECT_EQ(dialog.cy, 120);
    EXPECT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.fontPointSize, 8);
    EXPECT_EQ(dialog.fontWeight, 400);
    EXPECT_EQ(dialog.fontCharset, 1);
    EXPECT_EQ(dialog.fontFace, L"MS Shell Dlg");
    EXPECT_TRUE(dialog.menu.empty());
    EXPECT_TRUE(dialog.windowClass.empty());
    ASSERT_EQ(dialog.items.size(), 10u);

    // Every predefined class travels as an ordinal and comes back under its own name.
    const SvResDialogItem& label = dialog.items[0];
    EXPECT_EQ(label.windowClass, L"Static");
    EXPECT_EQ(label.title.text, L"&Name:");
    EXPECT_EQ(label.id, -1);
    EXPECT_EQ(label.style, WS_CHILD | WS_VISIBLE | WS_GROUP);
    EXPECT_EQ(label.x, 7);
    EXPECT_EQ(label.y, 9);

    const SvResDialogItem& edit = dialog.items[1];
    EXPECT_EQ(edit.windowClass, L"Edit");
    EXPECT_EQ(edit.id, IDC_NAME);
    EXPECT_EQ(edit.style, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x80u); // ES_AUTOHSCROLL

    // Styles add to the statement's defaults, and NOT takes one away.
    const SvResDialogItem& list = dialog.items[2];
    EXPECT_EQ(list.windowClass, L"ListBox");
    EXPECT_EQ(list.style, WS_CHILD | WS_VISIBLE | WS_VSCROLL | 0x1u | 0x2u); // no WS_BORDER
    EXPECT_EQ(dialog.items[3].windowClass, L"ComboBox");
    EXPECT_EQ(dialog.items[4].windowClass, L"Button");

    const SvResDialogItem& picture = dialog.items[5];
    EXPECT_EQ(picture.windowClass, L"Static");
    EXPECT_TRUE(picture.title.isOrdinal);
    EXPECT_EQ(picture.title.ordinal, IDB_IMAGES);
    EXPECT_EQ(picture.exStyle, 0x200u); // WS_EX_CLIENTEDGE

    const SvResDialogItem& help = dialog.items[9];
    EXPECT_EQ(help.id, 9);
    EXPECT_EQ(help.style & WS_TABSTOP, 0u);
    EXPECT_EQ(help.helpId, 1003u);
}

TEST_F(ResourceTemplates, DialogResourcesAreThePlatformsTemplates) {
    const void* ex = nullptr;
    const void* classic = nullptr;
    ASSERT_NE(bytesOf(MAKEINTRESOURCEW(IDD_SAMPLE), RT_DIALOG, ex), 0u);
    ASSERT_NE(bytesOf(MAKEINTRESOURCEW(IDD_CLASSIC), RT_DIALOG, classic), 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ex) % 4, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(classic) % 4, 0u);
    WORD head[2];
    std::memcpy(head, ex, sizeof head);
    EXPECT_EQ(head[0], 1); // dlgVer
    EXPECT_EQ(head[1], 0xFFFF);
    DWORD style = 0;
    std::memcpy(&style, classic, 4); // DLGTEMPLATE starts with its style
    EXPECT_EQ(style, WS_POPUP | WS_CAPTION | DS_SETFONT);
}

TEST_F(ResourceTemplates, ClassicDialogReadsWithItsShortIdsAndFont) {
    SvResDialog dialog;
    ASSERT_EQ(svLoadDialog(module, MAKEINTRESOURCEW(IDD_CLASSIC), dialog), SvResStatus::Ok);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.caption, L"Classic");
    EXPECT_EQ(dialog.x, 10);
    EXPECT_EQ(dialog.fontPointSize, 8);
    EXPECT_EQ(dialog.fontFace, L"MS Sans Serif");
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].id, -1);
    EXPECT_EQ(dialog.items[1].windowClass, L"Button");
    EXPECT_EQ(dialog.items[1].title.text, L"Go");
    EXPECT_EQ(dialog.items[1].id, 1);
}

TEST_F(ResourceTemplates, CommonAndCustomControlClassesStayNames) {
    SvResDialog dialog;
    ASSERT_EQ(svLoadDialog(module, MAKEINTRESOURCEW(IDD_LISTS), dialog), SvResStatus::Ok);
    EXPECT_EQ(dialog.helpId, 77u);
    EXPECT_EQ(dialog.style & DS_SHELLFONT, DS_SHELLFONT);
    EXPECT_EQ(dialog.exStyle, 0x10000u); // WS_EX_CONTROLPARENT
    EXPECT_TRUE(dialog.menu.isOrdinal);
    EXPECT_EQ(dialog.menu.ordinal, IDR_MENU);
    EXPECT_EQ(dialog.windowClass.text, L"SvPanel");
    EXPECT_EQ(dialog.fontWeight, 700);
    EXPECT_EQ(dialog.fontItalic, 1);
    EXPECT_EQ(dialog.fontFace, L"Segoe UI");
    ASSERT_EQ(dialog.items.size(), 4u);
    EXPECT_EQ(dialog.items[0].windowClass, L"SysListView32");
    EXPECT_EQ(dialog.items[0].style & 0x3u, 1u); // LVS_REPORT
    EXPECT_EQ(dialog.items[1].windowClass, L"SysTreeView32");
    EXPECT_EQ(dialog.items[2].windowClass, L"SvHyperLink");
    EXPECT_EQ(dialog.items[2].title.text, L"Link");
    EXPECT_EQ(dialog.items[3].windowClass, L"Edit"); // "edit" is the predefined class
}

TEST_F(ResourceTemplates, MenuItemsFollowTheirPopupOneLevelDeeper) {
    SvResMenu menu;
    ASSERT_EQ(svLoadMenu(module, MAKEINTRESOURCEW(IDR_MENU), menu), SvResStatus::Ok);
    ASSERT_EQ(menu.items.size(), 6u);
    const std::vector<SvResMenuItem>& items = menu.items;
    EXPECT_EQ(items[0].text, L"Macros");
    EXPECT_EQ(items[0].flags, UINT{MF_POPUP | MF_END});
    EXPECT_EQ(items[1].id, UINT{ID_MACRO_AREA});
    EXPECT_EQ(items[1].depth, 1u);
    EXPECT_EQ(items[2].flags, UINT{MF_GRAYED});
    EXPECT_EQ(items[3].flags, UINT{MF_SEPARATOR});
    EXPECT_EQ(items[4].flags, UINT{MF_POPUP | MF_END});
    EXPECT_EQ(items[5].id, UINT{ID_MACRO_CHECK});
    EXPECT_EQ(items[5].depth, 2u);
    EXPECT_EQ(items[5].flags, UINT{MF_CHECKED | MF_END});
}

TEST_F(ResourceTemplates, BitmapIsTheFileWithoutItsFileHeader) {
    const void* data = nullptr;
    ASSERT_EQ(bytesOf(MAKEINTRESOURCEW(IDB_IMAGES), RT_BITMAP, data), 40u + 8u); // a row
    std::int32_t headerSize = 0;
    std::memcpy(&headerSize, data, 4);
    EXPECT_EQ(headerSize, 40);
    SvBitmap bitmap;
    ASSERT_EQ(svLoadBitmapResource(module, MAKEINTRESOURCEW(IDB_IMAGES), bitmap), SvResStatus::Ok);
    EXPECT_EQ(bitmap.width, 2);
    EXPECT_EQ(bitmap.height, 1);
    const std::vector<BYTE> redThenGreen = {0, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF};
    EXPECT_EQ(bitmap.pixels, redThenGreen);
    EXPECT_EQ(svLoadBitmapResource(module, MAKEINTRESOURCEW(1), bitmap), SvResStatus::NotFound);
}

TEST_F(ResourceTemplates, CursorGroupNamesItsImagesAndTheNearestOneLoads) {
    const void* data = nullptr;
    const DWORD size = bytesOf(MAKEINTRESOURCEW(IDC_POINTER), RT_GROUP_CURSOR, data);
    std::vector<SvCursorGroupEntry> entries;
    ASSERT_EQ(svParseCursorGroup(data, size, entries), SvResStatus::Ok);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].width, 8);
    EXPECT_EQ(entries[0].height, 8);
    EXPECT_EQ(entries[0].bitCount, 1);
    EXPECT_EQ(entries[1].width, 32);
    EXPECT_EQ(entries[1].bitCount, 4);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(entries[0].id), RT_CURSOR), nullptr);

    SvCursorImage cursor;
    ASSERT_EQ(svLoadCursorResource(module, MAKEINTRESOURCEW(IDC_POINTER), cursor), SvResStatus::Ok);
    EXPECT_EQ(cursor.width, 32); // the 32-pixel image wins over the 8-pixel one
    EXPECT_EQ(cursor.hotspotX, 5);
    EXPECT_EQ(cursor.hotspotY, 6);
    const BYTE* first = &cursor.pixels[0];
    EXPECT_EQ(first[2], 0xFF); // red, opaque
    EXPECT_EQ(first[3], 0xFF);
    EXPECT_EQ(cursor.mask[31], 1); // the last column keeps the screen, inverted under red
    EXPECT_EQ(cursor.pixels[4 * 31 + 3], 0xFF);

    const DWORD small = bytesOf(MAKEINTRESOURCEW(entries[0].id), RT_CURSOR, data);
    EXPECT_EQ(small, entries[0].bytesInRes);
    ASSERT_EQ(svDecodeCursorResource(data, small, cursor), SvResStatus::Ok);
    EXPECT_EQ(cursor.hotspotX, 1);
    EXPECT_EQ(cursor.hotspotY, 2);
    EXPECT_EQ(cursor.pixels[0], 0xFF);  // the top-left pixel is white
    EXPECT_EQ(cursor.pixels[4 * 1], 0); // its neighbour black and opaque
    EXPECT_EQ(cursor.pixels[4 * 1 + 3], 0xFF);
    EXPECT_EQ(cursor.pixels[4 * 5 + 3], 0); // black under the mask lets the screen through
}

TEST_F(ResourceTemplates, NamesMatchAsOrdinalsOrHashNumbersOnly) {
    EXPECT_NE(FindResourceW(module, L"#2001", RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(module, L"#2001x", RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(module, L"IDD_SAMPLE", RT_DIALOG), nullptr); // ids were numbers
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDD_SAMPLE), RT_MENU), nullptr);
    SvResDialog dialog;
    EXPECT_EQ(svLoadDialog(module, MAKEINTRESOURCEW(1), dialog), SvResStatus::NotFound);
    SvResMenu menu;
    EXPECT_EQ(svLoadMenu(module, MAKEINTRESOURCEW(IDD_SAMPLE), menu), SvResStatus::NotFound);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_SAMPLE), RT_DIALOG), nullptr);
    EXPECT_EQ(LoadResource(module, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(module, nullptr), 0u);
}

TEST_F(ResourceTemplates, NamedResourcesMatchWithoutCase) {
    EXPECT_NE(FindResourceW(module, L"logo", RT_BITMAP), nullptr);
    HRSRC data = FindResourceW(module, L"Settings", RT_RCDATA);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(SizeofResource(module, data), 8u); // a word, a double word, two bytes
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, data)));
    const unsigned char expected[] = {0x34, 0x12, 7, 0, 0, 0, 'a', 'b'};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof expected), 0);
}

} // namespace
