#pragma once

#include "SentavellUi17Api.h"
#include "mfc/controls.h"

// A small owner-drawn push button with a right-pointing arrow that drops a popup menu below
// itself when its owner asks. The template gives it BS_OWNERDRAW.
class SENTAVELLUI17_API CMenuButton : public CButton {
public:
    // Shows the first submenu of menu resource nMenuId below the button; the chosen command id,
    // 0 when the menu is dismissed or cannot be had. No WM_COMMAND is sent.
    UINT ShowMenu(UINT nMenuId);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    DECLARE_MESSAGE_MAP()
};
