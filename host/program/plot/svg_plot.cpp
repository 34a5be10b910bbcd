#include "plot/svg_plot.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "crt/format.h"
#include "db/acutbuffer.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/extents.h"
#include "db/fcf.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Blocks inside blocks are drawn this deep at most: a damaged drawing may nest without end.
constexpr int kMaxDepth = 16;
// Capitals reach the text height; an SVG font size is about this much more.
constexpr double kFontSizePerHeight = 1.4;
constexpr double kDimensionTextHeight = 0.18;

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

// A small colour-index table: the named colours, greys, and for the rest a hue wheel.
std::string colorOf(int index) {
    static const char* const named[] = {"#000000", "#FF0000", "#FFFF00", "#00FF00", "#00FFFF",
                                        "#0000FF", "#FF00FF", "#000000", "#808080", "#C0C0C0"};
    if (index >= 0 && index <= 9)
        return named[index];
    if (index >= 250 && index <= 255) {
        const int grey = 51 + (index - 250) * 40;
        return svToUtf8(svFormat(L"#%02X%02X%02X", grey, grey, grey));
    }
    if (index < 10 || index > 249)
        return "#000000";
    const double hue = ((index - 10) / 10) * 15.0;
    const double light = (index % 2 == 0) ? 1.0 : 0.75;
    const double shade = 1.0 - ((index % 10) / 2) * 0.15;
    auto channel = [&](double offset) {
        double h = std::fmod(hue + offset, 360.0);
        double v = h < 60 ? h / 60 : h < 180 ? 1.0 : h < 240 ? (240 - h) / 60 : 0.0;
        v = (v * light + (1.0 - light)) * shade;
        return static_cast<int>(std::lround(v * 255));
    };
    return svToUtf8(svFormat(L"#%02X%02X%02X", channel(120), channel(0), channel(240)));
}

class SvgWriter {
public:
    explicit SvgWriter(AcDbDatabase* db) : m_db(db) {}

    void drawSpace(AcDbObjectId spaceId, const AcGeMatrix3d& xform, int byBlock, int depth,
                   bool insertion);
    std::string document() const;

private:
    void drawEntity(const AcDbEntity& original, const AcGeMatrix3d& xform, int byBlock, int depth,
                    bool insertion);
    void drawShape(const AcDbEntity& original, const AcDbEntity& shape, const AcGeMatrix3d& xform,
                   int color, int depth);
    void viewport(const AcDbViewport& viewport, const AcGeMatrix3d& xform, const std::string& color,
                  int depth);

    std::string pt(const AcGePoint3d& p) const { return num(p.x) + "," + num(-p.y); }
    void line(const AcGePoint3d& a, const AcGePoint3d& b, const std::string& color);
    void polygon(const std::vector<AcGePoint3d>& points, bool closed, const std::string& color,
                 const char* fill = "none");
    // A path of vertices with the bulges of the segments leaving them.
    void bulgePath(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                   bool closed, bool flipped, const std::string& color, const char* fill = "none");
    void text(const std::wstring& content, const AcGePoint3d& at, double height, double angle,
              const std::string& color, const char* anchor = "start", double length = 0.0);
    void curveSamples(const AcDbCurve& curve, const std::string& color);
    // The text is the original's: a copy moved onto paper would measure paper units.
    void dimension(const AcDbDimension& dimension, const AcDbDimension& original,
                   const std::string& color);
    void mtext(const AcDbMText& mtext, const std::string& color);

    AcDbDatabase* m_db;
    std::string m_body;
    AcDbExtents m_extents;
    int m_clipCount = 0;
    bool m_insideViewport = false;
};

void SvgWriter::line(const AcGePoint3d& a, const AcGePoint3d& b, const std::string& color) {
    m_body += "<line x1=\"" + num(a.x) + "\" y1=\"" + num(-a.y) + "\" x2=\"" + num(b.x) +
              "\" y2=\"" + num(-b.y) + "\" stroke=\"" + color + "\"/>\n";
}

void SvgWriter::polygon(const std::vector<AcGePoint3d>& points, bool closed,
                        const std::string& color, const char* fill) {
    if (points.empty())
        return;
    std::string list;
    for (const AcGePoint3d& p : points)
        list += (list.empty() ? "" : " ") + pt(p);
    m_body += std::string(closed ? "<polygon" : "<polyline") + " points=\"" + list +
              "\" stroke=\"" + color + "\" fill=\"" + fill + "\"/>\n";
}

