#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/shell.h"
#include "support/bin_dir.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

TEST(WindowsFolder, HoldsTheHelpProgramWithItsHandCursor) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::wstring(folder), binDirW() + L"/windows");
    EXPECT_EQ(length, std::wcslen(folder));
    wchar_t small[4] = L"xyz";
    EXPECT_EQ(GetWindowsDirectoryW(small, 4), length + 1);
    EXPECT_STREQ(small, L"xyz");

    const HMODULE help = LoadLibraryW((std::wstring(folder) + L"\\winhlp32.exe").c_str());
    ASSERT_NE(help, nullptr) << svLastLoadError();
    const HRSRC found = FindResourceW(help, MAKEINTRESOURCEW(106), RT_CURSOR);
    ASSERT_NE(found, nullptr);
    const auto* file = static_cast<const BYTE*>(LockResource(LoadResource(help, found)));
    ASSERT_EQ(SizeofResource(help, found), 326u);
    auto word = [file](int at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    EXPECT_EQ(word(2), 2u); // a cursor
    EXPECT_EQ(file[6], 32); // 32 by 32
    EXPECT_EQ(file[7], 32);
    EXPECT_EQ(word(12), 0u);                  // hot spot on the top row, at the finger's tip
    const BYTE* xorMask = file + 22 + 40 + 8; // rows bottom up, four bytes a row
    const BYTE* andMask = xorMask + 128;
    const int tipRow = 31 * 4;
    EXPECT_EQ(andMask[tipRow] >> (7 - word(10)) & 1, 0) << "the hot spot is on the hand";
    EXPECT_EQ(xorMask[tipRow] >> (7 - word(10)) & 1, 0) << "and drawn in black";
    FreeLibrary(help);
}

} // namespace
