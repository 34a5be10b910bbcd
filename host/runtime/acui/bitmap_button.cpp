#include "acui/bitmapbutton.h"

#include "acui/help_glyph.h"
#include "gdi/gdi.h"
#include "mfc/afx.h"
#include "user/dialog.h"
#include "win/bitmap_resource.h"
#include "win/resources.h"

namespace {

HBITMAP resourceBitmap(UINT id) {
    const LPCWSTR name = MAKEINTRESOURCEW(id);
    SvBitmap bitmap;
    if (svLoadBitmapResource(AfxFindResourceHandle(name, RT_BITMAP), name, bitmap) !=
        SvResStatus::Ok)
        return nullptr;
    return CreateBitmap(bitmap.width, bitmap.height, 1, 32, bitmap.pixels.data());
}

HBITMAP helpBitmap() {
    return CreateBitmap(kHelpGlyphSize, kHelpGlyphSize, 1, 32, helpGlyphPixels().data());
}

} // namespace

CAcUiBitmapButton::~CAcUiBitmapButton() = default;

BOOL CAcUiBitmapButton::AutoLoad() {
    if (m_hWnd == nullptr)
        return FALSE;
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    const HBITMAP bitmap = id == IDHELP ? helpBitmap() : resourceBitmap(id);
    if (bitmap == nullptr)
        return FALSE;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap);
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate();
    return TRUE;
}

void CAcUiBitmapButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    CRect rect = drawItem->rcItem;
    const bool pushed = (drawItem->itemState & ODS_SELECTED) != 0;
    dc->DrawFrameControl(rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const CSize size = m_bitmap.GetSize();
    if (size.cx > 0) {
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* previous = memory.SelectObject(&m_bitmap);
        // The bitmap's top-left pixel is its background; a pressed face moves by a pixel.
        const COLORREF transparent = memory.GetPixel(0, 0);
        const int shift = pushed ? 1 : 0;
        const int x = rect.left + (rect.Width() - size.cx) / 2 + shift;
        const int y = rect.top + (rect.Height() - size.cy) / 2 + shift;
        dc->TransparentBlt(x, y, size.cx, size.cy, &memory, 0, 0, size.cx, size.cy, transparent);
        memory.SelectObject(previous);
    }
    if (drawItem->itemState & ODS_FOCUS) {
        CRect focus = rect;
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(focus);
    }
}
