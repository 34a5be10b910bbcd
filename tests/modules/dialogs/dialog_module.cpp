// A module whose command DLGTEST runs a dialog with every kind of control, the way the add-on's
// dialogs are built: a template in the module's resources, a message map, controls bound with
// DDX_Control. Each handler reports on the command line, so a script shows what fired, in order.
#include "StArxApp.h"
#include "acui/acui.h"
#include "dialog_ids.h"
#include "ed/commands.h"
#include "mfc/afxwin.h"
#include "rx/print.h"
#include "user/input.h"
#include "win/export.h"

namespace {

AFX_EXTENSION_MODULE g_extension;

// Paints a line with the pen as the add-on's menu button does.
class CDrawnButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->DrawFrameControl(&item->rcItem, DFC_BUTTON,
                             DFCS_BUTTONPUSH |
                                 ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
        CPen pen;
        pen.CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
        CPen* old = dc->SelectObject(&pen);
        dc->MoveTo(2, 5);
        dc->LineTo(10, 5);
        dc->SelectObject(old);
    }
};

class CInnerDialog : public CDialog {
public:
    explicit CInnerDialog(CWnd* parent) : CDialog(static_cast<UINT>(IDD_INNER), parent) {}

protected:
    afx_msg void OnAsk() {
        const int answer =
            MessageBox(L"Go on?", L"Inner", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        acutPrintf(L"\n[dlg] asked: %s", answer == IDYES ? L"yes" : L"no");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInnerDialog, CDialog)
ON_BN_CLICKED(IDC_ASK, &CInnerDialog::OnAsk)
END_MESSAGE_MAP()

class CEveryControlDialog : public CDialog {
public:
    CEveryControlDialog() : CDialog(static_cast<UINT>(IDD_EVERY_CONTROL)) {}

protected:
    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_DRAWN, m_drawn);
        DDX_Control(dx, IDC_CHOICE, m_choice);
        DDX_Control(dx, IDC_ROWS, m_rows);
        DDX_Control(dx, IDC_TREE, m_tree);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const wchar_t* choice : {L"Alpha", L"Beta", L"Gamma"})
            m_choice.AddString(choice);
        m_rows.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        m_rows.InsertColumn(0, L"Name");
        m_rows.InsertColumn(1, L"Kind");
        for (const wchar_t* name : {L"One", L"Two", L"Three"})
            m_rows.SetItemText(m_rows.InsertItem(m_rows.GetItemCount(), name), 1, L"row");
        m_rows.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
        const HTREEITEM parent = m_tree.InsertItem(L"Parent");
        m_tree.InsertItem(L"Child", parent);
        m_tree.Expand(parent, TVE_EXPAND);
        return TRUE;
    }
    void OnOK() override {
        acutPrintf(L"\n[dlg] ok");
        CDialog::OnOK();
    }

    afx_msg void OnPress() { acutPrintf(L"\n[dlg] pressed"); }
    afx_msg void OnDrawn() { acutPrintf(L"\n[dlg] drawn button clicked"); }
    afx_msg void OnNameChange() {
        CString text;
        GetDlgItem(IDC_NAME)->GetWindowText(text);
        acutPrintf(L"\n[dlg] name: %s", static_cast<LPCWSTR>(text));
    }
    afx_msg void OnLink() { acutPrintf(L"\n[dlg] link clicked"); }
    afx_msg void OnChoice() {
        CString text;
        m_choice.GetLBText(m_choice.GetCurSel(), text);
        acutPrintf(L"\n[dlg] chose %s", static_cast<LPCWSTR>(text));
    }
    afx_msg void OnRowsDblClk(NMHDR* header, LRESULT* result) {
        acutPrintf(L"\n[dlg] opened row %d", reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        *result = 0;
    }
    afx_msg void OnRowsRClick(NMHDR*, LRESULT* result) {
        *result = 0;
        CMenu menu;
        if (!menu.LoadMenu(IDR_ROW_MENU))
            return;
        CMenu* popup = menu.GetSubMenu(0);
        popup->EnableMenuItem(ID_ROW_GREYED, MF_DISABLED | MF_GRAYED);
        POINT at;
        GetCursorPos(&at);
        const UINT chosen =
            static_cast<UINT>(popup->TrackPopupMenu(TPM_RETURNCMD, at.x, at.y, this));
        acutPrintf(L"\n[dlg] menu chose %u", chosen);
    }
    // The second row is drawn in red in both columns.
    afx_msg void OnRowsCustomDraw(NMHDR* header, LRESULT* result) {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        *result = CDRF_DODEFAULT;
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            *result = CDRF_NOTIFYITEMDRAW;
        else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec == 1)
            draw->clrText = RGB(255, 0, 0);
    }
    afx_msg void OnTreeSelChanged(NMHDR*, LRESULT* result) {
        acutPrintf(L"\n[dlg] tree at %s",
                   static_cast<LPCWSTR>(m_tree.GetItemText(m_tree.GetSelectedItem())));
        *result = 0;
    }
    afx_msg void OnInner() {
        CInnerDialog inner(this);
        acutPrintf(L"\n[dlg] inner ended %d", static_cast<int>(inner.DoModal()));
    }
    afx_msg BOOL OnHelpInfo(HELPINFO*) {
        acutPrintf(L"\n[dlg] help");
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()

private:
    CDrawnButton m_drawn;
    CComboBox m_choice;
    CListCtrl m_rows;
    CTreeCtrl m_tree;
};

