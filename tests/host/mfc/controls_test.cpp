#include "dialog_fixture.h"
#include "mfc/afxwin.h"
#include "test_resource.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 160, 0);

// Handles its own click and colours itself, as a hyperlink control does.
class CLinkStatic : public CStatic {
public:
    CLinkStatic() : m_brush(kGreen) {}
    int clicks = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor) {
        EXPECT_EQ(ctlColor, static_cast<UINT>(CTLCOLOR_STATIC));
        dc->SetTextColor(RGB(0, 0, 255));
        dc->SetBkColor(kGreen);
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()

private:
    CBrush m_brush;
};

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
ON_CONTROL_REFLECT(STN_CLICKED, &CLinkStatic::OnClicked)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CSelfButton : public CButton {
public:
    int clicks = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, &CSelfButton::OnClicked)
END_MESSAGE_MAP()

class CReflectDialog : public CDialog {
public:
    CReflectDialog() : CDialog(static_cast<UINT>(IDD_CONTROLS)) {}
    CLinkStatic m_link;
    CSelfButton m_self;
    int parentClicks = 0;
    int helpRequests = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_LINK_STATIC, m_link);
        DDX_Control(dx, IDC_SELF_BUTTON, m_self);
    }
    afx_msg void OnParentClick() { ++parentClicks; }
    afx_msg BOOL OnHelpInfo(HELPINFO*) {
        ++helpRequests;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectDialog, CDialog)
ON_BN_CLICKED(IDC_SELF_BUTTON, &CReflectDialog::OnParentClick)
ON_STN_CLICKED(IDC_LINK_STATIC, &CReflectDialog::OnParentClick)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

using Reflection = DialogTest;

TEST_F(Reflection, ControlsHandleTheirOwnClicksAndColoursBeforeTheParent) {
    CReflectDialog dialog;
    screen.then([&](HWND) {
        svInputClick(dialog.m_link);
        svInputClick(dialog.m_self);
        svInputKeyPress(VK_F1);
    });
    screen.then([&](HWND modal) {
        EXPECT_EQ(dialog.m_link.clicks, 1);
        EXPECT_EQ(dialog.m_self.clicks, 1);
        EXPECT_EQ(dialog.parentClicks, 0);
        EXPECT_EQ(dialog.helpRequests, 1);
        EXPECT_EQ(snapshotPixel(dialog.m_link, 0, 0), kGreen);
        svInputClick(GetDlgItem(modal, IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(Reflection, WithoutAControlClassTheParentGetsTheNotification) {
    class CPlainDialog : public CReflectDialog {
    protected:
        void DoDataExchange(CDataExchange*) override {}
    } dialog;
    screen.then([&](HWND modal) { svInputClick(GetDlgItem(modal, IDC_SELF_BUTTON)); });
    screen.then([&](HWND modal) {
        EXPECT_EQ(dialog.parentClicks, 1);
        svInputClick(GetDlgItem(modal, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

} // namespace
