// The about box.
#include "dialogs/CDlgAbout.h"

#include "ModuleVersion.h"
#include "SentavellProduct.h"
#include "SentavellUiApp.h"
#include "dialogs/BoldFont.h"
#include "resource.h"

CDlgAbout::CDlgAbout(CWnd* parent) : CAcUiDialog(IDD_ABOUT, parent) {}

void CDlgAbout::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_LINK, m_hyperLink);
}

BOOL CDlgAbout::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();

    setBoldDialogFont(*this, IDC_ABOUT_TITLE, m_boldFont);

    CModuleVersion version;
    version.ReadModule(CSentavellUiApp::Get()->GetModuleInstance());
    SetDlgItemText(IDC_ABOUT_VERSION, version.m_strProductVersion);

    m_hyperLink.setUrl(SENTAVELL_PRODUCT_WEB_ADDRESS);
    return TRUE;
}
