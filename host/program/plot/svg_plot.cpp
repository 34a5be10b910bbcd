#include "plot/svg_plot.h"

#include <algorithm>

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "crt/format.h"
#include "db/database.h"
#include "db/extents.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"
#include "plot/plot_geometry.h"

namespace {

// Capitals reach the text height; an SVG font size is about this much more.
constexpr double kFontSizePerHeight = 1.4;

std::string num(double value) {
    if (!std::isfinite(value))
        value = 0.0;
    if (std::fabs(value) < 1e-12)
        value = 0.0;
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return std::string(buffer, result.ptr);
}

// Text as XML character data: markup characters escaped, characters XML cannot carry replaced.
std::string xmlText(const std::wstring& text) {
    std::wstring clean;
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (c == L'&')
            clean += L"&amp;";
        else if (c == L'<')
            clean += L"&lt;";
        else if (c == L'>')
            clean += L"&gt;";
        else if (c == L'"')
            clean += L"&quot;";
        else if (c == L'\'')
            clean += L"&apos;";
        else if (code < 0x20)
            clean += L' ';
        else if ((code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF ||
                 code > 0x10FFFF)
            clean += static_cast<wchar_t>(0xFFFD);
        else
            clean += c;
    }
    return svToUtf8(clean);
}

std::string colorOf(int index) {
    const PlotColor color = plotColor(index);
    return svToUtf8(svFormat(L"#%02X%02X%02X", color.red, color.green, color.blue));
}

// The SVG sink: every primitive becomes an element, a viewport's frame a clip path.
class SvgWriter : public PlotGeometry {
public:
    explicit SvgWriter(AcDbDatabase* db) : PlotGeometry(db) {}

    std::string document(const PlotFrame& frame) const;

protected:
    void beginClip(const std::vector<AcGePoint3d>& corners) override;
    void endClip() override { m_body += "</g>\n"; }
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override;
    void worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) override;
    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                             const std::vector<double>& bulges, bool closed,
                             const AcGeVector3d& normal) override;
    void worldCircle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override;
    void worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                          const AcGeVector3d& startVector, double sweep) override;
    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                            const AcGeVector3d& minorAxis, double startParam,
                            double endParam) override;
    void worldText(const AcGiText& text) override;

private:
    std::string pt(const AcGePoint3d& p) const { return num(p.x) + "," + num(-p.y); }
    std::string stroke() { return colorOf(subEntityTraits().color()); }
    // The fill attribute (and its opacity) for a closed outline.
    std::string fill();
    void points(const std::vector<AcGePoint3d>& points, bool closed, const std::string& fill);

    std::string m_body;
    int m_clipCount = 0;
};

std::string SvgWriter::fill() {
    switch (subEntityTraits().fillType()) {
    case kAcGiFillAlways:
        return stroke();
    case kAcGiFillTint:
        return stroke() + "\" fill-opacity=\"0.15";
    case kAcGiFillBackground:
        return "#EEEEEE";
    case kAcGiFillNever:
        break;
    }
    return "none";
}

void SvgWriter::worldLine(const AcGePoint3d& a, const AcGePoint3d& b) {
    m_body += "<line x1=\"" + num(a.x) + "\" y1=\"" + num(-a.y) + "\" x2=\"" + num(b.x) +
              "\" y2=\"" + num(-b.y) + "\" stroke=\"" + stroke() + "\"/>\n";
}

void SvgWriter::points(const std::vector<AcGePoint3d>& points, bool closed,
                       const std::string& fill) {
    if (points.empty())
        return;
    std::string list;
    // Appended piece by piece: a literal + a temporary string draws a false -Wrestrict from g++ 12
    // at -O3, here and below.
    for (const AcGePoint3d& p : points) {
        if (!list.empty())
            list += ' ';
        list += pt(p);
    }
    m_body += std::string(closed ? "<polygon" : "<polyline") + " points=\"" + list +
              "\" stroke=\"" + stroke() + "\" fill=\"" + fill + "\"/>\n";
}

void SvgWriter::worldPolyline(const std::vector<AcGePoint3d>& vertices, bool closed) {
    points(vertices, closed, closed ? fill() : "none");
}

void SvgWriter::worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                                    const std::vector<double>& bulges, bool closed,
                                    const AcGeVector3d& normal) {
    if (points.empty())
        return;
    std::string d = "M";
    d += pt(points[0]);
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % points.size()];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        const double chord = std::hypot(b.x - a.x, b.y - a.y);
        if (bulge == 0.0 || chord == 0.0) {
            d += " L" + pt(b);
            continue;
        }
        const double radius = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
        // SVG's positive sweep turns from x towards its y, which points down: the drawing's
        // counter-clockwise is the negative sweep.
        const bool counterClockwise = (bulge > 0.0) != (normal.z < 0.0);
        d += " A" + num(radius) + "," + num(radius) + " 0 " + (std::fabs(bulge) > 1.0 ? "1" : "0") +
             " " + (counterClockwise ? "0" : "1") + " " + pt(b);
    }
    if (closed)
        d += " Z";
    m_body += "<path d=\"" + d + "\" stroke=\"" + stroke() + "\" fill=\"" +
              (closed ? fill() : "none") + "\"/>\n";
}

