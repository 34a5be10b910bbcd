#include "db/viewport.h"

#include <cmath>

#include "../internal.h"
#include "common.h"
#include "db/symboltable.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

bool validSize(double size) {
    return std::isfinite(size) && size > 0.0;
}

} // namespace

AcDbViewport::AcDbViewport() = default;
AcDbViewport::~AcDbViewport() = default;

AcGePoint3d AcDbViewport::centerPoint() const {
    assertReadEnabled();
    return m_center;
}

Acad::ErrorStatus AcDbViewport::setCenterPoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = point;
    return Acad::eOk;
}

double AcDbViewport::width() const {
    assertReadEnabled();
    return m_width;
}

Acad::ErrorStatus AcDbViewport::setWidth(double width) {
    if (!validSize(width))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_width = width;
    return Acad::eOk;
}

double AcDbViewport::height() const {
    assertReadEnabled();
    return m_height;
}

Acad::ErrorStatus AcDbViewport::setHeight(double height) {
    if (!validSize(height))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_height = height;
    return Acad::eOk;
}

AcGePoint2d AcDbViewport::viewCenter() const {
    assertReadEnabled();
    return m_viewCenter;
}

Acad::ErrorStatus AcDbViewport::setViewCenter(const AcGePoint2d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_viewCenter = point;
    return Acad::eOk;
}

double AcDbViewport::viewHeight() const {
    assertReadEnabled();
    return m_viewHeight;
}

Acad::ErrorStatus AcDbViewport::setViewHeight(double height) {
    if (!validSize(height))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_viewHeight = height;
    return Acad::eOk;
}

AcGePoint3d AcDbViewport::viewTarget() const {
    assertReadEnabled();
    return m_viewTarget;
}

Acad::ErrorStatus AcDbViewport::setViewTarget(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_viewTarget = point;
    return Acad::eOk;
}

AcGeVector3d AcDbViewport::viewDirection() const {
    assertReadEnabled();
    return m_viewDirection;
}

Acad::ErrorStatus AcDbViewport::setViewDirection(const AcGeVector3d& direction) {
    AcGeVector3d unit;
    if (!svent::unitVector(direction, unit))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_viewDirection = unit;
    return Acad::eOk;
}

double AcDbViewport::twistAngle() const {
    assertReadEnabled();
    return m_twist;
}

Acad::ErrorStatus AcDbViewport::setTwistAngle(double angle) {
    if (!std::isfinite(angle))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_twist = ge::normalizeAngle(angle);
    return Acad::eOk;
}

double AcDbViewport::customScale() const {
    assertReadEnabled();
    return m_height / m_viewHeight;
}

bool AcDbViewport::isOn() const {
    assertReadEnabled();
    return m_on;
}

Acad::ErrorStatus AcDbViewport::setOn() {
    assertWriteEnabled();
    m_on = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::setOff() {
    assertWriteEnabled();
    m_on = false;
    return Acad::eOk;
}

int AcDbViewport::number() const {
    assertReadEnabled();
    if (!m_on || isErased())
        return -1;
    auto* layout = AcDbBlockTableRecord::cast(svDbResolve(ownerId()));
    if (layout == nullptr)
        return -1;
    SvDbFilingScope reading(layout);
    if (!layout->isLayout())
        return -1;
    int count = 0;
    AcDbBlockTableRecordIterator* it = nullptr;
    layout->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        if (id == objectId()) {
            delete it;
            return count + 1;
        }
        auto* other = AcDbViewport::cast(svDbResolve(id));
        if (other == nullptr)
            continue;
        SvDbFilingScope peek(other);
        if (other->isOn())
            ++count;
    }
    delete it;
    return -1;
}

// Model point -> view coordinates (target at the origin, looking down -z, twisted) -> paper.
AcGeMatrix3d AcDbViewport::modelToPaper() const {
    assertReadEnabled();
    const double scale = m_height / m_viewHeight;
    const AcGeMatrix3d toView = AcGeMatrix3d::rotation(-m_twist, AcGeVector3d::kZAxis) *
                                AcGeMatrix3d::worldToPlane(m_viewDirection) *
                                AcGeMatrix3d::translation(-m_viewTarget.asVector());
    AcGeMatrix3d flatten; // the view's depth does not show on paper
    flatten(2, 2) = 0.0;
    return AcGeMatrix3d::translation(m_center.asVector()) * AcGeMatrix3d::scaling(scale) *
           AcGeMatrix3d::translation(AcGeVector3d(-m_viewCenter.x, -m_viewCenter.y, 0.0)) *
           flatten * toView;
}

