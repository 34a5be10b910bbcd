#include "dialog_fixture.h"
#include "mfc/afxwin.h"
#include "test_resource.h"

#include <vector>

namespace {

class CRowsDialog : public CDialog {
public:
    CRowsDialog() : CDialog(static_cast<UINT>(IDD_CONTROLS)) {}
    CListCtrl m_rows;
    std::vector<int> rightClicked;
    std::vector<int> doubleClicked;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_ROWS, m_rows); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_rows.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        m_rows.InsertColumn(0, L"Name");
        m_rows.InsertColumn(1, L"Description");
        for (const wchar_t* name : {L"alpha", L"beta", L"gamma"}) {
            const int row = m_rows.InsertItem(m_rows.GetItemCount(), name);
            m_rows.SetItemText(row, 1, L"text");
            m_rows.SetItemData(row, static_cast<DWORD_PTR>(100 + row));
        }
        m_rows.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
        return TRUE;
    }
    afx_msg void OnRClick(NMHDR* header, LRESULT* result) {
        rightClicked.push_back(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        *result = 0;
    }
    afx_msg void OnDblClk(NMHDR* header, LRESULT* result) {
        doubleClicked.push_back(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRowsDialog, CDialog)
ON_NOTIFY(NM_RCLICK, IDC_ROWS, &CRowsDialog::OnRClick)
ON_NOTIFY(NM_DBLCLK, IDC_ROWS, &CRowsDialog::OnDblClk)
END_MESSAGE_MAP()

POINT rowPoint(const CListCtrl& list, int row) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    list.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT point{rect.left + 5, (rect.top + rect.bottom) / 2};
    list.ClientToScreen(&point);
    return point;
}

using ListNotifications = DialogTest;

TEST_F(ListNotifications, RightAndDoubleClicksReachTheDialogsMapWithTheirRow) {
    CRowsDialog dialog;
    screen.then([&](HWND) {
        EXPECT_EQ(dialog.m_rows.GetItemCount(), 3);
        EXPECT_EQ(dialog.m_rows.GetItemText(2, 0), CString(L"gamma"));
        EXPECT_EQ(dialog.m_rows.GetItemData(1), 101u);
        const POINT beta = rowPoint(dialog.m_rows, 1);
        svInputMouseButton(SvMouseButton::right, true, beta);
        svInputMouseButton(SvMouseButton::right, false, beta);
        const POINT gamma = rowPoint(dialog.m_rows, 2);
        svInputMouseButton(SvMouseButton::left, true, gamma);
        svInputMouseButton(SvMouseButton::left, false, gamma);
        svInputMouseDoubleClick(SvMouseButton::left, gamma);
        svInputMouseButton(SvMouseButton::left, false, gamma);
    });
    screen.then([&](HWND modal) {
        EXPECT_EQ(dialog.rightClicked, std::vector<int>{1});
        EXPECT_EQ(dialog.doubleClicked, std::vector<int>{2});
        EXPECT_EQ(dialog.m_rows.GetNextItem(-1, LVNI_SELECTED), 2);
        EXPECT_TRUE(dialog.m_rows.DeleteItem(0));
        EXPECT_EQ(dialog.m_rows.GetItemData(0), 101u);
        svInputClick(GetDlgItem(modal, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

using ImageLists = DialogTest;

TEST_F(ImageLists, ComeFromTheResourceChainsBitmapsAndRefuseMissingOnes) {
    CImageList images;
    ASSERT_TRUE(images.Create(IDB_PICTURE, 1, 0, RGB(0, 255, 0)));
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_FALSE(images.Create(IDB_PICTURE, 1, 0, RGB(0, 255, 0))) << "already holds one";
    EXPECT_TRUE(images.DeleteImageList());
    CImageList missing;
    EXPECT_FALSE(missing.Create(4242, 1, 0, RGB(0, 255, 0)));
}

} // namespace
