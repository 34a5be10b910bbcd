#include "gdi/font_map.h"

#include <pango/pangocairo.h>

#include "crt/crt.h"

namespace svgdi {

namespace {

constexpr const char* sansFamily = "DejaVu Sans";
constexpr const char* monoFamily = "DejaVu Sans Mono";
constexpr const char* serifFamily = "DejaVu Serif";

struct FaceMapping {
    const wchar_t* face;
    const char* family;
};

constexpr FaceMapping knownFaces[] = {
    {L"MS Shell Dlg", sansFamily},
    {L"MS Shell Dlg 2", sansFamily},
    {L"Tahoma", sansFamily},
    {L"MS Sans Serif", sansFamily},
    {L"Microsoft Sans Serif", sansFamily},
    {L"Segoe UI", sansFamily},
    {L"Arial", sansFamily},
    {L"Verdana", sansFamily},
    {L"System", sansFamily},
    {L"Courier", monoFamily},
    {L"Courier New", monoFamily},
    {L"Consolas", monoFamily},
    {L"Lucida Console", monoFamily},
    {L"Terminal", monoFamily},
    {L"Fixedsys", monoFamily},
    {L"Times New Roman", serifFamily},
    {L"Georgia", serifFamily},
};

} // namespace

PangoContext* textContext() {
    static PangoContext* context = [] {
        PangoFontMap* fonts = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fonts), 96.0);
        PangoContext* made = pango_font_map_create_context(fonts);
        g_object_unref(fonts);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_RGB);
        pango_cairo_context_set_font_options(made, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(made, TRUE);
        pango_context_set_language(made, pango_language_from_string("en"));
        return made;
    }();
    return context;
}

const char* installedFamily(const LOGFONTW& font) {
    for (const FaceMapping& known : knownFaces) {
        if (_wcsicmp(font.lfFaceName, known.face) == 0)
            return known.family;
    }
    if ((font.lfPitchAndFamily & 0x03) == FIXED_PITCH ||
        (font.lfPitchAndFamily & 0xF0) == FF_MODERN)
        return monoFamily;
    if ((font.lfPitchAndFamily & 0xF0) == FF_ROMAN)
        return serifFamily;
    return sansFamily;
}

} // namespace svgdi
