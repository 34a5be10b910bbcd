#include "write_entities.h"

#include <cmath>
#include <string>

#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/internal.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
constexpr std::size_t kMTextChunk = 250;

void point(SvDxfWriter& out, int code, const AcGePoint3d& p) {
    out.point(code, p.x, p.y, p.z);
}
void vector(SvDxfWriter& out, int code, const AcGeVector3d& v) {
    out.point(code, v.x, v.y, v.z);
}
void normal(SvDxfWriter& out, const AcGeVector3d& n) {
    if (n.x != 0.0 || n.y != 0.0 || n.z != 1.0)
        vector(out, 210, n);
}

void entityPart(SvDxfWriter& out, const AcDbEntity* entity, const SvDxfEntityContext& context) {
    out.text(100, std::string("AcDbEntity"));
    if (context.paperSpace)
        out.integer(67, 1);
    wchar_t* layer = entity->layer();
    out.text(8, std::wstring(layer));
    delete[] layer;
    if (entity->colorIndex() != kSvColorByLayer)
        out.integer(62, entity->colorIndex());
}

void start(SvDxfWriter& out, const char* type, const AcDbEntity* entity,
           const SvDxfEntityContext& context, const char* subclass) {
    svDxfWriteHead(out, type, entity, context);
    entityPart(out, entity, context);
    out.text(100, std::string(subclass));
}

void textPart(SvDxfWriter& out, const AcDbText* text, const SvDxfEntityContext& context) {
    point(out, 10, text->position());
    out.real(40, text->height());
    out.text(1, std::wstring(text->textStringConst()));
    if (text->rotation() != 0.0)
        out.real(50, text->rotation() * kDegrees);
    if (text->widthFactor() != 1.0)
        out.real(41, text->widthFactor());
    if (text->oblique() != 0.0)
        out.real(51, text->oblique() * kDegrees);
    out.text(7, context.styleNameOf(text->textStyle(), L"STYLE"));
    if (text->horizontalMode() != AcDb::kTextLeft)
        out.integer(72, text->horizontalMode());
    if (!text->isDefaultAlignment())
        point(out, 11, text->alignmentPoint());
    normal(out, text->normal());
}

int attributeFlags(bool invisible, bool constant, bool verifiable, bool preset) {
    return (invisible ? 1 : 0) | (constant ? 2 : 0) | (verifiable ? 4 : 0) | (preset ? 8 : 0);
}

void writeText(SvDxfWriter& out, const AcDbText* text, const SvDxfEntityContext& context) {
    start(out, "TEXT", text, context, "AcDbText");
    textPart(out, text, context);
    out.text(100, std::string("AcDbText"));
    if (text->verticalMode() != AcDb::kTextBase)
        out.integer(73, text->verticalMode());
}

void writeAttributeDefinition(SvDxfWriter& out, const AcDbAttributeDefinition* definition,
                              const SvDxfEntityContext& context) {
    start(out, "ATTDEF", definition, context, "AcDbText");
    textPart(out, definition, context);
    out.text(100, std::string("AcDbAttributeDefinition"));
    out.text(3, std::wstring(definition->promptConst()));
    out.text(2, std::wstring(definition->tagConst()));
    out.integer(70, attributeFlags(definition->isInvisible(), definition->isConstant(),
                                   definition->isVerifiable(), definition->isPreset()));
    if (definition->verticalMode() != AcDb::kTextBase)
        out.integer(74, definition->verticalMode());
}

void writeAttribute(SvDxfWriter& out, const AcDbAttribute* attribute,
                    const SvDxfEntityContext& context) {
    start(out, "ATTRIB", attribute, context, "AcDbText");
    textPart(out, attribute, context);
    out.text(100, std::string("AcDbAttribute"));
    out.text(2, std::wstring(attribute->tagConst()));
    out.integer(70, attributeFlags(attribute->isInvisible(), attribute->isConstant(),
                                   attribute->isVerifiable(), attribute->isPreset()));
    if (attribute->verticalMode() != AcDb::kTextBase)
        out.integer(74, attribute->verticalMode());
}