void SvgWriter::bulgePath(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                          bool closed, bool flipped, const std::string& color, const char* fill) {
    if (points.empty())
        return;
    std::string d = "M" + pt(points[0]);
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
        const bool counterClockwise = (bulge > 0.0) != flipped;
        d += " A" + num(radius) + "," + num(radius) + " 0 " + (std::fabs(bulge) > 1.0 ? "1" : "0") +
             " " + (counterClockwise ? "0" : "1") + " " + pt(b);
    }
    if (closed)
        d += " Z";
    m_body += "<path d=\"" + d + "\" stroke=\"" + color + "\" fill=\"" + fill + "\"/>\n";
}

void SvgWriter::text(const std::wstring& content, const AcGePoint3d& at, double height,
                     double angle, const std::string& color, const char* anchor, double length) {
    if (content.empty())
        return;
    if (height <= 0.0)
        height = kSvTextDefaultHeight;
    const double degrees = -angle * 180.0 / kPi;
    m_body += "<text x=\"" + num(at.x) + "\" y=\"" + num(-at.y) + "\" font-size=\"" +
              num(height * kFontSizePerHeight) + "\" fill=\"" + color + "\" text-anchor=\"" +
              anchor + "\"";
    if (length > 0.0)
        m_body += " textLength=\"" + num(length) + "\" lengthAdjust=\"spacingAndGlyphs\"";
    if (degrees != 0.0)
        m_body +=
            " transform=\"rotate(" + num(degrees) + " " + num(at.x) + " " + num(-at.y) + ")\"";
    m_body += ">" + xmlText(content) + "</text>\n";
}

void SvgWriter::curveSamples(const AcDbCurve& curve, const std::string& color) {
    double start = 0.0, end = 0.0;
    if (curve.getStartParam(start) != Acad::eOk || curve.getEndParam(end) != Acad::eOk)
        return;
    std::vector<AcGePoint3d> points;
    constexpr int kSamples = 96;
    for (int i = 0; i <= kSamples; ++i) {
        AcGePoint3d p;
        if (curve.getPointAtParam(start + (end - start) * i / kSamples, p) == Acad::eOk)
            points.push_back(p);
    }
    polygon(points, false, color);
}

// Extension lines, the dimension line with ticks, and the text along it.
void SvgWriter::dimension(const AcDbDimension& dim, const AcDbDimension& original,
                          const std::string& color) {
    AcGePoint3d p1, p2, at;
    AcGeVector3d along;
    if (const auto* rotated = AcDbRotatedDimension::cast(&dim)) {
        p1 = rotated->xLine1Point();
        p2 = rotated->xLine2Point();
        at = rotated->dimLinePoint();
        along = AcGeVector3d(std::cos(rotated->rotation()), std::sin(rotated->rotation()), 0.0);
    } else if (const auto* aligned = AcDbAlignedDimension::cast(&dim)) {
        p1 = aligned->xLine1Point();
        p2 = aligned->xLine2Point();
        at = aligned->dimLinePoint();
        along = (p2 - p1).normal();
    } else {
        return;
    }
    if (along.isZeroLength())
        along = AcGeVector3d::kXAxis;
    const AcGePoint3d foot1 = at + along * (p1 - at).dotProduct(along);
    const AcGePoint3d foot2 = at + along * (p2 - at).dotProduct(along);
    line(p1, foot1, color);
    line(p2, foot2, color);
    line(foot1, foot2, color);
    const AcGeVector3d tick = (along + AcGeVector3d(-along.y, along.x, 0.0)) * 0.09;
    line(foot1 - tick, foot1 + tick, color);
    line(foot2 - tick, foot2 + tick, color);
    wchar_t* shown = original.formattedText();
    double angle = std::atan2(along.y, along.x);
    if (angle > kPi / 2 + 1e-9 || angle < -kPi / 2 + 1e-9) // kept readable
        angle += kPi;
    const AcGeVector3d up(-std::sin(angle), std::cos(angle), 0.0);
    text(shown != nullptr ? shown : L"", dim.textPosition() + up * (kDimensionTextHeight * 0.3),
         kDimensionTextHeight, angle, color, "middle");
    acutDelBuffer(shown);
}