void SvgWriter::worldCircle(const AcGePoint3d& c, double radius, const AcGeVector3d&) {
    m_body += "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(-c.y) + "\" r=\"" + num(radius) +
              "\" stroke=\"" + stroke() + "\" fill=\"" + fill() + "\"/>\n";
}

void SvgWriter::worldCircularArc(const AcGePoint3d& center, double r, const AcGeVector3d& normal,
                                 const AcGeVector3d& startVector, double sweep) {
    const AcGePoint3d start = center + startVector * r;
    const AcGePoint3d end = center + AcGeMatrix3d::rotation(sweep, normal) * startVector * r;
    m_body += "<path d=\"M" + pt(start) + " A" + num(r) + "," + num(r) + " 0 " +
              (sweep > ge::kPi ? "1" : "0") + " " + (normal.z >= 0.0 ? "0" : "1") + " " + pt(end) +
              "\" stroke=\"" + stroke() + "\" fill=\"none\"/>\n";
}

void SvgWriter::worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                                   const AcGeVector3d& minorAxis, double startParam,
                                   double endParam) {
    std::vector<AcGePoint3d> samples;
    constexpr int kSamples = 96;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = startParam + (endParam - startParam) * i / kSamples;
        samples.push_back(center + majorAxis * std::cos(t) + minorAxis * std::sin(t));
    }
    points(samples, false, "none");
}

void SvgWriter::worldText(const AcGiText& text) {
    if (text.content.empty())
        return;
    const double height = text.height > 0.0 ? text.height : kSvTextDefaultHeight;
    const double degrees = -std::atan2(text.direction.y, text.direction.x) * 180.0 / ge::kPi;
    const char* const anchors[] = {"start", "middle", "end"};
    const AcGePoint3d& at = text.position;
    m_body += "<text x=\"" + num(at.x) + "\" y=\"" + num(-at.y) + "\" font-size=\"" +
              num(height * kFontSizePerHeight) + "\" fill=\"" + stroke() + "\" text-anchor=\"" +
              anchors[text.anchor] + "\"";
    if (text.length > 0.0)
        m_body += " textLength=\"" + num(text.length) + "\" lengthAdjust=\"spacingAndGlyphs\"";
    if (degrees != 0.0)
        m_body +=
            " transform=\"rotate(" + num(degrees) + " " + num(at.x) + " " + num(-at.y) + ")\"";
    m_body.append(">").append(xmlText(text.content)).append("</text>\n");
}

void SvgWriter::beginClip(const std::vector<AcGePoint3d>& corners) {
    const std::string id = "vp" + std::to_string(++m_clipCount);
    m_body += "<clipPath id=\"" + id + "\"><polygon points=\"";
    for (const AcGePoint3d& corner : corners)
        m_body += pt(corner) + " ";
    m_body += "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
}

std::string SvgWriter::document(const PlotFrame& frame) const {
    const double x0 = frame.left, w = frame.width, h = frame.height, size = frame.size;
    const double y1 = frame.bottom + h;
    const double pixels = 1000.0 / std::max(w, h);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                      num(w * pixels) + "\" height=\"" + num(h * pixels) + "\" viewBox=\"" +
                      num(x0) + " " + num(-y1) + " " + num(w) + " " + num(h) + "\">\n";
    out += "<rect x=\"" + num(x0) + "\" y=\"" + num(-y1) + "\" width=\"" + num(w) + "\" height=\"" +
           num(h) + "\" fill=\"white\"/>\n";
    out += "<g stroke-width=\"" + num(size / 800.0) +
           "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" font-family=\"monospace\" "
           "style=\"white-space:pre\">\n";
    out += m_body;
    out += "</g>\n</svg>\n";
    return out;
}

} // namespace

std::string svPlotToSvg(AcDbDatabase* db, AcDbObjectId spaceId) {
    SvgWriter writer(db);
    writer.drawSpace(spaceId);
    return writer.document(plotFrame(spaceId));
}

bool svPlotToSvgFile(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& path,
                     std::wstring& error) {
    const std::string svg = svPlotToSvg(db, spaceId);
    std::ofstream out(svToUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out || !out.write(svg.data(), static_cast<std::streamsize>(svg.size())) || !out.flush()) {
        error = L"Cannot write " + path + L".";
        return false;
    }
    return true;
}
