#include "dialogs/CDlgCheck.h"

#include "SentavellUiApp.h"
#include "acad/adscodes.h"
#include "dialogs/BoldFont.h"
#include "ed/getinput.h"
#include "ed/menucmd.h"
#include "resource.h"

namespace {

// What the evaluator hands back is at most this long, terminator included.
constexpr int kResultCapacity = 132;

} // namespace

BEGIN_MESSAGE_MAP(CDlgCheck, CAcUiDialog)
ON_BN_CLICKED(IDC_CHECK_EVALUATE, &CDlgCheck::OnEvaluate)
ON_BN_CLICKED(IDHELP, &CDlgCheck::OnHelp)
END_MESSAGE_MAP()

CDlgCheck::CDlgCheck(CWnd* parent) : CAcUiDialog(IDD_MACRO_CHECK, parent) {}

void CDlgCheck::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDHELP, m_helpButton);
    DDX_Control(dx, IDC_CHECK_EVALUATE, m_evaluateButton);
}

BOOL CDlgCheck::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_evaluateButton.AutoLoad();
    m_helpButton.AutoLoad();
    setBoldDialogFont(*this, IDC_CHECK_RESULT, m_boldFont);
    if (!m_macro.IsEmpty())
        SetDlgItemText(IDC_MACRO, m_macro);
    SetDlgItemText(IDC_CHECK_SAMPLE, L"1");
    return TRUE;
}

void CDlgCheck::OnEvaluate() {
    CString macro, sample;
    GetDlgItemText(IDC_MACRO, macro);
    GetDlgItemText(IDC_CHECK_SAMPLE, sample);
    // "%NPROPERTY" is left for the evaluator, as the live update leaves it.
    macro.Replace(L"%PROPERTY", sample);
    CString command;
    command.Format(L"M=%s", macro.GetString());
    wchar_t result[kResultCapacity] = {};
    if (acedMenuCmd(command) == RTKWORD && acedGetInput(result) == RTNORM)
        SetDlgItemText(IDC_CHECK_RESULT, result);
    else
        SetDlgItemText(IDC_CHECK_RESULT, svResString()(IDS_MACRO_NO_RESULT));
}

void CDlgCheck::OnOK() {
    if (!ValidateData())
        return;
    GetDlgItemText(IDC_MACRO, m_macro);
    if (!m_macro.IsEmpty())
        CAcUiDialog::OnOK();
}

void CDlgCheck::OnHelp() {
    CSentavellUiApp::Get()->ShowHelp(IDH_OVERVIEW);
}
