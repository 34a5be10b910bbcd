#include "dialog_fixture.h"
#include "mfc/afxwin.h"
#include "test_resource.h"

#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// Draws a red line from (2, 5) to (12, 5) and keeps the states it was drawn in.
class CArrowButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override {
        states.push_back(drawItem->itemState);
        CDC* dc = CDC::FromHandle(drawItem->hDC);
        CPen pen(PS_SOLID, 0, kRed);
        CPen* previous = dc->SelectObject(&pen);
        dc->MoveTo(2, 5);
        dc->LineTo(12, 5);
        dc->SelectObject(previous);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_LBUTTONDOWN || msg->message == WM_MOUSEMOVE)
            seen.push_back(msg->message);
        return swallowPresses && msg->message == WM_LBUTTONDOWN;
    }
    UINT lastState() const { return states.empty() ? 0xFFFFFFFF : states.back(); }

    std::vector<UINT> states;
    std::vector<UINT> seen;
    bool swallowPresses = false;
    int subclassed = 0;

protected:
    void PreSubclassWindow() override {
        ++subclassed;
        CButton::PreSubclassWindow();
    }
};

class CControlsDialog : public CDialog {
public:
    explicit CControlsDialog(UINT id = IDD_CONTROLS) : CDialog(id) {}

    CArrowButton m_arrow;
    int clicks = 0;
    INT_PTR childResult = 0;
    int childDepth = 0;
    std::vector<HWND> dialogSaw;
    std::vector<UINT> keys;
    bool keepEscape = false;
    bool bindMissing = false;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_ARROW_BUTTON, m_arrow);
        if (bindMissing)
            DDX_Control(dx, IDC_MISSING, m_missing);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_MOUSEMOVE)
            dialogSaw.push_back(msg->hwnd);
        if (msg->message == WM_KEYDOWN) {
            keys.push_back(static_cast<UINT>(msg->wParam));
            if (keepEscape && msg->wParam == VK_ESCAPE)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }
    afx_msg void OnArrow() { ++clicks; }
    afx_msg void OnOpenChild() {
        CDialog child(IDD_CHILD, this);
        childResult = child.DoModal();
    }

    DECLARE_MESSAGE_MAP()

private:
    CButton m_missing;
};

BEGIN_MESSAGE_MAP(CControlsDialog, CDialog)
ON_BN_CLICKED(IDC_ARROW_BUTTON, &CControlsDialog::OnArrow)
ON_BN_CLICKED(IDC_OPEN_CHILD, &CControlsDialog::OnOpenChild)
END_MESSAGE_MAP()

void redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

using OwnerDraw = DialogTest;