// Paragraphs, wrapped at the reference width, one line under the other from the attachment.
void SvgWriter::mtext(const AcDbMText& entity, const std::string& color) {
    wchar_t* plain = entity.text();
    const std::wstring content = plain != nullptr ? plain : L"";
    acutDelBuffer(plain);
    const double height = entity.textHeight();
    const double perLine = entity.width() / height;
    const std::size_t wrapAt = perLine >= 1.0 && perLine < 1e6  ? static_cast<std::size_t>(perLine)
                               : perLine > 0.0 && perLine < 1.0 ? 1
                                                                : std::wstring::npos;
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = content.find(L'\n', start);
        std::wstring paragraph =
            content.substr(start, end == std::wstring::npos ? end : end - start);
        while (paragraph.size() > wrapAt) {
            std::size_t cut = paragraph.rfind(L' ', wrapAt);
            if (cut == std::wstring::npos || cut == 0)
                cut = wrapAt;
            lines.push_back(paragraph.substr(0, cut));
            paragraph = paragraph.substr(cut + (paragraph[cut] == L' ' ? 1 : 0));
        }
        lines.push_back(paragraph);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    const int column = (entity.attachment() - 1) % 3;
    const int row = (entity.attachment() - 1) / 3;
    const double pitch = height * 5.0 / 3.0;
    const double total = height + pitch * static_cast<double>(lines.size() - 1);
    const AcGeVector3d along = entity.direction();
    const AcGeVector3d up = entity.normal().crossProduct(along);
    const AcGePoint3d top = entity.location() + up * (total * row / 2.0);
    const char* anchors[] = {"start", "middle", "end"};
    const double angle = std::atan2(along.y, along.x);
    for (std::size_t i = 0; i < lines.size(); ++i)
        text(lines[i], top - up * (height + pitch * static_cast<double>(i)), height, angle, color,
             anchors[column]);
}

// The frame, and model space through it when the layout itself is plotted.
void SvgWriter::viewport(const AcDbViewport& vp, const AcGeMatrix3d& xform,
                         const std::string& color, int depth) {
    const AcGePoint3d c = vp.centerPoint();
    const double w = vp.width() / 2, h = vp.height() / 2;
    const std::vector<AcGePoint3d> corners{
        xform * (c + AcGeVector3d(-w, -h, 0)), xform * (c + AcGeVector3d(w, -h, 0)),
        xform * (c + AcGeVector3d(w, h, 0)), xform * (c + AcGeVector3d(-w, h, 0))};
    polygon(corners, true, color);
    if (!vp.isOn() || depth > 0 || m_insideViewport || vp.viewHeight() <= 0.0)
        return;
    // Model to paper as the viewport shows it, kept invertible so entities can follow it.
    const AcGePoint2d viewCenter = vp.viewCenter();
    const AcGeMatrix3d toPaper =
        AcGeMatrix3d::translation(c.asVector()) *
        AcGeMatrix3d::scaling(vp.height() / vp.viewHeight()) *
        AcGeMatrix3d::translation(AcGeVector3d(-viewCenter.x, -viewCenter.y, 0.0)) *
        AcGeMatrix3d::rotation(-vp.twistAngle(), AcGeVector3d::kZAxis) *
        AcGeMatrix3d::worldToPlane(vp.viewDirection()) *
        AcGeMatrix3d::translation(-vp.viewTarget().asVector());
    const std::string id = "vp" + std::to_string(++m_clipCount);
    m_body += "<clipPath id=\"" + id + "\"><polygon points=\"";
    for (const AcGePoint3d& p : corners)
        m_body += pt(p) + " ";
    m_body += "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    m_insideViewport = true;
    drawSpace(m_db->modelSpaceId(), xform * toPaper, kSvColorByLayer, depth + 1, false);
    m_insideViewport = false;
    m_body += "</g>\n";
}

