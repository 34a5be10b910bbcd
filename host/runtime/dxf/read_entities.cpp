#include "read_entities.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "crt/format.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/text.h"
#include "db/viewport.h"

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;

// The groups of one record by code: the first of each, and every one in order for the repeated
// ones (vertices). A value that is not the number its code holds is a fault of the file.
class Fields {
public:
    Fields(std::span<const SvDxfGroup> groups, std::wstring& why) : m_groups(groups), m_why(why) {}

    const SvDxfGroup* find(int code) const {
        for (const SvDxfGroup& group : m_groups) {
            if (group.code == code)
                return &group;
        }
        return nullptr;
    }
    double real(int code, double fallback = 0.0) {
        const SvDxfGroup* group = find(code);
        double value = fallback;
        if (group != nullptr && !svDxfReal(*group, value))
            fail(*group, L"a number was expected");
        return value;
    }
    long long integer(int code, long long fallback = 0) {
        const SvDxfGroup* group = find(code);
        long long value = fallback;
        if (group != nullptr && !svDxfInteger(*group, value))
            fail(*group, L"a whole number was expected");
        return value;
    }
    AcGePoint3d point(int code) { return {real(code), real(code + 10), real(code + 20)}; }
    AcGeVector3d vector(int code, const AcGeVector3d& fallback) {
        if (find(code) == nullptr)
            return fallback;
        return {real(code), real(code + 10), real(code + 20)};
    }
    AcGeVector3d normal() { return vector(210, AcGeVector3d::kZAxis); }
    std::wstring text(int code, const SvDxfText& encoding) const {
        const SvDxfGroup* group = find(code);
        return group != nullptr ? svDxfDecode(group->value, encoding) : std::wstring();
    }
    // Faults of a value name the value's line.
    void fail(const SvDxfGroup& group, const wchar_t* what) {
        if (m_why.empty())
            m_why = svDxfAt(group.line + 1, what);
    }
    bool failed() const { return !m_why.empty(); }
    std::span<const SvDxfGroup> groups() const { return m_groups; }

private:
    std::span<const SvDxfGroup> m_groups;
    std::wstring& m_why;
};

void readCommon(Fields& f, AcDbEntity* entity, const SvDxfText& encoding) {
    if (f.find(8) != nullptr)
        entity->setLayer(f.text(8, encoding).c_str());
    const long long color = std::llabs(f.integer(62, kSvColorByLayer));
    if (color <= kSvColorByLayer)
        entity->setColorIndex(static_cast<Adesk::UInt16>(color));
}

void readText(Fields& f, AcDbText* text, const SvDxfText& encoding, int verticalCode) {
    text->setTextString(f.text(1, encoding).c_str());
    const double height = f.real(40, 0.0);
    if (height > 0.0)
        text->setHeight(height);
    text->setRotation(f.real(50) * kRadians);
    const double width = f.real(41, 1.0);
    if (width > 0.0)
        text->setWidthFactor(width);
    text->setOblique(f.real(51) * kRadians);
    text->setNormal(f.normal());
    const long long horizontal = f.integer(72);
    const long long vertical = f.integer(verticalCode);
    if (horizontal >= 0 && horizontal <= 5)
        text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(horizontal));
    if (vertical >= 0 && vertical <= 3)
        text->setVerticalMode(static_cast<AcDb::TextVertMode>(vertical));
    text->setPosition(f.point(10));
    if (!text->isDefaultAlignment())
        text->setAlignmentPoint(f.find(11) != nullptr ? f.point(11) : f.point(10));
}

AcDbEntity* makePolyline(Fields& f) {
    auto* polyline = new AcDbPolyline;
    polyline->setClosed((f.integer(70) & 1) != 0);
    polyline->setElevation(f.real(38));
    polyline->setThickness(f.real(39));
    polyline->setNormal(f.normal());
    const double constant = f.real(43);
    bool open = false;
    AcGePoint2d point;
    double bulge = 0.0;
    double startWidth = -1.0;
    double endWidth = -1.0;
    auto flush = [&] {
        if (open)
            polyline->addVertexAt(polyline->numVerts(), point, bulge, startWidth, endWidth);
        open = false;
    };
    for (const SvDxfGroup& group : f.groups()) {
        double value = 0.0;
        if (group.code != 10 && group.code != 20 && group.code != 40 && group.code != 41 &&
            group.code != 42)
            continue;
        if (!svDxfReal(group, value)) {
            f.fail(group, L"a number was expected");
            break;
        }
        if (group.code == 10) {
            flush();
            open = true;
            point = {value, 0.0};
            bulge = 0.0;
            startWidth = endWidth = -1.0;
        } else if (!open) {
            continue;
        } else if (group.code == 20) {
            point.y = value;
        } else if (group.code == 40) {
            startWidth = value;
        } else if (group.code == 41) {
            endWidth = value;
        } else {
            bulge = value;
        }
    }
    flush();
    if (constant != 0.0)
        polyline->setConstantWidth(constant);
    return polyline;
}

