#include "plot/painted_plot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "crt/format.h"
#include "db/text.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/surface.h"
#include "gdi/text.h"
#include "ge/curve_math.h"
#include "plot/plot_geometry.h"

namespace {

constexpr double kLongerSide = 1000.0;
constexpr int kCurveSegments = 96;
// Capitals reach the text height; the font's character height is about this much more.
constexpr double kFontSizePerHeight = 1.4;

// Curves become polylines in pixels; a viewport's frame clips as a rectangle, which it is.
class Painter : public PlotGeometry {
public:
    Painter(AcDbDatabase* db, HDC dc, const PlotFrame& frame, double scale)
        : PlotGeometry(db), m_dc(dc), m_frame(frame), m_scale(scale) {}

protected:
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override { stroke({from, to}); }
    void worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) override;
    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                             const std::vector<double>& bulges, bool closed,
                             const AcGeVector3d& normal) override;
    void worldCircle(const AcGePoint3d& center, double radius,
                     const AcGeVector3d& normal) override {
        worldCircularArc(center, radius, normal, perpendicular(normal), 2.0 * ge::kPi);
    }
    void worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                          const AcGeVector3d& startVector, double sweep) override;
    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                            const AcGeVector3d& minorAxis, double startParam,
                            double endParam) override;
    void worldText(const AcGiText& text) override;
    void beginClip(const std::vector<AcGePoint3d>& corners) override;
    void endClip() override { RestoreDC(m_dc, -1); }

private:
    POINT pixel(const AcGePoint3d& p) const {
        auto clamp = [](double v) { return static_cast<LONG>(std::clamp(v, -1e6, 1e6)); };
        return {clamp(std::lround((p.x - m_frame.left) * m_scale)),
                clamp(std::lround((m_frame.bottom + m_frame.height - p.y) * m_scale))};
    }
    COLORREF color() {
        const PlotColor c = plotColor(subEntityTraits().color());
        return RGB(c.red, c.green, c.blue);
    }
    static AcGeVector3d perpendicular(const AcGeVector3d& normal) {
        const AcGeVector3d axis =
            std::fabs(normal.z) > 0.9 ? AcGeVector3d::kXAxis : AcGeVector3d::kZAxis;
        return normal.crossProduct(axis).crossProduct(normal).normal();
    }
    void stroke(const std::vector<AcGePoint3d>& points);

    HDC m_dc;
    PlotFrame m_frame;
    double m_scale;
};

void Painter::stroke(const std::vector<AcGePoint3d>& points) {
    if (points.size() < 2)
        return;
    std::vector<POINT> pixels;
    for (const AcGePoint3d& p : points)
        pixels.push_back(pixel(p));
    HPEN pen = CreatePen(PS_SOLID, 1, color());
    HGDIOBJ previous = SelectObject(m_dc, pen);
    Polyline(m_dc, pixels.data(), static_cast<int>(pixels.size()));
    SelectObject(m_dc, previous);
    DeleteObject(pen);
}

void Painter::worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) {
    std::vector<AcGePoint3d> path = points;
    if (closed && !points.empty())
        path.push_back(points.front());
    stroke(path);
}

// A bulge's arc about the centre that sees the chord under four times the bulge's arc tangent.
void Painter::worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                                  const std::vector<double>& bulges, bool closed,
                                  const AcGeVector3d& normal) {
    if (points.empty())
        return;
    std::vector<AcGePoint3d> path{points[0]};
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % points.size()];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        const AcGeVector3d chord = b - a;
        const double length = std::hypot(chord.x, chord.y);
        if (bulge == 0.0 || length == 0.0) {
            path.push_back(b);
            continue;
        }
        const double sweep = 4.0 * std::atan(bulge) * (normal.z < 0.0 ? -1.0 : 1.0);
        const AcGeVector3d left(-chord.y / length, chord.x / length, 0.0);
        const AcGePoint3d center = a + chord * 0.5 + left * (length / 2.0 / std::tan(sweep / 2.0));
        const double start = std::atan2(a.y - center.y, a.x - center.x);
        const double radius = std::hypot(a.x - center.x, a.y - center.y);
        for (int k = 1; k <= kCurveSegments; ++k) {
            const double t = start + sweep * k / kCurveSegments;
            path.emplace_back(center.x + radius * std::cos(t), center.y + radius * std::sin(t),
                              a.z);
        }
    }
    stroke(path);
}

