#pragma once

#include "SentavellUi17Api.h"
#include "mfc/commctrl.h"
#include "mfc/controls.h"
#include "mfc/gdiobj.h"

// A static text drawn as a link: a hand cursor, the address as its tooltip, the address opened
// in the user's browser on a click, the visited colour once that worked.
class SENTAVELLUI17_API CHyperLink : public CStatic {
public:
    CHyperLink();
    ~CHyperLink() override;

    void setUrl(LPCWSTR url);
    const CString& url() const { return m_url; }
    void setVisited(BOOL visited = TRUE);
    BOOL visited() const { return m_visited; }

    // Answers the code of the open; above 32 is success.
    static INT_PTR gotoUrl(LPCWSTR url, int showCommand);
    static void reportError(INT_PTR code);
    // The text reportError shows for a code.
    static CString errorText(INT_PTR code);
    // The program command line that opens url, from the handler's registered one.
    static CString handlerCommandLine(const CString& registered, LPCWSTR url);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    afx_msg void OnClicked();
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnMouseMove(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void positionWindow();
    void setDefaultCursor();
    void redraw();

    COLORREF m_linkColor;
    COLORREF m_visitedColor;
    COLORREF m_hoverColor;
    BOOL m_overControl = FALSE;
    BOOL m_visited = FALSE;
    BOOL m_underline = TRUE;
    BOOL m_adjustToFit = TRUE;
    CString m_url;
    CFont m_font;
    HCURSOR m_linkCursor = nullptr;
    CToolTipCtrl m_toolTip;
};