TEST_F(OwnerDraw, StatesFollowPressFocusAndEnablingAndTheLineLeavesOutItsEnd) {
    CControlsDialog dialog;
    screen.then([&](HWND) {
        ::SetFocus(dialog.m_arrow);
        redraw(dialog.m_arrow);
        EXPECT_TRUE(dialog.m_arrow.lastState() & ODS_FOCUS);
        EXPECT_FALSE(dialog.m_arrow.lastState() & ODS_SELECTED);
        pressAt(dialog.m_arrow, true);
    });
    screen.then([&](HWND) {
        redraw(dialog.m_arrow);
        EXPECT_TRUE(dialog.m_arrow.lastState() & ODS_SELECTED);
        EXPECT_EQ(dialog.clicks, 0);
        pressAt(dialog.m_arrow, false);
    });
    screen.then([&](HWND modal) {
        EXPECT_EQ(dialog.clicks, 1);
        redraw(dialog.m_arrow);
        EXPECT_FALSE(dialog.m_arrow.lastState() & ODS_SELECTED);
        ::SetFocus(GetDlgItem(modal, IDC_TEXT));
        redraw(dialog.m_arrow);
        EXPECT_FALSE(dialog.m_arrow.lastState() & ODS_FOCUS);
        dialog.m_arrow.EnableWindow(FALSE);
        redraw(dialog.m_arrow);
        EXPECT_TRUE(dialog.m_arrow.lastState() & ODS_DISABLED);
        for (int x = 2; x < 12; ++x)
            EXPECT_EQ(snapshotPixel(dialog.m_arrow, x, 5), kRed) << x;
        EXPECT_NE(snapshotPixel(dialog.m_arrow, 12, 5), kRed);
        EXPECT_NE(snapshotPixel(dialog.m_arrow, 1, 5), kRed);
        svInputClick(GetDlgItem(modal, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(screen.finished());
}

using Subclassing = DialogTest;

TEST_F(Subclassing, ReplacesTheProcedureOnceAndOffersInputToControlAndDialog) {
    CControlsDialog dialog;
    HWND button = nullptr;
    screen.then([&](HWND) {
        button = dialog.m_arrow;
        EXPECT_EQ(GetWindowLongPtrW(button, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc));
        EXPECT_EQ(CWnd::FromHandlePermanent(button), &dialog.m_arrow);
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        svInputMouseMove(svWindowCentre(button));
    });
    screen.then([&](HWND) {
        EXPECT_EQ(dialog.m_arrow.seen, std::vector<UINT>{WM_MOUSEMOVE});
        EXPECT_EQ(dialog.dialogSaw, std::vector<HWND>{button});
        dialog.m_arrow.swallowPresses = true;
        pressAt(button, true);
        pressAt(button, false);
    });
    screen.then([&](HWND) {
        EXPECT_EQ(dialog.clicks, 0) << "a press PreTranslateMessage kept never reached it";
        dialog.keepEscape = true;
        svInputKeyPress(VK_ESCAPE);
    });
    screen.then([&](HWND modal) {
        EXPECT_TRUE(IsWindowVisible(modal)) << "the dialog manager never saw Esc";
        EXPECT_EQ(dialog.keys, std::vector<UINT>{VK_ESCAPE});
        dialog.keepEscape = false;
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_arrow.subclassed, 1);
    EXPECT_EQ(dialog.m_arrow.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(button));
}

TEST_F(Subclassing, AMissingControlEndsTheDialogWithMinusOne) {
    CControlsDialog dialog;
    dialog.bindMissing = true;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

using Modal = DialogTest;

TEST_F(Modal, ADialogOpenedFromADialogRunsItsOwnLoopInsideTheHandler) {
    CControlsDialog dialog;
    HWND outer = nullptr;
    screen.then([&](HWND modal) {
        outer = modal;
        svInputClick(GetDlgItem(modal, IDC_OPEN_CHILD));
    });
    screen.then([&](HWND modal) {
        EXPECT_NE(modal, outer);
        EXPECT_EQ(svModalDepth(), 2);
        EXPECT_FALSE(IsWindowEnabled(outer));
        svInputClick(GetDlgItem(modal, IDOK));
    });
    screen.then([&](HWND modal) {
        EXPECT_EQ(modal, outer);
        EXPECT_EQ(dialog.childResult, IDOK);
        EXPECT_EQ(svModalDepth(), 1);
        svInputClick(GetDlgItem(modal, IDC_OPEN_CHILD));
    });
    screen.then([&](HWND) { svInputKeyPress(VK_ESCAPE); });
    screen.then([&](HWND modal) {
        EXPECT_EQ(dialog.childResult, IDCANCEL);
        svInputClick(GetDlgItem(modal, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(screen.finished());
}

TEST_F(Modal, AMissingTemplateOrNoMoreInputAnswersMinusOne) {
    CDialog missing(4242u);
    EXPECT_EQ(missing.DoModal(), -1);
    CDialog child(IDD_CHILD);
    EXPECT_EQ(child.DoModal(), -1) << "the screen gives no input";
    EXPECT_EQ(child.m_hWnd, nullptr);
}

} // namespace
