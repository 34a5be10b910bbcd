#include "mfc/dialog.h"

#include "comctl/init.h"
#include "mfc/afx.h"
#include "mfc/current_message.h"
#include "mfc/window_maps.h"
#include "user/input.h"
#include "user/screen.h"

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

namespace {

// The window a message is for, then its parents up to the dialog, each offered the message.
bool preTranslated(HWND dialog, MSG& msg) {
    for (HWND at = msg.hwnd; at != nullptr; at = GetParent(at)) {
        CWnd* const wnd = CWnd::FromHandlePermanent(at);
        if (wnd != nullptr && wnd->PreTranslateMessage(&msg))
            return true;
        if (at == dialog)
            break;
    }
    return false;
}

} // namespace

INT_PTR CDialog::DoModal() {
    if (m_lpszTemplateName == nullptr || m_hWnd != nullptr)
        return -1;
    registerCommonControls();
    const HWND owner = ownerWindow();
    m_inModalLoop = true;
    m_endModal = false;
    m_modalResult = -1;
    const HWND dialog = CreateDialogParamW(TemplateInstance(), m_lpszTemplateName, owner,
                                           &CDialog::dialogProc, reinterpret_cast<LPARAM>(this));
    const bool disableOwner = dialog != nullptr && owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    if (dialog != nullptr && !m_endModal)
        runModalLoop();
    // The owner takes the activation back before the dialog goes.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (IsWindow(dialog))
        ::DestroyWindow(dialog);
    if (m_hWnd != nullptr)
        Detach();
    m_inModalLoop = false;
    return m_modalResult;
}

void CDialog::runModalLoop() {
    const HWND dialog = m_hWnd;
    ::ShowWindow(dialog, SW_SHOW);
    svEnterModalLoop(dialog);
    MSG msg;
    while (!m_endModal && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1 || got == 0) {
            // No more input, or the program quits: the dialog ends as cancelled, and a quit
            // stays queued for the loop outside.
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            m_modalResult = -1;
            break;
        }
        if (preTranslated(dialog, msg) || IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    svLeaveModalLoop(dialog);
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
    if (!m_inModalLoop) {
        ::EndDialog(m_hWnd, result);
        return;
    }
    m_modalResult = result;
    m_endModal = true;
    ::ShowWindow(m_hWnd, SW_HIDE);
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
