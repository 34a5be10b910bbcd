// What each reader reads. Readers never fail: an entity they cannot read gives 0.0, or no text.
#include <cwchar>

#include "AcPropertyReader.h"
#include "db/acutbuffer.h"
#include "db/arc.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/curve.h"
#include "db/mtext.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"

namespace {

// Reading an entity that is not open would end the host.
bool readable(const AcDbEntity* entity) {
    return entity != nullptr && entity->isReadEnabled();
}

// Text on its baseline, justified left, aligned or fit, is placed by its position; every other
// justification by its alignment point.
AcGePoint3d textPoint(const AcDbText* text) {
    const AcDb::TextHorzMode horz = text->horizontalMode();
    const bool placedByPosition =
        text->verticalMode() == AcDb::kTextBase &&
        (horz == AcDb::kTextLeft || horz == AcDb::kTextAlign || horz == AcDb::kTextFit);
    return placedByPosition ? text->position() : text->alignmentPoint();
}

// The point whose coordinates the coordinate readers give; false for an entity without one.
bool characteristicPoint(const AcDbEntity* entity, AcGePoint3d& point) {
    if (!readable(entity))
        return false;
    if (const AcDbArc* arc = AcDbArc::cast(entity)) {
        point = arc->center();
    } else if (const AcDbBlockReference* reference = AcDbBlockReference::cast(entity)) {
        point = reference->position();
    } else if (const AcDbCircle* circle = AcDbCircle::cast(entity)) {
        point = circle->center();
    } else if (const AcDbText* text = AcDbText::cast(entity)) {
        point = textPoint(text);
    } else if (const AcDbMText* mtext = AcDbMText::cast(entity)) {
        point = mtext->location();
    } else if (const AcDbRasterImage* image = AcDbRasterImage::cast(entity)) {
        AcGeVector3d u;
        AcGeVector3d v;
        image->getOrientation(point, u, v);
    } else {
        return false;
    }
    return true;
}

} // namespace

double AcAreaReader::readPropertyAsNumber(const AcDbEntity* entity) const {
    if (!readable(entity))
        return 0.0;
    if (const AcDbCurve* curve = AcDbCurve::cast(entity)) {
        double area = 0.0;
        if (curve->getArea(area) == Acad::eOk)
            return area;
    } else if (const AcDbRegion* region = AcDbRegion::cast(entity)) {
        double area = 0.0;
        region->getArea(area);
        return area;
    }
    return 0.0;
}

double AcLengthReader::readPropertyAsNumber(const AcDbEntity* entity) const {
    const AcDbCurve* curve = readable(entity) ? AcDbCurve::cast(entity) : nullptr;
    if (curve == nullptr)
        return 0.0;
    double startParam = 0.0;
    double endParam = 0.0;
    double startDist = 0.0;
    double endDist = 0.0;
    if (curve->getStartParam(startParam) != Acad::eOk ||
        curve->getEndParam(endParam) != Acad::eOk ||
        curve->getDistAtParam(startParam, startDist) != Acad::eOk ||
        curve->getDistAtParam(endParam, endDist) != Acad::eOk)
        return 0.0;
    return endDist - startDist;
}

wchar_t* AcTextReader::readPropertyAsString(const AcDbEntity* entity) const {
    const AcDbText* text = readable(entity) ? AcDbText::cast(entity) : nullptr;
    if (text == nullptr)
        return nullptr;
    wchar_t* hostText = text->textString();
    if (hostText == nullptr)
        return nullptr;
    const std::size_t length = std::wcslen(hostText);
    // The caller frees with delete[], which the host's buffer does not allow.
    auto* copy = new wchar_t[length + 1];
    std::wmemcpy(copy, hostText, length + 1);
    acutDelBuffer(hostText);
    return copy;
}

double AcXCoordReader::readPropertyAsNumber(const AcDbEntity* entity) const {
    AcGePoint3d point;
    return characteristicPoint(entity, point) ? point.x : 0.0;
}

double AcYCoordReader::readPropertyAsNumber(const AcDbEntity* entity) const {
    AcGePoint3d point;
    return characteristicPoint(entity, point) ? point.y : 0.0;
}

double AcZCoordReader::readPropertyAsNumber(const AcDbEntity* entity) const {
    AcGePoint3d point;
    return characteristicPoint(entity, point) ? point.z : 0.0;
}
