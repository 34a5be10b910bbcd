#pragma once

#include "SentavellUi17Api.h"
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"
#include "mfc/commctrl.h"

// Lists every block of the working drawing that defines attributes, with the tags under it, so
// that a tag can be picked instead of typed.
class SENTAVELLUI17_API CDlgAttLookup : public CAcUiDialog {
public:
    explicit CDlgAttLookup(CWnd* parent = nullptr);

    // Valid after DoModal answered IDOK.
    const CString& selectedTag() const { return m_selectedTag; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    afx_msg void OnHelp();
    afx_msg BOOL OnHelpInfo(HELPINFO* info);

    DECLARE_MESSAGE_MAP()

private:
    void FillTree();

    CAcUiBitmapButton m_helpButton;
    CTreeCtrl m_tree;
    CImageList m_imageList;
    CString m_selectedTag;
};
