#include "gdi/text_paint.h"

#include "crt/format.h"
#include "gdi/font_face.h"
#include "gdi/pixels.h"
#include "gdi/rect.h"

namespace svgdi {

namespace {

RECT paintClip(const Dc& dc, const RECT* clip) {
    RECT area = dc.effectiveClip();
    if (clip != nullptr) {
        const POINT topLeft = dc.toDevice(clip->left, clip->top);
        const POINT bottomRight = dc.toDevice(clip->right, clip->bottom);
        const RECT wanted = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        IntersectRect(&area, &area, &wanted);
    }
    return area;
}

void showGlyphs(const Dc& dc, POINT at, PangoLayout* layout, const RECT& clip) {
    cairo_t* cr = cairo_create(dc.target());
    cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(cr);
    const COLORREF color = dc.state.textColor;
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_move_to(cr, at.x, at.y);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
}

// The pixel columns a character covers.
std::pair<LONG, LONG> columnsOf(PangoLayout* layout, const std::wstring& text, std::size_t index) {
    const auto byte = static_cast<int>(svToUtf8(text.substr(0, index)).size());
    PangoRectangle place;
    pango_layout_index_to_pos(layout, byte, &place);
    const LONG left = PANGO_PIXELS(std::min(place.x, place.x + place.width));
    const LONG right = PANGO_PIXELS(std::max(place.x, place.x + place.width));
    return {left, right};
}

} // namespace

const FontFace& faceOf(const Dc& dc) {
    return dc.state.font->face();
}

void paintLine(const Dc& dc, int x, int y, const TextLine& line, const RECT* clip,
               LineParts parts) {
    const Font& font = *dc.state.font.get();
    const FontFace& face = font.face();
    const Layout layout = face.layout(line.text);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    const RECT area = paintClip(dc, clip);
    const POINT at = dc.toDevice(x, y);
    const COLORREF ink = dc.state.textColor;
    if (parts != LineParts::MarksOnly) {
        if (dc.state.bkMode == OPAQUE)
            PixelAccess(dc.target(), area)
                .fill({at.x, at.y, at.x + logical.width, at.y + face.height()}, dc.state.bkColor);
        showGlyphs(dc, at, layout.get(), area);
    }
    PixelAccess pixels(dc.target(), area);
    const auto rows = [&](LONG left, LONG right, int top, int thickness) {
        pixels.fill({at.x + left, at.y + top, at.x + right, at.y + top + thickness}, ink);
    };
    if (parts != LineParts::MarksOnly) {
        if (font.log.lfUnderline)
            rows(0, logical.width, face.underlineTop(), face.underlineThickness());
        if (font.log.lfStrikeOut)
            rows(0, logical.width, face.strikeoutTop(), face.strikeoutThickness());
    }
    if (parts != LineParts::TextOnly) {
        for (std::size_t index : line.marked) {
            if (index >= line.text.size())
                continue;
            const auto [left, right] = columnsOf(layout.get(), line.text, index);
            rows(left, right, face.underlineTop(), face.underlineThickness());
        }
    }
}

} // namespace svgdi
