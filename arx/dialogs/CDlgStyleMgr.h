#pragma once

#include "SentavellUi17Api.h"
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"
#include "db/objectid.h"
#include "mfc/commctrl.h"

// Lists the link styles of the working drawing and creates, edits and deletes them at once in
// the drawing, inside the transaction of the command that opened it. In style-selection mode
// (the default) OK needs a chosen style, which the caller reads afterwards.
class SENTAVELLUI17_API CDlgStyleMgr : public CAcUiDialog {
public:
    explicit CDlgStyleMgr(CWnd* parent = nullptr);

    void setSelectStyle(bool selectStyle) { m_bSelectStyle = selectStyle; }
    // After DoModal answered IDOK in selection mode.
    AcDbObjectId selectedStyleId() const { return m_selectedStyleId; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    afx_msg void OnNewStyle();
    afx_msg void OnEditStyle();
    afx_msg void OnDeleteStyle();
    afx_msg void OnRClickList(NMHDR* header, LRESULT* result);
    afx_msg void OnDblClkList(NMHDR* header, LRESULT* result);
    afx_msg void OnCustomDrawList(NMHDR* header, LRESULT* result);
    afx_msg void OnHelp();
    afx_msg BOOL OnHelpInfo(HELPINFO* info);

    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    // False, the row left as it was, when id is not a style that can be read.
    bool SetStyleItem(int row, AcDbObjectId id);
    void FindUnreferencedStyles();
    int AppendPlaceholderRow();
    void SelectRow(int row);
    // The first selected row, -1 for none.
    int SelectedRow() const;
    AcDbObjectId RowStyleId(int row) const;
    bool IsUnreferenced(AcDbObjectId id) const;

    CAcUiBitmapButton m_helpButton;
    CListCtrl m_list;
    // Listed styles that nothing in the drawing holds a hard reference to: only these can be
    // deleted. Computed at start and after each new style.
    AcDbObjectIdArray m_unreferencedStyles{0, 8};
    AcDbObjectId m_selectedStyleId;
    bool m_bSelectStyle = true;
};
