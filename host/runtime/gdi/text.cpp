#include "gdi/text.h"

#include <algorithm>
#include <string>

#include "gdi/font_face.h"
#include "gdi/pixels.h"
#include "gdi/text_paint.h"

using namespace svgdi;

namespace {

std::wstring textOf(LPCWSTR text, std::size_t count) {
    return count == 0 ? std::wstring() : std::wstring(text, count);
}

} // namespace

BOOL GetTextMetricsW(HDC handle, LPTEXTMETRICW metrics) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || metrics == nullptr)
        return FALSE;
    const LOGFONTW& font = dc->state.font->log;
    const FontFace& face = faceOf(*dc);
    *metrics = {};
    metrics->tmHeight = face.height();
    metrics->tmAscent = face.ascent();
    metrics->tmDescent = face.height() - face.ascent();
    metrics->tmInternalLeading = std::max(0, face.height() - face.emPixels());
    metrics->tmAveCharWidth = face.averageWidth();
    metrics->tmMaxCharWidth = face.maximumWidth();
    metrics->tmWeight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = L' ';
    metrics->tmLastChar = 0xFFFC;
    metrics->tmDefaultChar = L'?';
    metrics->tmBreakChar = L' ';
    metrics->tmItalic = font.lfItalic ? 1 : 0;
    metrics->tmUnderlined = font.lfUnderline ? 1 : 0;
    metrics->tmStruckOut = font.lfStrikeOut ? 1 : 0;
    metrics->tmPitchAndFamily =
        static_cast<BYTE>((face.fixedPitch() ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                          (face.fixedPitch() ? FF_MODERN : FF_SWISS));
    metrics->tmCharSet = font.lfCharSet;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC handle, LPCWSTR text, int count, LPSIZE size) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0))
        return FALSE;
    const FontFace& face = faceOf(*dc);
    *size = {count == 0 ? 0 : face.width(textOf(text, count)), face.height()};
    return TRUE;
}

BOOL TextOutW(HDC handle, int x, int y, LPCWSTR text, int count) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || count < 0 || (text == nullptr && count > 0))
        return FALSE;
    paintLine(*dc, x, y, {textOf(text, count), {}}, nullptr, LineParts::All);
    return TRUE;
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || dx != nullptr || (text == nullptr && count > 0) || count > 0x7FFFFFFF ||
        ((options & (ETO_OPAQUE | ETO_CLIPPED)) != 0 && rect == nullptr))
        return FALSE;
    if (options & ETO_OPAQUE) {
        const POINT topLeft = dc->toDevice(rect->left, rect->top);
        const POINT bottomRight = dc->toDevice(rect->right, rect->bottom);
        PixelAccess(*dc).fill({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y},
                              dc->state.bkColor);
    }
    if (count > 0)
        paintLine(*dc, x, y, {textOf(text, count), {}}, (options & ETO_CLIPPED) ? rect : nullptr,
                  LineParts::All);
    return TRUE;
}
