#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/curve.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/fcf.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"
#include "db/viewport.h"
#include "rx/builtin_classes.h"

#define SV_DEFINE_ENTITY(CLASS, PARENT, DXF)                                                       \
    SV_RX_DEFINE_MEMBERS(CLASS, newAcRxClass(SV_RX_WIDE(CLASS), SV_RX_WIDE(PARENT), 0, 0, 0,       \
                                             &acrxPseudoConstruct<CLASS>, DXF, nullptr))

SV_DEFINE_ENTITY(AcDbCurve, AcDbEntity, L"CURVE")
SV_DEFINE_ENTITY(AcDbLine, AcDbCurve, L"LINE")
SV_DEFINE_ENTITY(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")
SV_DEFINE_ENTITY(AcDbCircle, AcDbCurve, L"CIRCLE")
SV_DEFINE_ENTITY(AcDbArc, AcDbCurve, L"ARC")
SV_DEFINE_ENTITY(AcDbEllipse, AcDbCurve, L"ELLIPSE")
SV_DEFINE_ENTITY(AcDbLeader, AcDbCurve, L"LEADER")
SV_DEFINE_ENTITY(AcDbRegion, AcDbEntity, L"REGION")
SV_DEFINE_ENTITY(AcDbText, AcDbEntity, L"TEXT")
SV_DEFINE_ENTITY(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
SV_DEFINE_ENTITY(AcDbAttribute, AcDbText, L"ATTRIB")
SV_DEFINE_ENTITY(AcDbMText, AcDbEntity, L"MTEXT")
SV_DEFINE_ENTITY(AcDbBlockReference, AcDbEntity, L"INSERT")
SV_DEFINE_ENTITY(AcDbDimension, AcDbEntity, L"DIMENSION")
SV_DEFINE_ENTITY(AcDbRotatedDimension, AcDbDimension, L"DIMENSION")
SV_DEFINE_ENTITY(AcDbAlignedDimension, AcDbDimension, L"DIMENSION")
SV_DEFINE_ENTITY(AcDbFcf, AcDbEntity, L"TOLERANCE")
SV_DEFINE_ENTITY(AcDbRasterImage, AcDbEntity, L"IMAGE")
SV_DEFINE_ENTITY(AcDbViewport, AcDbEntity, L"VIEWPORT")

namespace {

void registerEntityClasses() {
    AcDbCurve::rxInit();
    AcDbLine::rxInit();
    AcDbPolyline::rxInit();
    AcDbCircle::rxInit();
    AcDbArc::rxInit();
    AcDbEllipse::rxInit();
    AcDbLeader::rxInit();
    AcDbRegion::rxInit();
    AcDbText::rxInit();
    AcDbAttributeDefinition::rxInit();
    AcDbAttribute::rxInit();
    AcDbMText::rxInit();
    AcDbBlockReference::rxInit();
    AcDbDimension::rxInit();
    AcDbRotatedDimension::rxInit();
    AcDbAlignedDimension::rxInit();
    AcDbFcf::rxInit();
    AcDbRasterImage::rxInit();
    AcDbViewport::rxInit();
}

const SvBuiltinClasses registrar(&registerEntityClasses);

} // namespace
