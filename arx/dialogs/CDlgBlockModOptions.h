#pragma once

#include "SentavellUi17Api.h"
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"

// The options of a block modifier: the tag of the attribute it writes into, typed or looked up.
class SENTAVELLUI17_API CDlgBlockModOptions : public CAcUiDialog {
public:
    explicit CDlgBlockModOptions(CWnd* parent = nullptr);

    void setAttributeTag(const CString& tag) { m_attributeTag = tag; }
    // Valid after DoModal answered IDOK.
    const CString& attributeTag() const { return m_attributeTag; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    afx_msg void OnLookup();
    afx_msg void OnHelp();
    afx_msg BOOL OnHelpInfo(HELPINFO* info);

    DECLARE_MESSAGE_MAP()

private:
    CAcUiBitmapButton m_lookupButton;
    CAcUiBitmapButton m_helpButton;
    CString m_attributeTag;
};
