#pragma once

#include "mfc/dialog.h"

#pragma GCC visibility push(default)

// The host's dialog base. A dialog given a resource instance takes its template from there,
// else from the resource chain.
class CAdUiBaseDialog : public CDialog {
public:
    explicit CAdUiBaseDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resource = nullptr);

    BOOL OnInitDialog() override;
    // Reads the controls back through DoDataExchange; FALSE when an exchange failed.
    virtual BOOL ValidateData();

protected:
    HINSTANCE TemplateInstance() const override;

    HINSTANCE m_hResource;
};

// A dialog that keeps its place: with a dialog name set, the window's position is saved when
// it closes, in the registry below HKEY_CURRENT_USER\<root key>\Dialogs\<name>, and restored
// when it opens (also in a later run). Without a name nothing is kept; without a root key the
// host product's key is used.
class CAdUiDialog : public CAdUiBaseDialog {
public:
    explicit CAdUiDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resource = nullptr);

    void SetDialogName(LPCWSTR name);
    const CString& GetDialogName() const { return m_dialogName; }
    void SetRootKey(LPCWSTR key);
    const CString& GetRootKey() const { return m_rootKey; }

    BOOL OnInitDialog() override;

protected:
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    CString m_dialogName;
    CString m_rootKey;
};

class CAcUiDialog : public CAdUiDialog {
public:
    explicit CAcUiDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resource = nullptr);
};

#pragma GCC visibility pop