AcDbEntity* makeOldPolyline(Fields& f) {
    // 3D polylines, meshes and polyface meshes are kinds of their own, kept as they came.
    if ((f.integer(70) & (8 | 16 | 64)) != 0)
        return nullptr;
    auto* polyline = new AcDbPolyline;
    polyline->setClosed((f.integer(70) & 1) != 0);
    polyline->setElevation(f.real(30));
    polyline->setThickness(f.real(39));
    polyline->setNormal(f.normal());
    return polyline;
}

AcDbEntity* makeMText(Fields& f, const SvDxfText& encoding) {
    auto* mtext = new AcDbMText;
    // The chunks are joined before decoding: an escape may run across the end of one.
    std::string contents;
    for (const SvDxfGroup& group : f.groups()) {
        if (group.code == 3)
            contents += group.value;
    }
    if (const SvDxfGroup* last = f.find(1))
        contents += last->value;
    mtext->setContents(svDxfDecode(contents, encoding).c_str());
    mtext->setLocation(f.point(10));
    const double height = f.real(40, 0.0);
    if (height > 0.0)
        mtext->setTextHeight(height);
    mtext->setWidth(std::fabs(f.real(41)));
    const long long attachment = f.integer(71, 1);
    if (attachment >= 1 && attachment <= 9)
        mtext->setAttachment(static_cast<AcDbMText::AttachmentPoint>(attachment));
    mtext->setNormal(f.normal());
    if (f.find(11) != nullptr) {
        const AcGeVector3d direction = f.point(11) - AcGePoint3d();
        mtext->setRotation(std::atan2(direction.y, direction.x));
    } else {
        mtext->setRotation(f.real(50) * kRadians);
    }
    return mtext;
}

AcDbEntity* makeDimension(Fields& f, const SvDxfText& encoding) {
    const long long type = f.integer(70) & 7;
    AcDbDimension* dimension = nullptr;
    if (type == 0) {
        auto* rotated = new AcDbRotatedDimension;
        rotated->setXLine1Point(f.point(13));
        rotated->setXLine2Point(f.point(14));
        rotated->setDimLinePoint(f.point(10));
        rotated->setRotation(f.real(50) * kRadians);
        dimension = rotated;
    } else if (type == 1) {
        auto* aligned = new AcDbAlignedDimension;
        aligned->setXLine1Point(f.point(13));
        aligned->setXLine2Point(f.point(14));
        aligned->setDimLinePoint(f.point(10));
        aligned->setOblique(f.real(52) * kRadians);
        dimension = aligned;
    } else {
        return nullptr;
    }
    dimension->setDimensionText(f.text(1, encoding).c_str());
    dimension->setNormal(f.normal());
    if ((f.integer(70) & 128) != 0)
        dimension->setTextPosition(f.point(11));
    return dimension;
}

AcDbEntity* makeLeader(Fields& f) {
    auto* leader = new AcDbLeader;
    std::vector<double> values[3];
    for (const SvDxfGroup& group : f.groups()) {
        const int axis = group.code == 10 ? 0 : group.code == 20 ? 1 : group.code == 30 ? 2 : -1;
        double value = 0.0;
        if (axis < 0)
            continue;
        if (!svDxfReal(group, value)) {
            f.fail(group, L"a number was expected");
            break;
        }
        values[axis].push_back(value);
    }
    for (std::size_t i = 0; i < values[0].size(); ++i) {
        leader->appendVertex({values[0][i], i < values[1].size() ? values[1][i] : 0.0,
                              i < values[2].size() ? values[2][i] : 0.0});
    }
    if (f.integer(71, 1) == 0)
        leader->disableArrowHead();
    leader->setNormal(f.normal());
    return leader;
}