BEGIN_MESSAGE_MAP(CEveryControlDialog, CDialog)
ON_BN_CLICKED(IDC_PRESS, &CEveryControlDialog::OnPress)
ON_BN_CLICKED(IDC_DRAWN, &CEveryControlDialog::OnDrawn)
ON_EN_CHANGE(IDC_NAME, &CEveryControlDialog::OnNameChange)
ON_STN_CLICKED(IDC_LINK, &CEveryControlDialog::OnLink)
ON_CBN_SELCHANGE(IDC_CHOICE, &CEveryControlDialog::OnChoice)
ON_NOTIFY(NM_DBLCLK, IDC_ROWS, &CEveryControlDialog::OnRowsDblClk)
ON_NOTIFY(NM_RCLICK, IDC_ROWS, &CEveryControlDialog::OnRowsRClick)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_ROWS, &CEveryControlDialog::OnRowsCustomDraw)
ON_NOTIFY(TVN_SELCHANGEDW, IDC_TREE, &CEveryControlDialog::OnTreeSelChanged)
ON_BN_CLICKED(IDC_INNER, &CEveryControlDialog::OnInner)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

// The inner dialog's template under the host dialog framework, with a name to keep its place.
class CPlacedDialog : public CAcUiDialog {
public:
    CPlacedDialog() : CAcUiDialog(static_cast<UINT>(IDD_INNER)) {
        SetRootKey(acrxProductKey());
        SetDialogName(L"SvTest:Placed");
    }
};

void placed() {
    CPlacedDialog dialog;
    acutPrintf(L"\n[dlg] placed ended %d", static_cast<int>(dialog.DoModal()));
}

void everyControl() {
    CEveryControlDialog dialog;
    acutPrintf(L"\n[dlg] ended %d", static_cast<int>(dialog.DoModal()));
}

class CDialogTestApp : public CStArxApp {
public:
    void RegisterCommands() override {
        acedRegCmds->addCommand(L"SV_TEST_DIALOGS", L"DLGTEST", L"DLGTEST", ACRX_CMD_MODAL,
                                &everyControl);
        acedRegCmds->addCommand(L"SV_TEST_DIALOGS", L"DLGPLACED", L"DLGPLACED", ACRX_CMD_MODAL,
                                &placed);
    }
    void UnregisterCommands() override { acedRegCmds->removeGroup(L"SV_TEST_DIALOGS"); }
};

CDialogTestApp theApp;

} // namespace

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        theApp.m_hInstance = instance;
        if (!AfxInitExtensionModule(g_extension, instance))
            return FALSE;
        new CDynLinkLibrary(g_extension);
    } else if (reason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(g_extension);
    }
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}
