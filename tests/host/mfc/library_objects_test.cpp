#include "dialog_fixture.h"
#include "mfc/afxwin.h"
#include "test_resource.h"

namespace {

using Menus = DialogTest;

TEST_F(Menus, LoadFromTheChainAndReturnTheChosenCommand) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_POPUP));
    EXPECT_FALSE(menu.LoadMenu(IDR_POPUP)) << "already holds one";
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup, menu.GetSubMenu(0)) << "one wrapper a handle";
    EXPECT_EQ(menu.GetSubMenu(1), nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 2);
    popup->EnableMenuItem(ID_FIRST, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(ID_FIRST, MF_BYCOMMAND) & MF_GRAYED);

    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, L"Static", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    screen.then([&](HWND) {
        RECT item;
        ASSERT_TRUE(GetMenuItemRect(nullptr, *popup, 1, &item));
        const POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        svInputMouseButton(SvMouseButton::left, true, centre);
        svInputMouseButton(SvMouseButton::left, false, centre);
    });
    screen.then([&](HWND) { svInputKeyPress(VK_ESCAPE); });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner),
              static_cast<BOOL>(ID_SECOND));
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner), 0);
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(*popup));
}

TEST(MenuResources, AMissingOneLoadsNothing) {
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(4242u));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
}

using ComboBoxes = DialogTest;

TEST_F(ComboBoxes, KeepTheirItemsDataAndSelection) {
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_CHILD));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 5, 80, 60), &dialog, 77));
    EXPECT_EQ(dialog.GetDlgItem(77), &combo);
    for (const wchar_t* fruit : {L"pear", L"apple", L"fig"})
        combo.SetItemData(combo.AddString(fruit), fruit[0]);
    EXPECT_EQ(combo.GetCount(), 3);
    const int apple = combo.FindStringExact(-1, L"apple");
    ASSERT_NE(apple, CB_ERR);
    EXPECT_EQ(combo.GetItemData(apple), static_cast<DWORD_PTR>(L'a'));
    EXPECT_EQ(combo.FindStringExact(-1, L"app"), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(apple);
    CString text;
    combo.GetLBText(combo.GetCurSel(), text);
    EXPECT_EQ(text, CString(L"apple"));
    combo.GetLBText(99, text);
    EXPECT_TRUE(text.IsEmpty());
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    const HWND window = combo.m_hWnd;
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(combo.m_hWnd, nullptr) << "detached with its last message";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(PaintingObjects, SelectAnswersThePreviousAndWrappersDieWithTheirHandle) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen red(PS_SOLID, 0, RGB(255, 0, 0));
    CPen* previous = dc.SelectObject(&red);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(red.DeleteObject()) << "still selected";
    EXPECT_EQ(dc.SelectObject(previous)->m_hObject, red.m_hObject);
    EXPECT_TRUE(red.DeleteObject());

    LOGFONTW face{};
    face.lfHeight = -12;
    face.lfWeight = FW_BOLD;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&face));
    LOGFONTW back{};
    EXPECT_EQ(font.GetLogFont(&back), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    const HGDIOBJ handle = font.m_hObject;
    EXPECT_NE(CFont::FromHandle(static_cast<HFONT>(handle)), &font) << "a temporary wrapper";
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_EQ(CFont::FromHandle(static_cast<HFONT>(handle)), nullptr);
    EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
}

TEST(Windows, ForeignHandlesGetTemporaryWrappersAndDeadOnesNone) {
    CWnd owned;
    ASSERT_TRUE(owned.CreateEx(0, L"Static", L"text", WS_POPUP, CRect(0, 0, 20, 20), nullptr, 0));
    const HWND foreign = CreateWindowExW(0, L"Static", L"foreign", WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CString text;
    wrapper->GetWindowText(text);
    EXPECT_EQ(text, CString(L"foreign"));
    EXPECT_FALSE(owned.Attach(foreign)) << "already has a window";
    DestroyWindow(foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), nullptr);
    const HWND mine = owned.m_hWnd;
    {
        CWnd* again = CWnd::FromHandle(mine);
        EXPECT_EQ(again, &owned);
    }
    EXPECT_TRUE(owned.DestroyWindow());
    EXPECT_EQ(owned.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(mine));
}

} // namespace
