#pragma once

#include <memory>
#include <string>

#include <pango/pangocairo.h>

#include "gdi/objects.h"

namespace svgdi {

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

// A LOGFONTW resolved to an installed face at a pixel size, with the metrics GDI reports. Text
// is measured and painted through the same layouts, so the two always agree.
class FontFace {
public:
    explicit FontFace(const LOGFONTW& font);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    Layout layout(const std::wstring& text) const;
    // The logical width of the text in pixels.
    int width(const std::wstring& text) const;

    int emPixels() const { return em_; }
    int height() const { return height_; }
    int ascent() const { return ascent_; }
    int averageWidth() const { return averageWidth_; }
    int maximumWidth() const { return maximumWidth_; }
    bool fixedPitch() const { return fixedPitch_; }
    // Rows below the top of the text box and their thickness.
    int underlineTop() const { return underlineTop_; }
    int underlineThickness() const { return underlineThickness_; }
    int strikeoutTop() const { return strikeoutTop_; }
    int strikeoutThickness() const { return strikeoutThickness_; }

private:
    PangoFontDescription* description_;
    int em_ = 0;
    int height_ = 0;
    int ascent_ = 0;
    int averageWidth_ = 0;
    int maximumWidth_ = 0;
    bool fixedPitch_ = false;
    int underlineTop_ = 0;
    int underlineThickness_ = 1;
    int strikeoutTop_ = 0;
    int strikeoutThickness_ = 1;
};

} // namespace svgdi
