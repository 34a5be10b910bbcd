#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

constexpr DWORD WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_TABSTOP = 0x00010000,
                WS_BORDER = 0x00800000, WS_VSCROLL = 0x00200000, WS_GROUP = 0x00020000,
                WS_CAPTION = 0x00C00000, DS_SETFONT = 0x40;

class ResourceTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(L"res_sample.dll");
        ASSERT_NE(module, nullptr) << svLastLoadError();
    }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = nullptr;
};

TEST_F(ResourceTemplates, DialogKeepsItsFrameFontAndControls) {
    const SvResDialog* dialog = svLoadDialog(module, MAKEINTRESOURCEW(IDD_SAMPLE));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->extended);
    EXPECT_STREQ(dialog->caption, L"Sample \"dialog\"");
    EXPECT_EQ(dialog->style & (WS_CAPTION | DS_SETFONT), WS_CAPTION | DS_SETFONT);
    EXPECT_EQ(dialog->cx, 240);
    EXPECT_EQ(dialog->cy, 120);
    EXPECT_EQ(dialog->fontPointSize, 8);
    EXPECT_EQ(dialog->fontWeight, 400);
    EXPECT_EQ(dialog->fontCharset, 1);
    EXPECT_STREQ(dialog->fontFace, L"MS Shell Dlg");
    ASSERT_EQ(dialog->itemCount, 10u);

    const SvResDialogItem& label = dialog->items[0];
    EXPECT_STREQ(label.windowClass, L"STATIC");
    EXPECT_STREQ(label.text, L"&Name:");
    EXPECT_EQ(label.id, -1);
    EXPECT_EQ(label.style, WS_CHILD | WS_VISIBLE | WS_GROUP);
    EXPECT_EQ(label.x, 7);
    EXPECT_EQ(label.y, 9);

    const SvResDialogItem& edit = dialog->items[1];
    EXPECT_STREQ(edit.windowClass, L"EDIT");
    EXPECT_EQ(edit.id, IDC_NAME);
    EXPECT_EQ(edit.style, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x80u); // ES_AUTOHSCROLL

    // Styles add to the statement's defaults, and NOT takes one away.
    const SvResDialogItem& list = dialog->items[2];
    EXPECT_EQ(list.style, WS_CHILD | WS_VISIBLE | WS_VSCROLL | 0x1u | 0x2u); // no WS_BORDER

    const SvResDialogItem& picture = dialog->items[5];
    EXPECT_STREQ(picture.windowClass, L"Static");
    EXPECT_EQ(picture.text, nullptr);
    EXPECT_EQ(picture.textOrdinal, IDB_IMAGES);
    EXPECT_EQ(picture.exStyle, 0x200u); // WS_EX_CLIENTEDGE

    const SvResDialogItem& help = dialog->items[9];
    EXPECT_EQ(help.id, 9);
    EXPECT_EQ(help.style & WS_TABSTOP, 0u);
    EXPECT_EQ(help.helpId, 1003u);
}

TEST_F(ResourceTemplates, MenuItemsFollowTheirPopupOneLevelDeeper) {
    const SvResMenu* menu = svLoadMenu(module, MAKEINTRESOURCEW(IDR_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->itemCount, 6u);
    const SvResMenuItem* items = menu->items;
    EXPECT_STREQ(items[0].text, L"Macros");
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
    HRSRC bitmap = FindResourceW(module, MAKEINTRESOURCEW(IDB_IMAGES), RT_BITMAP);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SizeofResource(module, bitmap), 40u + 8u);
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(module, bitmap)));
    std::int32_t headerSize = 0, width = 0;
    std::memcpy(&headerSize, bytes, 4);
    std::memcpy(&width, bytes + 4, 4);
    EXPECT_EQ(headerSize, 40);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(bytes[40 + 2], 0xFF); // the first pixel's red
}

TEST_F(ResourceTemplates, NamesMatchAsOrdinalsOrHashNumbersOnly) {
    EXPECT_NE(FindResourceW(module, L"#2001", RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(module, L"#2001x", RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(module, L"IDD_SAMPLE", RT_DIALOG), nullptr); // ids were numbers
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDD_SAMPLE), RT_MENU), nullptr);
    EXPECT_EQ(svLoadDialog(module, MAKEINTRESOURCEW(1)), nullptr);
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