std::wstring blockName(const AcDbObjectId& id) {
    auto* record = AcDbBlockTableRecord::cast(svDbResolve(id));
    const wchar_t* name = nullptr;
    if (record == nullptr)
        return L"";
    SvDbFilingScope reading(record);
    record->getName(name);
    return name != nullptr ? name : L"";
}

void writeInsert(SvDxfWriter& out, const AcDbBlockReference* reference,
                 const SvDxfEntityContext& context) {
    std::vector<const AcDbAttribute*> attributes;
    AcDbObjectIterator* it = reference->attributeIterator();
    for (; !it->done(); it->step()) {
        if (auto* attribute = AcDbAttribute::cast(svDbResolve(it->objectId())))
            attributes.push_back(attribute);
    }
    delete it;
    start(out, "INSERT", reference, context, "AcDbBlockReference");
    if (!attributes.empty())
        out.integer(66, 1);
    out.text(2, blockName(reference->blockTableRecord()));
    point(out, 10, reference->position());
    const AcGeVector3d scale = reference->scaleFactors();
    if (scale.x != 1.0 || scale.y != 1.0 || scale.z != 1.0) {
        out.real(41, scale.x);
        out.real(42, scale.y);
        out.real(43, scale.z);
    }
    if (reference->rotation() != 0.0)
        out.real(50, reference->rotation() * kDegrees);
    normal(out, reference->normal());
    if (attributes.empty())
        return;
    for (const AcDbAttribute* attribute : attributes) {
        SvDbFilingScope reading(attribute);
        writeAttribute(out, attribute, context);
    }
    out.text(0, std::string("SEQEND"));
    out.handle(5, context.newHandle());
    out.handle(330, context.handleOf(reference->objectId()));
    entityPart(out, reference, context);
}

void writeMText(SvDxfWriter& out, const AcDbMText* mtext, const SvDxfEntityContext& context) {
    start(out, "MTEXT", mtext, context, "AcDbMText");
    point(out, 10, mtext->location());
    out.real(40, mtext->textHeight());
    out.real(41, mtext->width());
    out.integer(71, mtext->attachment());
    out.integer(72, 1);
    // Long contents go in chunks; a chunk never ends inside an escape's \U+XXXX.
    const std::wstring contents = mtext->contentsConst();
    std::size_t pos = 0;
    while (contents.size() - pos > kMTextChunk) {
        out.text(3, contents.substr(pos, kMTextChunk));
        pos += kMTextChunk;
    }
    out.text(1, contents.substr(pos));
    out.text(7, context.styleNameOf(mtext->textStyle(), L"STYLE"));
    normal(out, mtext->normal());
    vector(out, 11, mtext->direction());
}

void dimensionPart(SvDxfWriter& out, const AcDbDimension* dimension, const AcGePoint3d& dimLine,
                   int type, const SvDxfEntityContext& context) {
    out.text(2, context.dimensionBlockOf(dimension));
    point(out, 10, dimLine);
    point(out, 11, dimension->textPosition());
    out.integer(70, type | (dimension->isUsingDefaultTextPosition() ? 0 : 128));
    wchar_t* text = dimension->dimensionText();
    out.text(1, std::wstring(text));
    delete[] text;
    out.text(3, context.styleNameOf(dimension->dimensionStyle(), L"DIMSTYLE"));
    normal(out, dimension->normal());
    out.text(100, std::string("AcDbAlignedDimension"));
}

void writeRotatedDimension(SvDxfWriter& out, const AcDbRotatedDimension* dimension,
                           const SvDxfEntityContext& context) {
    start(out, "DIMENSION", dimension, context, "AcDbDimension");
    dimensionPart(out, dimension, dimension->dimLinePoint(), 0, context);
    point(out, 13, dimension->xLine1Point());
    point(out, 14, dimension->xLine2Point());
    out.real(50, dimension->rotation() * kDegrees);
    out.text(100, std::string("AcDbRotatedDimension"));
}

