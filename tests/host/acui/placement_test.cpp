#include "acui/acui.h"
#include "acui/placement.h"
#include "host/mfc/dialog_fixture.h"
#include "host/mfc/test_resource.h"
#include "shell/registry.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

TEST(PlaceOnScreen, KeepsTheSavedCornerAndTheTemplateSizeUnlessResizable) {
    const DialogPlacement saved{100, 50, 400, 300};
    const RECT fixed = placeOnScreen(saved, SIZE{200, 100}, SIZE{1024, 768}, false);
    EXPECT_EQ(fixed.left, 100);
    EXPECT_EQ(fixed.top, 50);
    EXPECT_EQ(fixed.right, 300);
    EXPECT_EQ(fixed.bottom, 150);
    const RECT sized = placeOnScreen(saved, SIZE{200, 100}, SIZE{1024, 768}, true);
    EXPECT_EQ(sized.right - sized.left, 400);
    EXPECT_EQ(sized.bottom - sized.top, 300);
}

TEST(PlaceOnScreen, BringsAPlaceOffTheScreenBackOntoIt) {
    const RECT right =
        placeOnScreen(DialogPlacement{5000, 900, 0, 0}, SIZE{200, 100}, SIZE{1024, 768}, false);
    EXPECT_EQ(right.left, 824);
    EXPECT_EQ(right.top, 668);
    const RECT negative =
        placeOnScreen(DialogPlacement{-70000, -5, -1, -1}, SIZE{200, 100}, SIZE{1024, 768}, true);
    EXPECT_EQ(negative.left, 0);
    EXPECT_EQ(negative.top, 0);
    EXPECT_EQ(negative.right, 200) << "a damaged saved size is not taken";
}

TEST(PlacementKey, LiesBelowTheRootUnderDialogs) {
    EXPECT_EQ(placementKey(L"Software\\Test", L"Sentavell:DlgStyle"),
              CString(L"Software\\Test\\Dialogs\\Sentavell:DlgStyle"));
    EXPECT_EQ(placementKey(L"Software\\Test\\", L"A"), CString(L"Software\\Test\\Dialogs\\A"));
}

// The registry file lives in a folder of the test's own.
class PlacedDialogs : public DialogTest {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("acui_placement_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        setenv("SVHOST_CONFIG_DIR", m_folder.c_str(), 1);
        svRegistryForget();
        DialogTest::SetUp();
    }
    void TearDown() override {
        DialogTest::TearDown();
        svRegistryForget();
        std::filesystem::remove_all(m_folder);
    }

    // Runs the named dialog once: records where it opened, moves it to `to` and closes it.
    POINT runMovingTo(const wchar_t* name, POINT to) {
        CAcUiDialog dialog(IDD_PLACED);
        dialog.SetRootKey(L"Software\\SvTests");
        if (name != nullptr)
            dialog.SetDialogName(name);
        POINT opened{-1, -1};
        screen.then([&](HWND modal) {
            RECT rect;
            GetWindowRect(modal, &rect);
            opened = POINT{rect.left, rect.top};
            SetWindowPos(modal, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            svInputClick(GetDlgItem(modal, IDOK));
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        return opened;
    }

private:
    std::filesystem::path m_folder;
};

TEST_F(PlacedDialogs, ANamedDialogOpensWhereItClosedAlsoAfterTheRegistryIsReadAgain) {
    const POINT first = runMovingTo(L"Test:Placed", POINT{123, 77});
    EXPECT_FALSE(first.x == 123 && first.y == 77);
    svRegistryForget();
    const POINT second = runMovingTo(L"Test:Placed", POINT{300, 200});
    EXPECT_EQ(second.x, 123);
    EXPECT_EQ(second.y, 77);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SvTests\\Dialogs\\Test:Placed", 0,
                            KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD left = 0;
    DWORD size = sizeof(left);
    DWORD type = 0;
    EXPECT_EQ(
        RegQueryValueExW(key, L"Left", nullptr, &type, reinterpret_cast<LPBYTE>(&left), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(left, 300u);
    RegCloseKey(key);
}

TEST_F(PlacedDialogs, AnUnnamedDialogKeepsNothing) {
    const POINT first = runMovingTo(nullptr, POINT{123, 77});
    const POINT second = runMovingTo(nullptr, POINT{123, 77});
    EXPECT_EQ(first.x, second.x);
    EXPECT_EQ(first.y, second.y);
    HKEY key = nullptr;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SvTests\\Dialogs", 0, KEY_QUERY_VALUE, &key),
        ERROR_SUCCESS);
}

TEST_F(PlacedDialogs, ADamagedValueIsIgnored) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\SvTests\\Dialogs\\Test:Damaged", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t text[] = L"left";
    RegSetValueExW(key, L"Left", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    RegCloseKey(key);
    EXPECT_FALSE(loadPlacement(L"Software\\SvTests\\Dialogs\\Test:Damaged").has_value());
    const POINT opened = runMovingTo(L"Test:Damaged", POINT{10, 10});
    EXPECT_NE(opened.x, -1);
    EXPECT_TRUE(loadPlacement(L"Software\\SvTests\\Dialogs\\Test:Damaged").has_value());
}

} // namespace
