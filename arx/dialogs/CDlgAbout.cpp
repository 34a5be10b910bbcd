// The about box.
#include "dialogs/CDlgAbout.h"

#include "ModuleVersion.h"
#include "SentavellProduct.h"
#include "SentavellUiApp.h"
#include "resource.h"

CDlgAbout::CDlgAbout(CWnd* parent) : CAcUiDialog(IDD_ABOUT, parent) {}

void CDlgAbout::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_LINK, m_hyperLink);
}

BOOL CDlgAbout::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();

    LOGFONTW font{};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (dialogFont != nullptr && GetObjectW(dialogFont, sizeof font, &font) != 0) {
        font.lfWeight = FW_BOLD;
        m_boldFont.Attach(CreateFontIndirectW(&font));
        GetDlgItem(IDC_ABOUT_TITLE)
            ->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.GetSafeHandle()), TRUE);
    }

    CModuleVersion version;
    version.ReadModule(CSentavellUiApp::Get()->GetModuleInstance());
    SetDlgItemText(IDC_ABOUT_VERSION, version.m_strProductVersion);

    m_hyperLink.setUrl(SENTAVELL_PRODUCT_WEB_ADDRESS);
    return TRUE;
}