AcDbEntity* makeImage(Fields& f) {
    auto* image = new AcDbRasterImage;
    const double width = f.real(13, 1.0);
    const double height = f.real(23, 1.0);
    if (width >= 1.0 && height >= 1.0 && width < 1e9 && height < 1e9)
        image->setImageSize(static_cast<int>(width), static_cast<int>(height));
    int pixelsWide = 0;
    int pixelsHigh = 0;
    image->getImageSize(pixelsWide, pixelsHigh);
    image->setOrientation(f.point(10), f.vector(11, AcGeVector3d::kXAxis) * std::max(pixelsWide, 1),
                          f.vector(12, AcGeVector3d::kYAxis) * std::max(pixelsHigh, 1));
    return image;
}

AcDbEntity* makeViewport(Fields& f) {
    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint(f.point(10));
    viewport->setWidth(f.real(40, 1.0));
    viewport->setHeight(f.real(41, 1.0));
    viewport->setViewCenter({f.real(12), f.real(22)});
    viewport->setViewDirection(f.vector(16, AcGeVector3d::kZAxis));
    viewport->setViewTarget(f.point(17));
    viewport->setViewHeight(f.real(45, 1.0));
    viewport->setTwistAngle(f.real(51) * kRadians);
    if (f.integer(68, 1) <= 0 || (f.integer(90) & 0x20000) != 0)
        viewport->setOff();
    return viewport;
}

AcDbEntity* make(std::string_view type, Fields& f, const SvDxfText& encoding) {
    if (type == "LINE") {
        auto* line = new AcDbLine(f.point(10), f.point(11));
        line->setThickness(f.real(39));
        line->setNormal(f.normal());
        return line;
    }
    if (type == "CIRCLE") {
        auto* circle = new AcDbCircle;
        circle->setCenter(f.point(10));
        circle->setRadius(f.real(40, 1.0));
        circle->setThickness(f.real(39));
        circle->setNormal(f.normal());
        return circle;
    }
    if (type == "ARC") {
        auto* arc = new AcDbArc;
        arc->setCenter(f.point(10));
        arc->setRadius(f.real(40, 1.0));
        arc->setStartAngle(f.real(50) * kRadians);
        arc->setEndAngle(f.real(51) * kRadians);
        arc->setThickness(f.real(39));
        arc->setNormal(f.normal());
        return arc;
    }
    if (type == "ELLIPSE") {
        auto* ellipse = new AcDbEllipse;
        ellipse->set(f.point(10), f.normal(), f.vector(11, AcGeVector3d::kXAxis), f.real(40, 1.0));
        ellipse->setStartParam(f.real(41));
        ellipse->setEndParam(f.real(42, 2.0 * 3.14159265358979323846));
        return ellipse;
    }
    if (type == "LWPOLYLINE")
        return makePolyline(f);
    if (type == "POLYLINE")
        return makeOldPolyline(f);
    if (type == "TEXT") {
        auto* text = new AcDbText;
        readText(f, text, encoding, 73);
        return text;
    }
    if (type == "ATTDEF") {
        auto* definition = new AcDbAttributeDefinition;
        readText(f, definition, encoding, 74);
        definition->setTag(f.text(2, encoding).c_str());
        definition->setPrompt(f.text(3, encoding).c_str());
        const long long flags = f.integer(70);
        definition->setInvisible((flags & 1) != 0);
        definition->setConstant((flags & 2) != 0);
        definition->setVerifiable((flags & 4) != 0);
        definition->setPreset((flags & 8) != 0);
        return definition;
    }
    if (type == "ATTRIB") {
        auto* attribute = new AcDbAttribute;
        readText(f, attribute, encoding, 74);
        attribute->setTag(f.text(2, encoding).c_str());
        attribute->setInvisible((f.integer(70) & 1) != 0);
        return attribute;
    }
    if (type == "INSERT") {
        auto* reference = new AcDbBlockReference;
        reference->setPosition(f.point(10));
        reference->setScaleFactors({f.real(41, 1.0), f.real(42, 1.0), f.real(43, 1.0)});
        reference->setRotation(f.real(50) * kRadians);
        reference->setNormal(f.normal());
        return reference;
    }
    if (type == "MTEXT")
        return makeMText(f, encoding);
    if (type == "DIMENSION")
        return makeDimension(f, encoding);
    if (type == "LEADER")
        return makeLeader(f);
    if (type == "IMAGE")
        return makeImage(f);
    if (type == "VIEWPORT")
        return makeViewport(f);
    return nullptr;
}

} // namespace

