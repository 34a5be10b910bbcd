#include "gdi/font_face.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "crt/format.h"
#include "gdi/font_map.h"

namespace svgdi {

namespace {

constexpr int defaultEmPixels = 11;
constexpr int largestEmPixels = 1000;
constexpr int referenceEmPixels = 1000;

PangoFontDescription* describe(const LOGFONTW& font, int emPixels) {
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, installedFamily(font));
    const LONG weight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    pango_font_description_set_weight(
        description, static_cast<PangoWeight>(std::clamp<LONG>(weight, 100, 1000)));
    pango_font_description_set_style(description,
                                     font.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description, emPixels * PANGO_SCALE);
    return description;
}

// A positive height asks for the cell (ascent plus descent); the face's proportion between cell
// and character height turns it into the size pango takes.
int emPixelsFor(const LOGFONTW& font) {
    const std::int64_t height = font.lfHeight;
    if (height == 0)
        return defaultEmPixels;
    if (height < 0)
        return static_cast<int>(std::min<std::int64_t>(-height, largestEmPixels));
    PangoFontDescription* reference = describe(font, referenceEmPixels);
    PangoFontMetrics* metrics = pango_context_get_metrics(textContext(), reference, nullptr);
    const double cell = static_cast<double>(pango_font_metrics_get_ascent(metrics) +
                                            pango_font_metrics_get_descent(metrics)) /
                        PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    pango_font_description_free(reference);
    const double em = cell > 0 ? static_cast<double>(height) * referenceEmPixels / cell : height;
    return std::clamp(static_cast<int>(std::lround(em)), 1, largestEmPixels);
}

} // namespace

FontFace::FontFace(const LOGFONTW& font)
    : description_(describe(font, emPixelsFor(font))),
      em_(pango_font_description_get_size(description_) / PANGO_SCALE) {
    PangoRectangle logical;
    Layout empty = layout(L"");
    pango_layout_get_pixel_extents(empty.get(), nullptr, &logical);
    height_ = logical.height;
    ascent_ = PANGO_PIXELS(pango_layout_get_baseline(empty.get()));

    PangoFontMetrics* metrics = pango_context_get_metrics(textContext(), description_, nullptr);
    averageWidth_ =
        std::max(1, PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics)));
    underlineThickness_ =
        std::max(1, PANGO_PIXELS(pango_font_metrics_get_underline_thickness(metrics)));
    underlineTop_ =
        std::clamp(ascent_ - PANGO_PIXELS(pango_font_metrics_get_underline_position(metrics)), 0,
                   std::max(0, height_ - underlineThickness_));
    strikeoutThickness_ =
        std::max(1, PANGO_PIXELS(pango_font_metrics_get_strikethrough_thickness(metrics)));
    strikeoutTop_ =
        std::clamp(ascent_ - PANGO_PIXELS(pango_font_metrics_get_strikethrough_position(metrics)),
                   0, std::max(0, height_ - strikeoutThickness_));
    pango_font_metrics_unref(metrics);

    maximumWidth_ = std::max(width(L"W"), width(L"M"));
    fixedPitch_ = width(L"i") == width(L"W");
}

FontFace::~FontFace() {
    pango_font_description_free(description_);
}

Layout FontFace::layout(const std::wstring& text) const {
    Layout made(pango_layout_new(textContext()));
    pango_layout_set_font_description(made.get(), description_);
    // Line breaks are the callers': a line feed here is a character like any other.
    pango_layout_set_single_paragraph_mode(made.get(), TRUE);
    const std::string utf8 = svToUtf8(text);
    pango_layout_set_text(made.get(), utf8.data(), static_cast<int>(utf8.size()));
    return made;
}

int FontFace::width(const std::wstring& text) const {
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout(text).get(), nullptr, &logical);
    return logical.width;
}

} // namespace svgdi