void Painter::worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                               const AcGeVector3d& startVector, double sweep) {
    std::vector<AcGePoint3d> path;
    for (int k = 0; k <= kCurveSegments; ++k) {
        const AcGeMatrix3d turn = AcGeMatrix3d::rotation(sweep * k / kCurveSegments, normal);
        path.push_back(center + turn * startVector * radius);
    }
    stroke(path);
}

void Painter::worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                                 const AcGeVector3d& minorAxis, double startParam,
                                 double endParam) {
    std::vector<AcGePoint3d> path;
    for (int k = 0; k <= kCurveSegments; ++k) {
        const double t = startParam + (endParam - startParam) * k / kCurveSegments;
        path.push_back(center + majorAxis * std::cos(t) + minorAxis * std::sin(t));
    }
    stroke(path);
}

// Along the x axis whatever the text's direction: the painting layer does not turn fonts.
void Painter::worldText(const AcGiText& text) {
    if (text.content.empty())
        return;
    const double height = text.height > 0.0 ? text.height : kSvTextDefaultHeight;
    LOGFONTW font{};
    font.lfHeight = -std::max(1L, std::lround(height * kFontSizePerHeight * m_scale));
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(m_dc, handle);
    SetTextColor(m_dc, color());
    SetBkMode(m_dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(m_dc, &metrics);
    SIZE extent{};
    const int count = static_cast<int>(text.content.size());
    GetTextExtentPoint32W(m_dc, text.content.c_str(), count, &extent);
    const POINT at = pixel(text.position);
    const LONG shift = text.anchor == kAcGiTextMiddle ? extent.cx / 2
                       : text.anchor == kAcGiTextEnd  ? extent.cx
                                                      : 0;
    TextOutW(m_dc, at.x - shift, at.y - metrics.tmAscent, text.content.c_str(), count);
    SelectObject(m_dc, previous);
    DeleteObject(handle);
}

void Painter::beginClip(const std::vector<AcGePoint3d>& corners) {
    SaveDC(m_dc);
    LONG left = 1000000, top = 1000000, right = -1000000, bottom = -1000000;
    for (const AcGePoint3d& corner : corners) {
        const POINT p = pixel(corner);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    IntersectClipRect(m_dc, left, top, right, bottom);
}

} // namespace

void svPaintSpace(AcDbDatabase* db, AcDbObjectId spaceId, HDC dc, const PlotFrame& frame,
                  double scale) {
    Painter painter(db, dc, frame, scale);
    painter.drawSpace(spaceId);
}

bool svPlotPainted(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& path,
                   SvPaintedPlot kind, std::wstring& error) {
    const PlotFrame frame = plotFrame(spaceId);
    const double scale = kLongerSide / std::max(frame.width, frame.height);
    const int width = std::max(1, static_cast<int>(std::lround(frame.width * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(frame.height * scale)));
    SvSurface* surface = svCreateSurface(width, height);
    if (surface == nullptr) {
        error = L"The image cannot be made.";
        return false;
    }
    HDC dc = svCreateSurfaceDC(surface, {0, 0}, {0, 0, width, height});
    const RECT all{0, 0, width, height};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    DeleteObject(white);
    svPaintSpace(db, spaceId, dc, frame, scale);
    DeleteDC(dc);
    const std::string file = svToUtf8(path);
    const bool written = kind == SvPaintedPlot::Png ? svWriteSurfacePng(surface, file.c_str())
                                                    : svWriteSurfacePdf(surface, file.c_str());
    svDestroySurface(surface);
    if (!written)
        error = L"Cannot write " + path + L".";
    return written;
}
