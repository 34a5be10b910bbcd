#pragma once

#include "SentavellUi17Api.h"
#include "acui/dialog.h"
#include "dialogs/CHyperLink.h"
#include "mfc/gdiobj.h"

// The about box: the product in bold, the module's version and a link to the product's site.
class SENTAVELLUI17_API CDlgAbout : public CAcUiDialog {
public:
    explicit CDlgAbout(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CHyperLink m_hyperLink;
    CFont m_boldFont;
};
