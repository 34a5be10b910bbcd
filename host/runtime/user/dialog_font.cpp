#include "user/dialog_internal.h"

#include "gdi/dc.h"
#include "gdi/objects.h"
#include "gdi/text.h"

#include <algorithm>
#include <cwchar>

namespace sv::user {

HFONT createTemplateFont(const SvResDialog& dialogTemplate, bool* owned) {
    *owned = false;
    if (!dialogTemplate.hasFont || dialogTemplate.fontPointSize == 0 ||
        dialogTemplate.fontFace.empty())
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font{};
    font.lfHeight = -MulDiv(dialogTemplate.fontPointSize, 96, 72);
    font.lfWeight = dialogTemplate.fontWeight ? dialogTemplate.fontWeight : FW_NORMAL;
    font.lfItalic = dialogTemplate.fontItalic;
    font.lfCharSet = dialogTemplate.fontCharset;
    const std::size_t length =
        std::min<std::size_t>(dialogTemplate.fontFace.size(), LF_FACESIZE - 1);
    std::wmemcpy(font.lfFaceName, dialogTemplate.fontFace.c_str(), length);
    HFONT made = CreateFontIndirectW(&font);
    if (!made)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    *owned = true;
    return made;
}

SIZE measureBaseUnits(HFONT font) {
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = CreateCompatibleDC(nullptr);
    SIZE units{6, 13};
    if (!dc)
        return units;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    SIZE extent{};
    if (GetTextMetricsW(dc, &metrics) && GetTextExtentPoint32W(dc, kAlphabet, 52, &extent) &&
        metrics.tmHeight > 0 && extent.cx > 0)
        units = {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
    SelectObject(dc, old);
    DeleteDC(dc);
    return units;
}

RECT dialogUnitsToPixels(SIZE baseUnits, int x, int y, int cx, int cy) {
    const int left = MulDiv(x, baseUnits.cx, 4);
    const int top = MulDiv(y, baseUnits.cy, 8);
    return {left, top, left + MulDiv(cx, baseUnits.cx, 4), top + MulDiv(cy, baseUnits.cy, 8)};
}

} // namespace sv::user

LONG GetDialogBaseUnits() {
    static const SIZE units =
        sv::user::measureBaseUnits(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    return MAKELONG(units.cx, units.cy);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    sv::user::DialogData* data = sv::user::dialogData(dialog);
    if (!data || !rect)
        return FALSE;
    const SIZE units = data->baseUnits;
    *rect = {MulDiv(rect->left, units.cx, 4), MulDiv(rect->top, units.cy, 8),
             MulDiv(rect->right, units.cx, 4), MulDiv(rect->bottom, units.cy, 8)};
    return TRUE;
}
