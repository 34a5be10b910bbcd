#pragma once

#include "AcPropertyLinkStyle.h"
#include "SentavellUi17Api.h"
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"
#include "dialogs/CMenuButton.h"
#include "mfc/afxcoll.h"
#include "mfc/controls.h"

// Creates a link style or edits one of the working drawing: name (new styles only),
// description, reader, modifier with its options, and macro. It edits a working copy and writes
// the drawing only on OK.
class SENTAVELLUI17_API CDlgStyle : public CAcUiDialog {
public:
    explicit CDlgStyle(CWnd* parent = nullptr);
    ~CDlgStyle() override;
    CDlgStyle(const CDlgStyle&) = delete;
    CDlgStyle& operator=(const CDlgStyle&) = delete;

    // Before DoModal, to edit that style rather than create one.
    void setStyleId(AcDbObjectId styleId) { m_styleId = styleId; }
    // After DoModal answered IDOK: the style stored, for a new one the id it was given.
    AcDbObjectId styleId() const { return m_styleId; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    afx_msg void OnModifierOptions();
    afx_msg void OnSelChangeModifier();
    afx_msg void OnSelChangeReader();
    afx_msg void OnHelp();
    afx_msg BOOL OnHelpInfo(HELPINFO* info);
    afx_msg void OnMacroMenu();

    DECLARE_MESSAGE_MAP()

private:
    void FillModifierList();
    void FillReaderList();
    template <class Kind>
    void FillClassList(CComboBox& list);
    // A new instance of the class chosen in list, or null when the choice is empty or is the
    // class of current already, whose options then stay.
    template <class Kind>
    Kind* CreateChosen(const CComboBox& list, const Kind* current) const;
    void LoadStoredStyle();
    void OnCheckMacro();
    bool StoreStyle(const CString& name);

    CAcUiBitmapButton m_optionsButton;
    CAcUiBitmapButton m_helpButton;
    CMenuButton m_macroMenuButton;
    CComboBox m_readerList;
    CComboBox m_modifierList;
    // Item data of both lists indexes this: the class dictionary key behind the item. Modifiers
    // are entered first; the array only grows while the dialog lives.
    CStringArray m_classNames;
    AcDbObjectId m_styleId;
    // Created at dialog start and owned here until OK hands it to the drawing (new style) or
    // deletes it after copying it into the stored one; the destructor deletes what is left.
    AcPropertyLinkStyle* m_pStyle = nullptr;
};
