#include "CDlgBlockModOptions.h"

#include "CDlgAttLookup.h"
#include "SentavellUiApp.h"
#include "ap/docman.h"
#include "mfc/afx.h"
#include "resource.h"
#include "rx/dynlinker.h"

BEGIN_MESSAGE_MAP(CDlgBlockModOptions, CAcUiDialog)
ON_BN_CLICKED(IDC_ATTRIBUTE_LOOKUP, &CDlgBlockModOptions::OnLookup)
ON_BN_CLICKED(IDHELP, &CDlgBlockModOptions::OnHelp)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

CDlgBlockModOptions::CDlgBlockModOptions(CWnd* parent)
    : CAcUiDialog(IDD_BLOCK_MOD_OPTIONS, parent) {
    SetRootKey(acrxProductKey());
    SetDialogName(L"Sentavell:DlgBlockModOptions");
}

void CDlgBlockModOptions::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ATTRIBUTE_LOOKUP, m_lookupButton);
    DDX_Control(dx, IDHELP, m_helpButton);
}

BOOL CDlgBlockModOptions::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_lookupButton.AutoLoad();
    m_helpButton.AutoLoad();
    if (!m_attributeTag.IsEmpty())
        SetDlgItemText(IDC_ATTRIBUTE_TAG, m_attributeTag);
    return TRUE;
}

void CDlgBlockModOptions::OnLookup() {
    // The resource module, as the chain finds the lookup's template there.
    acDocManagerPtr()->pushResourceHandle(
        AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_ATTRIBUTE_LOOKUP), RT_DIALOG));
    {
        CDlgAttLookup lookup(this);
        if (lookup.DoModal() == IDOK)
            SetDlgItemText(IDC_ATTRIBUTE_TAG, lookup.selectedTag());
    }
    acDocManagerPtr()->popResourceHandle();
}

void CDlgBlockModOptions::OnOK() {
    GetDlgItemText(IDC_ATTRIBUTE_TAG, m_attributeTag);
    if (m_attributeTag.IsEmpty()) {
        MessageBox(svResString()(IDS_TAG_MISSING_TEXT), svResString()(IDS_TAG_MISSING_CAPTION),
                   MB_ICONINFORMATION);
        return;
    }
    CAcUiDialog::OnOK();
}

void CDlgBlockModOptions::OnHelp() {
    CSentavellUiApp::Get()->ShowHelp(IDH_BLOCK_OPTIONS);
}

BOOL CDlgBlockModOptions::OnHelpInfo(HELPINFO*) {
    OnHelp();
    return TRUE;
}
