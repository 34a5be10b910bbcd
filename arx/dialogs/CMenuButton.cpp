#include "CMenuButton.h"

#include "mfc/dc.h"
#include "mfc/gdiobj.h"
#include "mfc/menu.h"

BEGIN_MESSAGE_MAP(CMenuButton, CButton)
END_MESSAGE_MAP()

UINT CMenuButton::ShowMenu(UINT nMenuId) {
    CMenu menu; // destroys what it loaded on every way out
    if (!menu.LoadMenu(nMenuId))
        return 0;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return 0;
    CRect rect;
    GetWindowRect(&rect);
    return static_cast<UINT>(
        popup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, rect.left, rect.bottom, this));
}

namespace {

// Puts the previous pen back even when drawing throws.
class SelectedPen {
public:
    SelectedPen(CDC* dc, COLORREF color) : m_dc(dc), m_pen(PS_SOLID, 0, color) {
        m_previous = dc->SelectObject(&m_pen);
    }
    ~SelectedPen() { m_dc->SelectObject(m_previous); }
    SelectedPen(const SelectedPen&) = delete;
    SelectedPen& operator=(const SelectedPen&) = delete;

private:
    CDC* m_dc;
    CPen m_pen;
    CPen* m_previous = nullptr;
};

} // namespace

void CMenuButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CRect rect(lpDIS->rcItem);
    CDC* dc = CDC::FromHandle(lpDIS->hDC);
    const UINT state = lpDIS->itemState;
    SelectedPen pen(dc, GetSysColor((state & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));

    dc->DrawFrameControl(&rect, DFC_BUTTON,
                         DFCS_BUTTONPUSH | ((state & ODS_SELECTED) ? DFCS_PUSHED : 0));

    // Columns of 7, 5, 3 and 1 pixels: LineTo leaves out its end point.
    const int cx = (rect.right - rect.left) / 2;
    const int cy = (rect.bottom - rect.top) / 2;
    for (int i = 0; i < 4; ++i) {
        dc->MoveTo(cx - 2 + i, cy - 3 + i);
        dc->LineTo(cx - 2 + i, cy + 4 - i);
    }

    if (state & ODS_FOCUS) {
        CRect focus(rect);
        focus.InflateRect(-3, -3);
        dc->DrawFocusRect(&focus);
    }
}
