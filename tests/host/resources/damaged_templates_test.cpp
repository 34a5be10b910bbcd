#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resource.h"
#include "win/dialog_template.h"
#include "win/menu_template.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

// Resource bytes copied to memory the test may damage, DWORD-aligned like a module's.
struct Copy {
    std::vector<DWORD> storage;
    std::size_t size = 0;
    BYTE* bytes() { return reinterpret_cast<BYTE*>(storage.data()); }
};

Copy copyOf(LPCWSTR name, LPCWSTR type) {
    HMODULE module = LoadLibraryW(L"res_sample.dll");
    EXPECT_NE(module, nullptr) << svLastLoadError();
    HRSRC found = FindResourceW(module, name, type);
    EXPECT_NE(found, nullptr);
    Copy copy;
    copy.size = SizeofResource(module, found);
    copy.storage.resize(copy.size / 4 + 2);
    std::memcpy(copy.bytes(), LockResource(LoadResource(module, found)), copy.size);
    FreeLibrary(module);
    return copy;
}

void put(BYTE* at, WORD value) {
    std::memcpy(at, &value, 2);
}

// Where the pattern of words first stands in the bytes, or npos.
std::size_t find(const Copy& copy, std::initializer_list<WORD> words) {
    std::vector<BYTE> pattern(words.size() * 2);
    std::memcpy(pattern.data(), std::data(words), pattern.size());
    const auto* begin = reinterpret_cast<const BYTE*>(copy.storage.data());
    const BYTE* at = std::search(begin, begin + copy.size, pattern.begin(), pattern.end());
    return at == begin + copy.size ? std::string::npos : static_cast<std::size_t>(at - begin);
}

TEST(DamagedDialogTemplates, EveryShortenedTemplateFailsAndLeavesNothing) {
    for (WORD id : {WORD{IDD_SAMPLE}, WORD{IDD_CLASSIC}, WORD{IDD_LISTS}}) {
        Copy copy = copyOf(MAKEINTRESOURCEW(id), RT_DIALOG);
        SvResDialog dialog;
        ASSERT_EQ(svParseDialogTemplate(copy.bytes(), copy.size, dialog), SvResStatus::Ok);
        for (std::size_t cut = 0; cut < copy.size; ++cut) {
            const SvResStatus status = svParseDialogTemplate(copy.bytes(), cut, dialog);
            EXPECT_TRUE(status == SvResStatus::Truncated ||
                        status == SvResStatus::UnterminatedString ||
                        status == SvResStatus::TooManyItems)
                << "template " << id << " cut at " << cut << ": " << static_cast<int>(status);
            EXPECT_TRUE(dialog.items.empty() && dialog.caption.empty());
        }
    }
    SvResDialog dialog;
    EXPECT_EQ(svParseDialogTemplate(nullptr, 100, dialog), SvResStatus::Truncated);
}

TEST(DamagedDialogTemplates, HeaderFaultsAreNamed) {
    Copy copy = copyOf(MAKEINTRESOURCEW(IDD_SAMPLE), RT_DIALOG);
    SvResDialog dialog;
    // The platform reads templates only from a DWORD boundary.
    std::vector<BYTE> shifted(copy.size + 2);
    std::memcpy(shifted.data() + 2, copy.bytes(), copy.size);
    EXPECT_EQ(svParseDialogTemplate(shifted.data() + 2, copy.size, dialog),
              SvResStatus::Misaligned);

    put(copy.bytes() + 16, 0xFFFF); // cDlgItems: far more than the bytes hold
    EXPECT_EQ(svParseDialogTemplate(copy.bytes(), copy.size, dialog), SvResStatus::TooManyItems);
    put(copy.bytes() + 16, 10);
    put(copy.bytes(), 2); // dlgVer
    EXPECT_EQ(svParseDialogTemplate(copy.bytes(), copy.size, dialog), SvResStatus::BadHeader);
}

TEST(DamagedDialogTemplates, UnknownClassOrdinalIsABadValue) {
    Copy copy = copyOf(MAKEINTRESOURCEW(IDD_CLASSIC), RT_DIALOG);
    const std::size_t button = find(copy, {0xFFFF, SV_CLASS_BUTTON});
    ASSERT_NE(button, std::string::npos);
    put(copy.bytes() + button + 2, 0x0099);
    SvResDialog dialog;
    EXPECT_EQ(svParseDialogTemplate(copy.bytes(), copy.size, dialog), SvResStatus::BadValue);
}

