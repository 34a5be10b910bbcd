#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "db/database.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"

namespace {

// Enough sources to run every link of a small drawing, few enough to keep each input quick.
constexpr int kMaxTouched = 64;

// Closing a source as modified is what runs its links.
void touchEntities(AcDbDatabase& db) {
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk)
        return;
    AcDbObjectIdArray ids;
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    for (; !it->done() && ids.length() < kMaxTouched; it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        ids.append(id);
    }
    delete it;
    space->close();
    for (int i = 0; i < ids.length(); ++i) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForWrite) != Acad::eOk)
            continue;
        entity->recordGraphicsModified();
        entity->close();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!acrxLoadModule((binDirW() + L"/sentavell17.dbx").c_str(), false))
        std::abort();
    return 0;
}

// Whatever the bytes, loading ends in a drawing or an error, and the links of a drawing that
// loads update their labels without trouble.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AcDbDatabase db(false);
    if (db.readDwgData(data, size) == Acad::eOk)
        touchEntities(db);
    return 0;
}
