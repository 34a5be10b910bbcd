#include "mfc/dialog.h"

#include "comctl/init.h"
#include "mfc/afx.h"
#include "mfc/current_message.h"
#include "mfc/window_maps.h"
#include "user/input.h"

HWND CDataExchange::PrepareCtrl(int id) {
    const HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr)
        Fail();
    return control;
}

void CDataExchange::Fail() {
    throw CUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd != nullptr)
        return;
    if (!control.SubclassWindow(dx->PrepareCtrl(id)))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    const HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        SetWindowTextW(control, value);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_lpszTemplateName(MAKEINTRESOURCEW(templateId)),
      m_pParentWnd(parent) {}

CDialog::CDialog(LPCWSTR templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    // A modeless dialog still open goes with its object.
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        DestroyWindow();
}

HINSTANCE CDialog::TemplateInstance() const {
    return AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
}

namespace {

// As the platform's class library does, the common controls are registered before the first
// template that may name them.
void registerCommonControls() {
    const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
}

} // namespace

HWND CDialog::ownerWindow() const {
    if (m_pParentWnd != nullptr && m_pParentWnd->m_hWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    return GetActiveWindow();
}

INT_PTR CDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* const dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog == nullptr || windowMap().permanent(window) != nullptr ||
        !dialog->SubclassWindow(window))
        return FALSE;
    // From here on the dialog's messages reach the map first; this one arrived before.
    CurrentMessageScope scope(dialog, message, wParam, lParam);
    return dialog->WindowProc(message, wParam, lParam);
}

INT_PTR CDialog::DoModal() {
    if (m_lpszTemplateName == nullptr || m_hWnd != nullptr)
        return -1;
    registerCommonControls();
    const INT_PTR result = DialogBoxParamW(TemplateInstance(), m_lpszTemplateName, ownerWindow(),
                                           &CDialog::dialogProc, reinterpret_cast<LPARAM>(this));
    if (m_hWnd != nullptr && !IsWindow(m_hWnd))
        Detach();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd != nullptr)
        return FALSE;
    m_nIDHelp = templateId;
    m_lpszTemplateName = MAKEINTRESOURCEW(templateId);
    m_pParentWnd = parent;
    registerCommonControls();
    return CreateDialogParamW(TemplateInstance(), m_lpszTemplateName, ownerWindow(),
                              &CDialog::dialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnInitDialog() {
    // Controls that cannot be bound leave nothing sound to run the dialog on.
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control != nullptr)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}

void CDialog::SetDefID(UINT id) {
    SendMessage(DM_SETDEFID, id);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(SendMessage(DM_GETDEFID));
}

void CDialog::MapDialogRect(LPRECT rect) const {
    ::MapDialogRect(m_hWnd, rect);
}
