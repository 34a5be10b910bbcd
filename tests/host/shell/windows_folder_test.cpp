#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/shell.h"
#include "support/bin_dir.h"
#include "win/cursor_resource.h"
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
    SvCursorImage hand;
    ASSERT_EQ(svLoadCursorResource(help, MAKEINTRESOURCEW(106), hand), SvResStatus::Ok);
    EXPECT_EQ(hand.width, 32);
    EXPECT_EQ(hand.height, 32);
    // The hot spot is on the top row, at the finger's tip, which is drawn in black.
    EXPECT_EQ(hand.hotspotY, 0);
    const std::size_t tip = hand.hotspotX;
    EXPECT_EQ(hand.mask[tip], 0) << "the hot spot is on the hand";
    EXPECT_EQ(hand.pixels[tip * 4], 0);
    EXPECT_EQ(hand.pixels[tip * 4 + 1], 0);
    EXPECT_EQ(hand.pixels[tip * 4 + 2], 0);
    FreeLibrary(help);
}

} // namespace