// An extended template built in memory, as a caller of DialogBoxIndirectParamW would: two items,
// the first carrying three bytes of creation data, so the second starts after padding.
TEST(InMemoryDialogTemplates, CreationDataIsKeptAndTheNextItemRealigns) {
    const std::vector<WORD> words = {1,      0xFFFF,
                                     0,      0,
                                     0,      0,
                                     0,      0,
                                     2,      0,
                                     0,      50,
                                     20, // header, no DS_SETFONT, two items
                                     0,      0,
                                     L'T',   0,
                                     0, // no menu, no class, caption "T", pad
                                     0,      0,
                                     0,      0,
                                     0,      0x5000,
                                     1,      2,
                                     3,      4,
                                     11,     0, // item: style WS_CHILD | WS_VISIBLE, id 11
                                     L'C',   L'u',
                                     0,      0,
                                     3,      0x0201,
                                     0x0003, 0, // class "Cu", no title, 3 bytes, then pad
                                     0,      0,
                                     0,      0,
                                     0,      0,
                                     0,      0,
                                     0,      0,
                                     12,     0, // item: id 12
                                     0xFFFF, SV_CLASS_EDIT,
                                     0xFFFF, 7,
                                     0}; // Edit, title ordinal 7, no creation data
    std::vector<DWORD> aligned(words.size() / 2 + 1);
    std::memcpy(aligned.data(), words.data(), words.size() * 2);
    SvResDialog dialog;
    ASSERT_EQ(svParseDialogTemplate(aligned.data(), words.size() * 2, dialog), SvResStatus::Ok);
    EXPECT_EQ(dialog.caption, L"T");
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].windowClass, L"Cu");
    EXPECT_EQ(dialog.items[0].style, 0x50000000u);
    EXPECT_EQ(dialog.items[0].creationData, (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(dialog.items[1].id, 12);
    EXPECT_EQ(dialog.items[1].windowClass, L"Edit");
    EXPECT_EQ(dialog.items[1].title.ordinal, 7);
}

TEST(DamagedMenuTemplates, EveryShortenedMenuFails) {
    Copy copy = copyOf(MAKEINTRESOURCEW(IDR_MENU), RT_MENU);
    SvResMenu menu;
    ASSERT_EQ(svParseMenuTemplate(copy.bytes(), copy.size, menu), SvResStatus::Ok);
    for (std::size_t cut = 0; cut < copy.size; ++cut) {
        const SvResStatus status = svParseMenuTemplate(copy.bytes(), cut, menu);
        EXPECT_TRUE(status == SvResStatus::Truncated || status == SvResStatus::UnterminatedString)
            << "cut at " << cut;
        EXPECT_TRUE(menu.items.empty());
    }
}

TEST(DamagedMenuTemplates, VersionsAndOptionsOutsideTheStandardTemplateAreRefused) {
    Copy copy = copyOf(MAKEINTRESOURCEW(IDR_MENU), RT_MENU);
    SvResMenu menu;
    put(copy.bytes(), 1);
    EXPECT_EQ(svParseMenuTemplate(copy.bytes(), copy.size, menu), SvResStatus::Unsupported);
    put(copy.bytes(), 7);
    EXPECT_EQ(svParseMenuTemplate(copy.bytes(), copy.size, menu), SvResStatus::BadHeader);
    put(copy.bytes(), 0);
    put(copy.bytes() + 2, 0x7FFF); // header offset past the end
    EXPECT_EQ(svParseMenuTemplate(copy.bytes(), copy.size, menu), SvResStatus::Truncated);
    put(copy.bytes() + 2, 0);
    put(copy.bytes() + 4, MF_POPUP | MF_END | 0x0100); // owner-drawn needs run-time data
    EXPECT_EQ(svParseMenuTemplate(copy.bytes(), copy.size, menu), SvResStatus::BadValue);
    EXPECT_EQ(svParseMenuTemplate(copy.bytes() + 1, copy.size - 1, menu), SvResStatus::Misaligned);
}

// Popups each holding the next, the innermost holding one command.
std::vector<WORD> nestedMenu(int popups) {
    std::vector<WORD> words = {0, 0};
    for (int i = 0; i < popups; ++i)
        words.insert(words.end(), {MF_POPUP | MF_END, L'p', 0});
    words.insert(words.end(), {MF_END, 7, L'x', 0});
    return words;
}

TEST(DamagedMenuTemplates, NestingStopsAtItsLimit) {
    SvResMenu menu;
    std::vector<WORD> deepest = nestedMenu(SV_MENU_MAX_DEPTH);
    ASSERT_EQ(svParseMenuTemplate(deepest.data(), deepest.size() * 2, menu), SvResStatus::Ok);
    EXPECT_EQ(menu.items.back().depth, UINT{SV_MENU_MAX_DEPTH});
    EXPECT_EQ(menu.items.back().id, 7u);
    std::vector<WORD> tooDeep = nestedMenu(SV_MENU_MAX_DEPTH + 1);
    EXPECT_EQ(svParseMenuTemplate(tooDeep.data(), tooDeep.size() * 2, menu), SvResStatus::TooDeep);
    EXPECT_TRUE(menu.items.empty());
}

} // namespace
