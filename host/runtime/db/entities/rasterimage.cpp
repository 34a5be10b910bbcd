#include "db/rasterimage.h"

#include <cmath>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/worlddraw.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

// Edges that span a parallelogram: finite, non-zero and not parallel.
bool validEdges(const AcGeVector3d& u, const AcGeVector3d& v) {
    if (!svent::isFinite(u) || !svent::isFinite(v))
        return false;
    const double lu = u.length();
    const double lv = v.length();
    return lu > 0.0 && lv > 0.0 && std::isfinite(lu * lv) &&
           u.crossProduct(v).length() > 1e-12 * lu * lv;
}

} // namespace

AcDbRasterImage::AcDbRasterImage() = default;
AcDbRasterImage::~AcDbRasterImage() = default;

void AcDbRasterImage::getOrientation(AcGePoint3d& origin, AcGeVector3d& u, AcGeVector3d& v) const {
    assertReadEnabled();
    origin = m_origin;
    u = m_u;
    v = m_v;
}

Adesk::Boolean AcDbRasterImage::setOrientation(const AcGePoint3d& origin, const AcGeVector3d& u,
                                               const AcGeVector3d& v) {
    if (!svent::isFinite(origin) || !validEdges(u, v))
        return false;
    assertWriteEnabled();
    m_origin = origin;
    m_u = u;
    m_v = v;
    return true;
}

wchar_t* AcDbRasterImage::imageFileName() const {
    assertReadEnabled();
    return acutNewString(m_fileName.c_str());
}

Acad::ErrorStatus AcDbRasterImage::setImageFileName(const wchar_t* fileName) {
    if (fileName == nullptr)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_fileName = fileName;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRasterImage::getImageSize(int& width, int& height) const {
    assertReadEnabled();
    width = m_pixelWidth;
    height = m_pixelHeight;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRasterImage::setImageSize(int width, int height) {
    if (width < 0 || height < 0)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_pixelWidth = width;
    m_pixelHeight = height;
    return Acad::eOk;
}

// The frame crossed out: the picture itself is not loaded.
void AcDbRasterImage::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiGeometry& geometry = mode->geometry();
    mode->subEntityTraits().setFillType(kAcGiFillBackground);
    geometry.polyline({m_origin, m_origin + m_u, m_origin + m_u + m_v, m_origin + m_v}, true);
    geometry.line(m_origin, m_origin + m_u + m_v);
    geometry.line(m_origin + m_u, m_origin + m_v);
}

// A parallelogram stays one under any affine map, so every invertible transformation applies.
Acad::ErrorStatus AcDbRasterImage::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    const AcGeVector3d u = xform * m_u;
    const AcGeVector3d v = xform * m_v;
    if (!validEdges(u, v))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    m_origin = xform * m_origin;
    m_u = u;
    m_v = v;
    return Acad::eOk;
}

void AcDbRasterImage::list() const {
    AcDbEntity::list();
    svent::listQuoted(L"image file:", m_fileName.c_str());
    svent::listPoint(L"origin:", m_origin);
    svent::listVector(L"U vector:", m_u);
    svent::listVector(L"V vector:", m_v);
    if (m_pixelWidth > 0 && m_pixelHeight > 0)
        svent::listLine(L"size in pixels:",
                        std::to_wstring(m_pixelWidth) + L" x " + std::to_wstring(m_pixelHeight));
}

Acad::ErrorStatus AcDbRasterImage::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_fileName.c_str());
    svent::writePoint(filer, m_origin);
    svent::writeVector(filer, m_u);
    svent::writeVector(filer, m_v);
    filer->writeInt32(m_pixelWidth);
    filer->writeInt32(m_pixelHeight);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbRasterImage::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring fileName = svent::readText(filer);
    const AcGePoint3d origin = svent::readPoint3d(filer);
    const AcGeVector3d u = svent::readVector(filer);
    const AcGeVector3d v = svent::readVector(filer);
    Adesk::Int32 width = 0;
    Adesk::Int32 height = 0;
    filer->readInt32(&width);
    filer->readInt32(&height);
    if (svent::require(filer, validEdges(u, v) && width >= 0 && height >= 0) != Acad::eOk)
        return filer->filerStatus();
    m_fileName = std::move(fileName);
    m_origin = origin;
    m_u = u;
    m_v = v;
    m_pixelWidth = width;
    m_pixelHeight = height;
    return Acad::eOk;
}
