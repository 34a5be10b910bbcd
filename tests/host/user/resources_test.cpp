#include "scripted_screen.h"

#include "win/modules.h"

#include "host/resources/resource.h"

#include <gtest/gtest.h>

namespace {

// The resource tests' sample module: a script with a dialog, a menu and a cursor.
class ModuleResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(L"res_sample.dll");
        ASSERT_TRUE(module) << svLastLoadError();
    }
    void TearDown() override { FreeLibrary(module); }

    HMODULE module = nullptr;
    ScriptedScreen screen;
};

INT_PTR classicProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND)
        EndDialog(dialog, LOWORD(wParam));
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

TEST_F(ModuleResourcesTest, AModulesDialogRunsFromItsTemplate) {
    std::wstring caption;
    screen.then([&caption](HWND dialog) {
        wchar_t text[32];
        GetWindowTextW(dialog, text, 32);
        caption = text;
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_CLASSIC), nullptr, classicProc, 0),
              IDOK);
    EXPECT_EQ(caption, L"Classic");
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCEW(4711), nullptr, classicProc, 0), -1);
}

TEST_F(ModuleResourcesTest, AModulesMenuKeepsItsStatesAndNesting) {
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENU));
    ASSERT_TRUE(menu);
    HMENU macros = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemCount(macros), 4);
    EXPECT_EQ(GetMenuState(macros, ID_MACRO_LENGTH, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
    EXPECT_TRUE(GetMenuState(menu, ID_MACRO_CHECK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(GetMenuItemID(macros, 3), static_cast<UINT>(-1)) << "a popup";

    HWND owner = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    screen.then([](HWND) {
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(macros, TPM_RETURNCMD, 10, 10, 0, owner, nullptr),
              static_cast<BOOL>(ID_MACRO_AREA));
    DestroyWindow(owner);
    DestroyMenu(menu);
    EXPECT_EQ(LoadMenuW(module, MAKEINTRESOURCEW(4711)), nullptr);
}

TEST_F(ModuleResourcesTest, AModulesCursorIsLoadedOnceWithItsImage) {
    HCURSOR cursor = LoadCursorW(module, MAKEINTRESOURCEW(IDC_POINTER));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(LoadCursorW(module, MAKEINTRESOURCEW(IDC_POINTER)), cursor);
    const SvCursorImage* image = svCursorImage(cursor);
    ASSERT_TRUE(image);
    EXPECT_GT(image->width, 0);
    HCURSOR copy = CopyIcon(cursor);
    EXPECT_NE(copy, cursor);
    EXPECT_EQ(svCursorImage(copy)->width, image->width);
    EXPECT_TRUE(DestroyCursor(copy));
    EXPECT_EQ(svCursorImage(copy), nullptr) << "a destroyed copy is gone";
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_EQ(svCursorImage(cursor), image) << "a shared cursor stays";
    EXPECT_EQ(LoadCursorW(module, MAKEINTRESOURCEW(4711)), nullptr);
}

} // namespace