std::wstring svDxfDecode(std::string_view value, const SvDxfText& text) {
    std::wstring decoded = text.utf8 ? svFromUtf8(std::string(value)) : std::wstring();
    if (!text.utf8) {
        decoded.reserve(value.size());
        for (unsigned char c : value)
            decoded += static_cast<wchar_t>(c);
    }
    // \U+XXXX stands for a character the file's code page lacks.
    std::wstring out;
    out.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded.compare(i, 3, L"\\U+") == 0 && i + 7 <= decoded.size()) {
            wchar_t* end = nullptr;
            const std::wstring digits = decoded.substr(i + 3, 4);
            const unsigned long code = std::wcstoul(digits.c_str(), &end, 16);
            if (end == digits.c_str() + 4) {
                out += static_cast<wchar_t>(code);
                i += 6;
                continue;
            }
        }
        out += decoded[i];
    }
    return out;
}

namespace {

bool onlySpaces(const char* begin, const char* end) {
    while (begin < end && *begin == ' ')
        ++begin;
    return begin == end;
}

// The number a value holds in full, spaces after it allowed. Plain numbers are parsed directly;
// anything else (leading spaces or a plus sign, hexadecimal) as the C library reads it.
template <class Number, class Parse>
bool parseNumber(std::string_view text, Number& value, Parse parse) {
    const char* end = text.data() + text.size();
    Number parsed{};
    const auto direct = std::from_chars(text.data(), end, parsed);
    if (direct.ec == std::errc() && onlySpaces(direct.ptr, end)) {
        value = parsed;
        return true;
    }
    // A zero byte follows every value, as the C library needs.
    char* stop = nullptr;
    errno = 0;
    if (!parse(text.data(), stop, parsed) || stop == text.data() || !onlySpaces(stop, end))
        return false;
    value = parsed;
    return true;
}

} // namespace

bool svDxfReal(const SvDxfGroup& group, double& value) {
    double parsed = 0.0;
    const auto library = [](const char* begin, char*& end, double& out) {
        out = std::strtod(begin, &end);
        return true;
    };
    if (!parseNumber(group.value, parsed, library) || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool svDxfInteger(const SvDxfGroup& group, long long& value) {
    const auto library = [](const char* begin, char*& end, long long& out) {
        out = std::strtoll(begin, &end, 10);
        return errno != ERANGE;
    };
    return parseNumber(group.value, value, library);
}

bool svDxfHandle(std::string_view value, std::uint64_t& handle) {
    std::size_t begin = value.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return false;
    std::size_t end = value.find_last_not_of(' ') + 1;
    if (end - begin > 16)
        return false;
    std::uint64_t parsed = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = value[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                           : -1;
        if (digit < 0)
            return false;
        parsed = parsed * 16 + static_cast<std::uint64_t>(digit);
    }
    handle = parsed;
    return true;
}

AcDbEntity* svDxfMakeEntity(std::span<const SvDxfGroup> groups, const SvDxfText& text,
                            std::wstring& why) {
    Fields f(groups, why);
    AcDbEntity* entity = make(groups.front().value, f, text);
    if (entity != nullptr)
        readCommon(f, entity, text);
    if (f.failed()) {
        delete entity;
        return nullptr;
    }
    return entity;
}

bool svDxfAddVertex(AcDbEntity* entity, std::span<const SvDxfGroup> vertex, std::wstring& why) {
    auto* polyline = AcDbPolyline::cast(entity);
    Fields f(vertex, why);
    const long long flags = f.integer(70);
    // Spline frame points are not part of the polyline's path.
    if (polyline == nullptr || (flags & 16) != 0)
        return !f.failed();
    const AcGePoint3d point = f.point(10);
    const double startWidth = f.find(40) != nullptr ? f.real(40) : -1.0;
    const double endWidth = f.find(41) != nullptr ? f.real(41) : -1.0;
    const double bulge = f.real(42);
    if (f.failed())
        return false;
    polyline->addVertexAt(polyline->numVerts(), {point.x, point.y}, bulge, startWidth, endWidth);
    return true;
}