void SvgWriter::drawShape(const AcDbEntity& original, const AcDbEntity& shape,
                          const AcGeMatrix3d& xform, int color, int depth) {
    const std::string stroke = colorOf(color);
    if (const auto* l = AcDbLine::cast(&shape)) {
        line(l->startPoint(), l->endPoint(), stroke);
    } else if (const auto* pl = AcDbPolyline::cast(&shape)) {
        std::vector<AcGePoint3d> points;
        std::vector<double> bulges;
        for (unsigned i = 0; i < pl->numVerts(); ++i) {
            AcGePoint3d p;
            double bulge = 0.0;
            pl->getPointAt(i, p);
            pl->getBulgeAt(i, bulge);
            points.push_back(p);
            bulges.push_back(bulge);
        }
        bulgePath(points, bulges, pl->isClosed(), pl->normal().z < 0.0, stroke);
    } else if (const auto* circle = AcDbCircle::cast(&shape)) {
        const AcGePoint3d c = circle->center();
        m_body += "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(-c.y) + "\" r=\"" +
                  num(circle->radius()) + "\" stroke=\"" + stroke + "\" fill=\"none\"/>\n";
    } else if (const auto* arc = AcDbArc::cast(&shape)) {
        AcGePoint3d start, end;
        arc->getStartPoint(start);
        arc->getEndPoint(end);
        const double r = arc->radius();
        const bool counterClockwise = arc->normal().z >= 0.0;
        m_body += "<path d=\"M" + pt(start) + " A" + num(r) + "," + num(r) + " 0 " +
                  (arc->totalAngle() > kPi ? "1" : "0") + " " + (counterClockwise ? "0" : "1") +
                  " " + pt(end) + "\" stroke=\"" + stroke + "\" fill=\"none\"/>\n";
    } else if (const auto* leader = AcDbLeader::cast(&shape)) {
        std::vector<AcGePoint3d> points;
        for (int i = 0; i < leader->numVertices(); ++i)
            points.push_back(leader->vertexAt(i));
        polygon(points, false, stroke);
        if (leader->hasArrowHead() && points.size() >= 2) {
            const AcGeVector3d back = (points[1] - points[0]).normal();
            const double size = std::min(0.18, points[0].distanceTo(points[1]) / 2);
            const AcGeVector3d side(-back.y * size / 3, back.x * size / 3, 0.0);
            const AcGePoint3d base = points[0] + back * size;
            polygon({points[0], base + side, base - side}, true, stroke, stroke.c_str());
        }
    } else if (const auto* curve = AcDbCurve::cast(&shape)) {
        curveSamples(*curve, stroke);
    } else if (const auto* region = AcDbRegion::cast(&shape)) {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(region->normal());
        std::vector<AcGePoint3d> points;
        std::vector<double> bulges;
        for (unsigned i = 0; i < region->numVerts(); ++i) {
            AcGePoint2d p;
            double bulge = 0.0;
            region->getVertexAt(i, p, bulge);
            points.push_back(toWorld * AcGePoint3d(p.x, p.y, region->elevation()));
            bulges.push_back(bulge);
        }
        const std::string fill = stroke + "\" fill-opacity=\"0.15";
        bulgePath(points, bulges, true, region->normal().z < 0.0, stroke, fill.c_str());
    } else if (const auto* definition = AcDbAttributeDefinition::cast(&shape)) {
        // Outside an insertion a definition shows its tag, as the block editor shows it.
        text(definition->isConstant() ? definition->textStringConst() : definition->tagConst(),
             definition->position(), definition->height(), definition->rotation(), stroke);
    } else if (const auto* t = AcDbText::cast(&shape)) {
        const auto* attribute = AcDbAttribute::cast(&shape);
        if (attribute != nullptr && attribute->isInvisible())
            return;
        const std::wstring content = t->textStringConst();
        const double height = t->height() > 0.0 ? t->height() : kSvTextDefaultHeight;
        text(content, t->position(), height, t->rotation(), stroke, "start",
             static_cast<double>(content.size()) * height * t->widthFactor());
    } else if (const auto* m = AcDbMText::cast(&shape)) {
        mtext(*m, stroke);
    } else if (const auto* dim = AcDbDimension::cast(&shape)) {
        dimension(*dim, *AcDbDimension::cast(&original), stroke);
    } else if (const auto* image = AcDbRasterImage::cast(&shape)) {
        AcGePoint3d origin;
        AcGeVector3d u, v;
        image->getOrientation(origin, u, v);
        polygon({origin, origin + u, origin + u + v, origin + v}, true, stroke, "#EEEEEE");
        line(origin, origin + u + v, stroke);
        line(origin + u, origin + v, stroke);
    } else if (const auto* fcf = AcDbFcf::cast(&shape)) {
        wchar_t* content = fcf->text();
        const AcGeVector3d d = fcf->direction();
        text(content != nullptr ? content : L"", fcf->location(), fcf->textHeight(),
             std::atan2(d.y, d.x), stroke);
        acutDelBuffer(content);
    } else if (const auto* vp = AcDbViewport::cast(&shape)) {
        viewport(*vp, AcGeMatrix3d::kIdentity, stroke, depth);
    } else if (const auto* reference = AcDbBlockReference::cast(&shape)) {
        // The attributes belong to the reference in the drawing, not to a transformed copy.
        const auto* owner = AcDbBlockReference::cast(&original);
        AcDbObjectIterator* it = owner->attributeIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDbEntity* attribute = nullptr;
            if (acdbOpenAcDbEntity(attribute, it->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            drawEntity(*attribute, xform, color, depth, false);
            attribute->close();
        }
        delete it;
        drawSpace(reference->blockTableRecord(), reference->blockTransform(), color, depth + 1,
                  true);
    }
}

// Entities outside the plotted space (a block's, model space in a viewport) are drawn from a
// transformed copy, so each kind places itself.
void SvgWriter::drawEntity(const AcDbEntity& original, const AcGeMatrix3d& xform, int byBlock,
                           int depth, bool insertion) {
    if (insertion && AcDbAttributeDefinition::cast(&original) != nullptr &&
        !AcDbAttributeDefinition::cast(&original)->isConstant())
        return; // an insertion shows the values, its attributes
    int color = original.colorIndex();
    if (color == kSvColorByBlock)
        color = byBlock;
    if (color == kSvColorByLayer || color == kSvColorByBlock)
        color = 7;
    std::unique_ptr<AcDbEntity> copy;
    const AcDbEntity* shape = &original;
    if (!(xform == AcGeMatrix3d::kIdentity)) {
        copy.reset(AcDbEntity::cast(original.clone()));
        if (copy == nullptr || copy->transformBy(xform) != Acad::eOk)
            return;
        shape = copy.get();
    }
    if (!m_insideViewport)
        shape->getGeomExtents(m_extents);
    drawShape(original, *shape, xform, color, depth);
}

void SvgWriter::drawSpace(AcDbObjectId spaceId, const AcGeMatrix3d& xform, int byBlock, int depth,
                          bool insertion) {
    if (depth > kMaxDepth)
        return;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk)
        return;
    AcDbBlockTableRecordIterator* it = nullptr;
    const bool iterating = space->newIterator(it) == Acad::eOk;
    space->close(); // a block that inserts itself must be openable again below
    if (!iterating)
        return;
    for (; !it->done(); it->step()) {
        AcDbEntity* entity = nullptr;
        if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
            continue;
        drawEntity(*entity, xform, byBlock, depth, insertion);
        entity->close();
    }
    delete it;
}

std::string SvgWriter::document() const {
    double x0 = 0, y0 = 0, x1 = 10, y1 = 10;
    const AcGeVector3d span = m_extents.maxPoint() - m_extents.minPoint();
    // Extents too large to subtract leave the default box: the file stays valid.
    if (!m_extents.isEmpty() && std::isfinite(span.x) && std::isfinite(span.y)) {
        x0 = m_extents.minPoint().x;
        y0 = m_extents.minPoint().y;
        x1 = m_extents.maxPoint().x;
        y1 = m_extents.maxPoint().y;
    }
    double size = std::max(x1 - x0, y1 - y0);
    if (!(size > 0.0) || !std::isfinite(size))
        size = 1.0;
    const double margin = size * 0.05;
    x0 -= margin;
    y0 -= margin;
    x1 += margin;
    y1 += margin;
    const double w = std::max(x1 - x0, size * 0.01), h = std::max(y1 - y0, size * 0.01);
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
    writer.drawSpace(spaceId, AcGeMatrix3d::kIdentity, 7, 0, false);
    return writer.document();
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
