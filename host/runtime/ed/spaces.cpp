#include "ed/spaces.h"

#include "db/blockref.h"
#include "db/database.h"
#include "db/symboltable.h"
#include "db/viewport.h"
#include "rx/builtin_classes.h"
#include "win/host_exports_table.h"

namespace {

Adesk::Int16 shortVar(AcDbDatabase* db, const wchar_t* name) {
    AcDbSysVar value;
    return db->getSysVar(name, value) == Acad::eOk ? static_cast<Adesk::Int16>(value.intValue) : 0;
}

// The first viewport of the paper-space layout that is on and passes the test, or null.
template <class Test>
AcDbObjectId findViewport(AcDbDatabase* db, Test test) {
    AcDbBlockTableRecord* paper = nullptr;
    if (acdbOpenObject(paper, db->paperSpaceId(), AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectId found;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (paper->newIterator(it) == Acad::eOk) {
        for (; found.isNull() && !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
                continue;
            if (const AcDbViewport* viewport = AcDbViewport::cast(entity))
                if (viewport->number() > 0 && test(*viewport))
                    found = viewport->objectId();
            entity->close();
        }
        delete it;
    }
    paper->close();
    return found;
}

int numberOf(AcDbObjectId viewportId) {
    AcDbViewport* viewport = nullptr;
    if (acdbOpenObject(viewport, viewportId, AcDb::kForRead) != Acad::eOk)
        return 0;
    const int number = viewport->number();
    viewport->close();
    return number;
}

void defineCvport() {
    svDbDefineSysVar(L"CVPORT", AcDbSysVar::int16(1), 1, 32767);
    svDbDefineSysVar(L"PICKBOX", AcDbSysVar::int16(3), 0, 50);
}

const SvBuiltinClasses variables(&defineCvport);

const SvHostExport exportMspace("?acedMspace@@YA?AW4ErrorStatus@Acad@@PAVAcDbDatabase@@@Z",
                                reinterpret_cast<FARPROC>(&acedMspace));
const SvHostExport exportPspace("?acedPspace@@YA?AW4ErrorStatus@Acad@@PAVAcDbDatabase@@@Z",
                                reinterpret_cast<FARPROC>(&acedPspace));

} // namespace

Acad::ErrorStatus acedMspace(AcDbDatabase* database) {
    if (database == nullptr)
        return Acad::eNoDatabase;
    if (database->tilemode())
        return Acad::eNotApplicable;
    if (shortVar(database, L"CVPORT") > 1)
        return Acad::eOk;
    const int number = numberOf(findViewport(database, [](const AcDbViewport&) { return true; }));
    if (number <= 0)
        return Acad::eNotApplicable;
    return database->setSysVar(L"CVPORT", AcDbSysVar::int16(static_cast<Adesk::Int16>(number + 1)));
}

Acad::ErrorStatus acedPspace(AcDbDatabase* database) {
    if (database == nullptr)
        return Acad::eNoDatabase;
    if (database->tilemode())
        return Acad::eNotApplicable;
    return database->setSysVar(L"CVPORT", AcDbSysVar::int16(1));
}

Acad::ErrorStatus acedSetCurrentVPort(const AcDbViewport* viewport) {
    if (viewport == nullptr)
        return Acad::eNullObjectPointer;
    AcDbDatabase* db = viewport->database();
    if (db == nullptr || viewport->number() <= 0)
        return Acad::eInvalidInput;
    if (db->tilemode())
        return Acad::eNotApplicable;
    // Paper itself is CVPORT 1, so viewports count from 2.
    return db->setSysVar(L"CVPORT",
                         AcDbSysVar::int16(static_cast<Adesk::Int16>(viewport->number() + 1)));
}

AcDbObjectId svPickSpaceId(AcDbDatabase* database) {
    if (database == nullptr)
        return AcDbObjectId::kNull;
    if (database->tilemode() || shortVar(database, L"CVPORT") > 1)
        return database->modelSpaceId();
    return database->paperSpaceId();
}

AcDbObjectId svCurrentViewportId(AcDbDatabase* database) {
    if (database == nullptr || database->tilemode())
        return AcDbObjectId::kNull;
    const int current = shortVar(database, L"CVPORT");
    if (current <= 1)
        return AcDbObjectId::kNull;
    return findViewport(database,
                        [current](const AcDbViewport& v) { return v.number() + 1 == current; });
}
