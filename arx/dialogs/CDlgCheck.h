#pragma once

#include "SentavellUi17Api.h"
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"
#include "mfc/gdiobj.h"

// Tries a macro on a sample value through the host's DIESEL evaluator; the macro may be edited
// and is handed back on OK.
class SENTAVELLUI17_API CDlgCheck : public CAcUiDialog {
public:
    explicit CDlgCheck(CWnd* parent = nullptr);

    void setMacro(const CString& macro) { m_macro = macro; }
    // Valid after DoModal answered IDOK.
    const CString& macro() const { return m_macro; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    afx_msg void OnEvaluate();
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    CAcUiBitmapButton m_helpButton;
    CAcUiBitmapButton m_evaluateButton;
    CFont m_boldFont;
    CString m_macro;
};