void writeAlignedDimension(SvDxfWriter& out, const AcDbAlignedDimension* dimension,
                           const SvDxfEntityContext& context) {
    start(out, "DIMENSION", dimension, context, "AcDbDimension");
    dimensionPart(out, dimension, dimension->dimLinePoint(), 1, context);
    point(out, 13, dimension->xLine1Point());
    point(out, 14, dimension->xLine2Point());
    if (dimension->oblique() != 0.0)
        out.real(52, dimension->oblique() * kDegrees);
}

void writeLeader(SvDxfWriter& out, const AcDbLeader* leader, const SvDxfEntityContext& context) {
    start(out, "LEADER", leader, context, "AcDbLeader");
    out.text(3, std::string("Standard"));
    out.integer(71, leader->hasArrowHead() ? 1 : 0);
    out.integer(72, 0);
    const std::uint64_t annotation = context.handleOf(leader->annotationObjId());
    out.integer(73, annotation != 0 ? 0 : 3);
    out.integer(76, leader->numVertices());
    for (int i = 0; i < leader->numVertices(); ++i)
        point(out, 10, leader->vertexAt(i));
    normal(out, leader->normal());
    if (annotation != 0)
        out.handle(340, annotation);
}

void writeImage(SvDxfWriter& out, const AcDbRasterImage* image, const SvDxfEntityContext& context) {
    start(out, "IMAGE", image, context, "AcDbRasterImage");
    AcGePoint3d origin;
    AcGeVector3d u;
    AcGeVector3d v;
    image->getOrientation(origin, u, v);
    int width = 0;
    int height = 0;
    image->getImageSize(width, height);
    width = width > 0 ? width : 1;
    height = height > 0 ? height : 1;
    out.integer(90, 0);
    point(out, 10, origin);
    vector(out, 11, u / width);
    vector(out, 12, v / height);
    out.point(13, width, height);
    out.handle(340, context.imageDefinitionOf(image));
    out.integer(70, 3);
    out.integer(280, 0);
    out.integer(281, 50);
    out.integer(282, 50);
    out.integer(283, 0);
    out.integer(71, 1);
    out.integer(91, 2);
    out.point(14, -0.5, -0.5);
    out.point(14, width - 0.5, height - 0.5);
}

void writeViewport(SvDxfWriter& out, const AcDbViewport* viewport,
                   const SvDxfEntityContext& context) {
    start(out, "VIEWPORT", viewport, context, "AcDbViewport");
    point(out, 10, viewport->centerPoint());
    out.real(40, viewport->width());
    out.real(41, viewport->height());
    const int number = viewport->number();
    out.integer(68, viewport->isOn() ? (number > 0 ? number : 2) : -1);
    out.integer(69, number > 0 ? number : 2);
    out.point(12, viewport->viewCenter().x, viewport->viewCenter().y);
    vector(out, 16, viewport->viewDirection());
    point(out, 17, viewport->viewTarget());
    out.real(45, viewport->viewHeight());
    if (viewport->twistAngle() != 0.0)
        out.real(51, viewport->twistAngle() * kDegrees);
    out.integer(90, viewport->isOn() ? 0 : 0x20000);
}

void writePolyline(SvDxfWriter& out, const AcDbPolyline* polyline,
                   const SvDxfEntityContext& context) {
    start(out, "LWPOLYLINE", polyline, context, "AcDbPolyline");
    out.integer(90, polyline->numVerts());
    out.integer(70, polyline->isClosed() ? 1 : 0);
    double constant = 0.0;
    if (polyline->getConstantWidth(constant) == Acad::eOk && constant != 0.0)
        out.real(43, constant);
    if (polyline->elevation() != 0.0)
        out.real(38, polyline->elevation());
    if (polyline->thickness() != 0.0)
        out.real(39, polyline->thickness());
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
        AcGePoint2d p;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
        polyline->getPointAt(i, p);
        polyline->getBulgeAt(i, bulge);
        polyline->getWidthsAt(i, startWidth, endWidth);
        out.point(10, p.x, p.y);
        if (startWidth != 0.0 || endWidth != 0.0) {
            out.real(40, startWidth);
            out.real(41, endWidth);
        }
        if (bulge != 0.0)
            out.real(42, bulge);
    }
    normal(out, polyline->normal());
}

} // namespace

