#include "common.h"

#include <cmath>

#include "db/acutbuffer.h"
#include "db/objectid.h"
#include "db/rtos.h"
#include "ge/curve_math.h"
#include "rx/print.h"

namespace svent {

bool isFinite(double value) {
    return std::isfinite(value);
}

bool isFinite(const AcGePoint2d& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(const AcGePoint3d& point) {
    return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

bool isFinite(const AcGeVector3d& vector) {
    return std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
}

bool unitVector(const AcGeVector3d& vector, AcGeVector3d& unit) {
    if (!isFinite(vector))
        return false;
    const double length = vector.length();
    if (!(length > 0.0) || !std::isfinite(length))
        return false;
    unit = vector / length;
    return true;
}

Acad::ErrorStatus setUnitNormal(AcDbObject* object, AcGeVector3d& field,
                                const AcGeVector3d& normal) {
    AcGeVector3d unit;
    if (!unitVector(normal, unit))
        return Acad::eInvalidInput;
    object->assertWriteEnabled();
    field = unit;
    return Acad::eOk;
}

void writeVersion(AcDbDwgFiler* filer, Adesk::Int16 version) {
    filer->writeInt16(version);
}

Acad::ErrorStatus readVersion(AcDbDwgFiler* filer, Adesk::Int16 current) {
    Adesk::Int16 version = 0;
    filer->readInt16(&version);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    if (version > current)
        return Acad::eMakeMeProxy;
    return require(filer, version >= 1);
}

void writePoint(AcDbDwgFiler* filer, const AcGePoint3d& point) {
    filer->writeDouble(point.x);
    filer->writeDouble(point.y);
    filer->writeDouble(point.z);
}

void writePoint(AcDbDwgFiler* filer, const AcGePoint2d& point) {
    filer->writeDouble(point.x);
    filer->writeDouble(point.y);
}

void writeVector(AcDbDwgFiler* filer, const AcGeVector3d& vector) {
    filer->writeDouble(vector.x);
    filer->writeDouble(vector.y);
    filer->writeDouble(vector.z);
}

double readReal(AcDbDwgFiler* filer) {
    double value = 0.0;
    filer->readDouble(&value);
    require(filer, std::isfinite(value));
    return filer->filerStatus() == Acad::eOk ? value : 0.0;
}

AcGePoint3d readPoint3d(AcDbDwgFiler* filer) {
    AcGePoint3d point;
    point.x = readReal(filer);
    point.y = readReal(filer);
    point.z = readReal(filer);
    return point;
}

AcGePoint2d readPoint2d(AcDbDwgFiler* filer) {
    AcGePoint2d point;
    point.x = readReal(filer);
    point.y = readReal(filer);
    return point;
}

AcGeVector3d readVector(AcDbDwgFiler* filer) {
    AcGeVector3d vector;
    vector.x = readReal(filer);
    vector.y = readReal(filer);
    vector.z = readReal(filer);
    return vector;
}

AcGeVector3d readNormal(AcDbDwgFiler* filer) {
    AcGeVector3d unit = AcGeVector3d::kZAxis;
    const AcGeVector3d read = readVector(filer);
    if (filer->filerStatus() == Acad::eOk)
        require(filer, unitVector(read, unit));
    return unit;
}

std::wstring readText(AcDbDwgFiler* filer) {
    wchar_t* text = nullptr;
    filer->readString(&text);
    std::wstring copy = filer->filerStatus() == Acad::eOk && text != nullptr ? text : L"";
    acutDelBuffer(text);
    return copy;
}

Acad::ErrorStatus require(AcDbDwgFiler* filer, bool valid) {
    if (!valid && filer->filerStatus() == Acad::eOk)
        filer->setFilerStatus(Acad::eBadDwgFile);
    return filer->filerStatus();
}

std::wstring number(double value) {
    wchar_t buffer[kSvRToSMaxChars] = {};
    acdbRToS(value, -1, -1, buffer);
    return buffer;
}

std::wstring angle(double radians) {
    wchar_t buffer[kSvRToSMaxChars] = {};
    acdbRToS(radians * 180.0 / ge::kPi, 2, 4, buffer);
    return std::wstring(buffer) + L"\u00B0";
}

void listLine(const wchar_t* label, const std::wstring& value) {
    acutPrintf(L"    %-18s%s\n", label, value.c_str());
}

void listPoint(const wchar_t* label, const AcGePoint3d& point) {
    listLine(label,
             L"X=" + number(point.x) + L"  Y=" + number(point.y) + L"  Z=" + number(point.z));
}

void listVector(const wchar_t* label, const AcGeVector3d& vector) {
    listLine(label,
             L"X=" + number(vector.x) + L"  Y=" + number(vector.y) + L"  Z=" + number(vector.z));
}

void listNumber(const wchar_t* label, double value) {
    listLine(label, number(value));
}

void listAngle(const wchar_t* label, double radians) {
    listLine(label, angle(radians));
}

void listQuoted(const wchar_t* label, const wchar_t* text) {
    listLine(label, std::wstring(L"\"") + (text != nullptr ? text : L"") + L"\"");
}

void listId(const wchar_t* label, const AcDbObjectId& id) {
    if (id.isNull()) {
        listLine(label, L"none");
        return;
    }
    wchar_t hex[32] = {};
    std::swprintf(hex, 32, L"%llX", static_cast<unsigned long long>(id.handle().value()));
    listLine(label, std::wstring(L"handle ") + hex);
}

bool isUniform(const AcGeMatrix3d& xform) {
    return !xform.isSingular() && xform.isUniScaledOrtho();
}

bool isInvertible(const AcGeMatrix3d& xform) {
    for (unsigned r = 0; r < 4; ++r) {
        for (unsigned c = 0; c < 4; ++c) {
            if (!std::isfinite(xform(r, c)))
                return false;
        }
    }
    return !xform.isSingular();
}

AcGeVector3d transformNormal(const AcGeMatrix3d& xform, const AcGeVector3d& normal) {
    AcGeMatrix3d inverse;
    if (xform.inverse(inverse) != Acad::eOk)
        return normal;
    const AcGeVector3d mapped = inverse.transpose() * normal;
    AcGeVector3d unit = normal;
    unitVector(mapped, unit);
    return unit;
}

double angleInPlane(const AcGeVector3d& direction, const AcGeVector3d& normal) {
    const AcGeVector3d local = AcGeMatrix3d::worldToPlane(normal) * direction;
    return ge::normalizeAngle(std::atan2(local.y, local.x));
}

AcGeVector3d directionInPlane(double angle, const AcGeVector3d& normal) {
    return AcGeMatrix3d::planeToWorld(normal) * AcGeVector3d(std::cos(angle), std::sin(angle), 0.0);
}

AcGePoint3d planeToWorld(const AcGePoint2d& point, double elevation, const AcGeVector3d& normal) {
    return AcGeMatrix3d::planeToWorld(normal) * AcGePoint3d(point.x, point.y, elevation);
}

AcGePoint3d worldToPlane(const AcGePoint3d& point, const AcGeVector3d& normal) {
    return AcGeMatrix3d::worldToPlane(normal) * point;
}

} // namespace svent

#include "db/extents.h"
#include "ge/bulge.h"

namespace svent {

namespace {

// Whether `angle` lies on the sweep that starts at `start`.
bool onSweep(double angle, double start, double sweep) {
    if (sweep >= 0.0)
        return ge::normalizeAngle(angle - start) <= sweep;
    return ge::normalizeAngle(start - angle) <= -sweep;
}

} // namespace

void addArcExtents(AcDbExtents& extents, const AcGePoint3d& center, const AcGeVector3d& xAxis,
                   const AcGeVector3d& yAxis, double radius, double startAngle, double sweep) {
    auto at = [&](double a) {
        return center + xAxis * (radius * std::cos(a)) + yAxis * (radius * std::sin(a));
    };
    extents.addPoint(at(startAngle));
    extents.addPoint(at(startAngle + sweep));
    for (unsigned k = 0; k < 3; ++k) {
        // d/da of coordinate k vanishes where tan(a) = yAxis[k] / xAxis[k].
        const double a = std::atan2(yAxis[k], xAxis[k]);
        for (double candidate : {a, a + ge::kPi}) {
            if (onSweep(ge::normalizeAngle(candidate), ge::normalizeAngle(startAngle), sweep))
                extents.addPoint(at(candidate));
        }
    }
}

void addBulgeExtents(AcDbExtents& extents, const AcGePoint2d& start, const AcGePoint2d& end,
                     double bulge, double elevation, const AcGeVector3d& normal) {
    extents.addPoint(planeToWorld(start, elevation, normal));
    extents.addPoint(planeToWorld(end, elevation, normal));
    ge::BulgeArc arc;
    if (bulge == 0.0 || ge::arcFromBulge(start, end, bulge, arc) != Acad::eOk)
        return;
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
    addArcExtents(extents, planeToWorld(arc.center, elevation, normal),
                  toWorld * AcGeVector3d::kXAxis, toWorld * AcGeVector3d::kYAxis, arc.radius,
                  arc.startAngle, arc.sweep);
}

AcGePoint2d closestOnSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                             const AcGePoint2d& point) {
    ge::BulgeArc arc;
    if (bulge != 0.0 && ge::arcFromBulge(start, end, bulge, arc) == Acad::eOk) {
        const AcGeVector2d radial = point - arc.center;
        const double a = std::atan2(radial.y, radial.x);
        if (radial.length() > 0.0 && onSweep(a, arc.startAngle, arc.sweep))
            return arc.center + AcGeVector2d(std::cos(a), std::sin(a)) * arc.radius;
        return point.distanceTo(start) <= point.distanceTo(end) ? start : end;
    }
    const AcGeVector2d along = end - start;
    const double lengthSqrd = along.x * along.x + along.y * along.y;
    if (lengthSqrd == 0.0)
        return start;
    double t = ((point.x - start.x) * along.x + (point.y - start.y) * along.y) / lengthSqrd;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    return start + along * t;
}

Adesk::UInt32 readCount(AcDbDwgFiler* filer, Adesk::UInt32 limit) {
    Adesk::UInt32 count = 0;
    filer->readUInt32(&count);
    require(filer, count <= limit);
    return filer->filerStatus() == Acad::eOk ? count : 0;
}

} // namespace svent
