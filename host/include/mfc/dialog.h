#pragma once

#include "mfc/wnd.h"
#include "user/dialog.h"
#include "win/resources.h"

#pragma GCC visibility push(default)

// Raised by a failed exchange; UpdateData catches it.
class CUserException {};

// One run of DoDataExchange, loading the controls (m_bSaveAndValidate FALSE) or reading them.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // The control's handle; Fail when the dialog has no such control.
    HWND PrepareCtrl(int id);
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Subclasses the dialog's control id with control, once: the first exchange does it, later
// ones leave the control be.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);

// A dialog from a template of the resource chain. DoModal runs a modal loop of its own, which
// offers every message to PreTranslateMessage of its window and that window's parents up to the
// dialog before the dialog manager's keyboard handling and dispatch; OnInitDialog subclasses the
// controls (DoDataExchange through UpdateData(FALSE)); IDOK runs OnOK (UpdateData(TRUE), then
// EndDialog(IDOK)) and IDCANCEL OnCancel.
class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCWSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // The result EndDialog gave; -1 when the template is missing, a control could not be
    // made, the exchange failed at start or the screen had no more input.
    virtual INT_PTR DoModal();
    // Modeless; DestroyWindow ends it.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();

    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT rect) const;

    UINT m_nIDHelp = 0;
    LPCWSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // The module whose template is used: the resource chain's holder of the template.
    virtual HINSTANCE TemplateInstance() const;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    DECLARE_MESSAGE_MAP()

private:
    HWND ownerWindow() const;
    void runModalLoop();
    static INT_PTR dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_inModalLoop = false;
    bool m_endModal = false;
    INT_PTR m_modalResult = -1;
};

// A message box owned by the active window, captioned with the host program's name.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
// The string-table text id of the resource chain; an empty text when it is missing.
int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = UINT(-1));

#pragma GCC visibility pop