void svDxfWriteHead(SvDxfWriter& out, const char* type, const AcDbObject* obj,
                    const SvDxfEntityContext& context) {
    out.text(0, std::string(type));
    out.handle(5, context.handleOf(obj->objectId()));
    const SvDbObjectData& data = SvDbAccess::data(obj);
    if (const std::uint64_t xdict = context.handleOf(data.xdict)) {
        out.text(102, std::string("{ACAD_XDICTIONARY"));
        out.handle(360, xdict);
        out.text(102, std::string("}"));
    }
    bool opened = false;
    for (const AcDbObjectId& reactor : data.reactors) {
        const std::uint64_t handle = context.handleOf(reactor);
        if (handle == 0)
            continue;
        if (!opened)
            out.text(102, std::string("{ACAD_REACTORS"));
        opened = true;
        out.handle(330, handle);
    }
    if (opened)
        out.text(102, std::string("}"));
    out.handle(330, context.handleOf(data.owner));
}

bool svDxfWriteEntity(SvDxfWriter& out, const AcDbEntity* entity,
                      const SvDxfEntityContext& context) {
    SvDbFilingScope reading(entity);
    if (auto* line = AcDbLine::cast(entity)) {
        start(out, "LINE", line, context, "AcDbLine");
        if (line->thickness() != 0.0)
            out.real(39, line->thickness());
        point(out, 10, line->startPoint());
        point(out, 11, line->endPoint());
        normal(out, line->normal());
    } else if (auto* arc = AcDbArc::cast(entity)) {
        start(out, "ARC", arc, context, "AcDbCircle");
        if (arc->thickness() != 0.0)
            out.real(39, arc->thickness());
        point(out, 10, arc->center());
        out.real(40, arc->radius());
        normal(out, arc->normal());
        out.text(100, std::string("AcDbArc"));
        out.real(50, arc->startAngle() * kDegrees);
        out.real(51, arc->endAngle() * kDegrees);
    } else if (auto* circle = AcDbCircle::cast(entity)) {
        start(out, "CIRCLE", circle, context, "AcDbCircle");
        if (circle->thickness() != 0.0)
            out.real(39, circle->thickness());
        point(out, 10, circle->center());
        out.real(40, circle->radius());
        normal(out, circle->normal());
    } else if (auto* ellipse = AcDbEllipse::cast(entity)) {
        start(out, "ELLIPSE", ellipse, context, "AcDbEllipse");
        point(out, 10, ellipse->center());
        vector(out, 11, ellipse->majorAxis());
        vector(out, 210, ellipse->normal());
        out.real(40, ellipse->radiusRatio());
        double first = ellipse->startParam();
        double last = ellipse->endParam();
        if (first == last) {
            first = 0.0;
            last = 2.0 * 3.14159265358979323846;
        }
        out.real(41, first);
        out.real(42, last);
    } else if (auto* polyline = AcDbPolyline::cast(entity)) {
        writePolyline(out, polyline, context);
    } else if (auto* definition = AcDbAttributeDefinition::cast(entity)) {
        writeAttributeDefinition(out, definition, context);
    } else if (auto* attribute = AcDbAttribute::cast(entity)) {
        writeAttribute(out, attribute, context);
    } else if (auto* text = AcDbText::cast(entity)) {
        writeText(out, text, context);
    } else if (auto* reference = AcDbBlockReference::cast(entity)) {
        writeInsert(out, reference, context);
    } else if (auto* mtext = AcDbMText::cast(entity)) {
        writeMText(out, mtext, context);
    } else if (auto* rotated = AcDbRotatedDimension::cast(entity)) {
        writeRotatedDimension(out, rotated, context);
    } else if (auto* aligned = AcDbAlignedDimension::cast(entity)) {
        writeAlignedDimension(out, aligned, context);
    } else if (auto* leader = AcDbLeader::cast(entity)) {
        writeLeader(out, leader, context);
    } else if (auto* image = AcDbRasterImage::cast(entity)) {
        writeImage(out, image, context);
    } else if (auto* viewport = AcDbViewport::cast(entity)) {
        writeViewport(out, viewport, context);
    } else {
        return false;
    }
    return true;
}
