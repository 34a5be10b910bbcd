#include "gdi/pen_stroke.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gdi/pixels.h"

namespace svgdi {

namespace {

// Pixels on and off, alternating, starting on.
constexpr int dash[] = {18, 6};
constexpr int dot[] = {3, 3};
constexpr int dashDot[] = {9, 6, 3, 6};
constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};

std::span<const int> patternOf(UINT style) {
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return {};
    }
}

bool onAt(std::span<const int> pattern, int step) {
    int period = 0;
    for (int length : pattern)
        period += length;
    int offset = step % period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (offset < pattern[i])
            return i % 2 == 0;
        offset -= pattern[i];
    }
    return true;
}

// a / b rounded half up, b > 0.
LONG roundedDivision(std::int64_t a, std::int64_t b) {
    const std::int64_t twice = 2 * a + b;
    const std::int64_t quotient = twice / (2 * b);
    return static_cast<LONG>(twice % (2 * b) < 0 ? quotient - 1 : quotient);
}

void stepPixels(const Dc& dc, const Pen& pen, POINT from, POINT to) {
    const std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
    const std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
    const std::int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    const std::span<const int> pattern = patternOf(pen.log.lopnStyle);
    const bool fillGaps = dc.state.bkMode == OPAQUE;
    PixelAccess pixels(dc);
    for (std::int64_t i = 0; i < steps; ++i) {
        const auto x = static_cast<int>(from.x + roundedDivision(i * dx, steps));
        const auto y = static_cast<int>(from.y + roundedDivision(i * dy, steps));
        if (pattern.empty() || onAt(pattern, static_cast<int>(i)))
            pixels.set(x, y, pen.log.lopnColor);
        else if (fillGaps)
            pixels.set(x, y, dc.state.bkColor);
    }
}

void strokeWide(const Dc& dc, const Pen& pen, POINT from, POINT to) {
    const RECT clip = dc.effectiveClip();
    cairo_t* cr = cairo_create(dc.target());
    cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    const COLORREF color = pen.log.lopnColor;
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_set_line_width(cr, pen.log.lopnWidth.x);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
}

} // namespace

void strokeLine(const Dc& dc, POINT from, POINT to) {
    const Pen& pen = *dc.state.pen.get();
    if (pen.log.lopnStyle == PS_NULL)
        return;
    if (pen.log.lopnWidth.x > 1)
        strokeWide(dc, pen, from, to);
    else
        stepPixels(dc, pen, from, to);
}

} // namespace svgdi