AcGeMatrix3d AcDbViewport::paperToModel() const {
    assertReadEnabled();
    const double scale = m_height / m_viewHeight;
    const AcGeMatrix3d fromView = AcGeMatrix3d::translation(m_viewTarget.asVector()) *
                                  AcGeMatrix3d::planeToWorld(m_viewDirection) *
                                  AcGeMatrix3d::rotation(m_twist, AcGeVector3d::kZAxis);
    AcGeMatrix3d flatten; // paper has no depth: points land on the view's plane
    flatten(2, 2) = 0.0;
    return fromView * flatten *
           AcGeMatrix3d::translation(AcGeVector3d(m_viewCenter.x, m_viewCenter.y, 0.0)) *
           AcGeMatrix3d::scaling(1.0 / scale) * AcGeMatrix3d::translation(-m_center.asVector());
}

bool AcDbViewport::containsPaperPoint(const AcGePoint3d& point) const {
    assertReadEnabled();
    return std::fabs(point.x - m_center.x) <= m_width / 2.0 &&
           std::fabs(point.y - m_center.y) <= m_height / 2.0;
}

void AcDbViewport::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    const double w = m_width / 2.0, h = m_height / 2.0;
    mode->geometry().polyline({m_center + AcGeVector3d(-w, -h, 0),
                               m_center + AcGeVector3d(w, -h, 0), m_center + AcGeVector3d(w, h, 0),
                               m_center + AcGeVector3d(-w, h, 0)},
                              true);
    if (m_on && m_viewHeight > 0.0)
        mode->geometry().viewportContents(*this);
}

Acad::ErrorStatus AcDbViewport::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    // The rectangle stays upright on its sheet: only a move and a positive uniform scale.
    const double k = xform.scale();
    for (unsigned r = 0; r < 3; ++r) {
        for (unsigned c = 0; c < 3; ++c) {
            if (std::fabs(xform(r, c) - (r == c ? k : 0.0)) > 1e-12 * k)
                return Acad::eNotApplicable;
        }
    }
    assertWriteEnabled();
    m_center = xform * m_center;
    m_width *= k;
    m_height *= k;
    return Acad::eOk;
}

void AcDbViewport::list() const {
    AcDbEntity::list();
    svent::listLine(L"status:", m_on ? L"On" : L"Off");
    svent::listPoint(L"center point:", m_center);
    svent::listNumber(L"width:", m_width);
    svent::listNumber(L"height:", m_height);
    svent::listPoint(L"view center:", AcGePoint3d(m_viewCenter.x, m_viewCenter.y, 0.0));
    svent::listNumber(L"view height:", m_viewHeight);
    svent::listPoint(L"view target:", m_viewTarget);
    svent::listVector(L"view direction:", m_viewDirection);
    if (m_twist != 0.0)
        svent::listAngle(L"twist angle:", m_twist);
    svent::listNumber(L"scale:", m_height / m_viewHeight);
}

Acad::ErrorStatus AcDbViewport::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_center);
    filer->writeDouble(m_width);
    filer->writeDouble(m_height);
    svent::writePoint(filer, m_viewCenter);
    filer->writeDouble(m_viewHeight);
    svent::writePoint(filer, m_viewTarget);
    svent::writeVector(filer, m_viewDirection);
    filer->writeDouble(m_twist);
    filer->writeBoolean(m_on);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbViewport::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d center = svent::readPoint3d(filer);
    const double width = svent::readReal(filer);
    const double height = svent::readReal(filer);
    const AcGePoint2d viewCenter = svent::readPoint2d(filer);
    const double viewHeight = svent::readReal(filer);
    const AcGePoint3d viewTarget = svent::readPoint3d(filer);
    const AcGeVector3d viewDirection = svent::readNormal(filer);
    const double twist = svent::readReal(filer);
    Adesk::Boolean on = true;
    filer->readBoolean(&on);
    if (svent::require(filer, validSize(width) && validSize(height) && validSize(viewHeight)) !=
        Acad::eOk)
        return filer->filerStatus();
    m_center = center;
    m_width = width;
    m_height = height;
    m_viewCenter = viewCenter;
    m_viewHeight = viewHeight;
    m_viewTarget = viewTarget;
    m_viewDirection = viewDirection;
    m_twist = ge::normalizeAngle(twist);
    m_on = on;
    return Acad::eOk;
}
