#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "db/acutbuffer.h"
#include "db/blockref.h"
#include "db/curve.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/extents.h"
#include "db/mtext.h"
#include "db/region.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "ge/matrix3d.h"
#include "rx/print.h"

namespace {

class Discard : public SvOutputSink {
public:
    void write(const wchar_t*) override {}
};

void exercise(AcDbEntity* entity) {
    entity->list();
    AcDbExtents extents;
    entity->getGeomExtents(extents);
    if (auto* curve = AcDbCurve::cast(entity)) {
        double start = 0.0;
        double end = 0.0;
        double dist = 0.0;
        double param = 0.0;
        AcGePoint3d point;
        if (curve->getStartParam(start) == Acad::eOk && curve->getEndParam(end) == Acad::eOk) {
            curve->getDistAtParam(end, dist);
            curve->getParamAtDist(dist / 2.0, param);
            curve->getPointAtParam((start + end) / 2.0, point);
        }
        curve->getArea(dist);
        curve->getClosestPointTo(AcGePoint3d(1, 2, 3), point);
    }
    if (auto* region = AcDbRegion::cast(entity)) {
        double area = 0.0;
        region->getArea(area);
        region->getPerimeter(area);
    }
    if (auto* text = AcDbText::cast(entity)) {
        wchar_t* copy = text->textString();
        acutDelBuffer(copy);
    }
    if (auto* mtext = AcDbMText::cast(entity)) {
        wchar_t* plain = mtext->text();
        acutDelBuffer(plain);
        mtext->actualHeight();
    }
    if (auto* dimension = AcDbDimension::cast(entity)) {
        wchar_t* shown = dimension->formattedText();
        acutDelBuffer(shown);
    }
    if (auto* viewport = AcDbViewport::cast(entity))
        viewport->number();
    if (auto* reference = AcDbBlockReference::cast(entity)) {
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        for (it->start(); !it->done(); it->step())
            it->objectId();
    }
}

} // namespace

// Whatever the bytes, a drawing that loads can be read, listed, measured and transformed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Discard discard;
    svSetOutputSink(&discard);
    AcDbDatabase db(false);
    if (db.readDwgData(data, size) != Acad::eOk)
        return 0;
    AcDbBlockTable* table = nullptr;
    if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk)
        return 0;
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableIterator* records = nullptr;
    table->newIterator(records);
    for (; !records->done(); records->step()) {
        AcDbBlockTableRecord* record = nullptr;
        if (records->getRecord(record, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbBlockTableRecordIterator* it = nullptr;
        record->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            ids.push_back(id);
        }
        delete it;
        AcDbObjectIdArray refs;
        record->getBlockReferenceIds(refs);
        record->hasAttributeDefinitions();
        record->close();
    }
    delete records;
    table->close();
    const AcGeMatrix3d moves[] = {
        AcGeMatrix3d::rotation(0.5, AcGeVector3d(1, 2, 3), AcGePoint3d(4, 5, 6)),
        AcGeMatrix3d::mirroring(AcGePoint3d(1, 0, 0), AcGeVector3d(1, 1, 0)),
        AcGeMatrix3d::scaling(1e-3)};
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) {
            exercise(entity);
            entity->close();
        }
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) == Acad::eOk) {
            for (const AcGeMatrix3d& move : moves)
                entity->transformBy(move);
            exercise(entity);
            entity->close();
        }
    }
    svSetOutputSink(nullptr);
    return 0;
}
