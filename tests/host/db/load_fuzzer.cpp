#include <cstddef>
#include <cstdint>

#include "db/database.h"
#include "db/dictionary.h"
#include "db/symboltable.h"

// Whatever the bytes, loading ends in a drawing or an error; a drawing that loads can be walked
// and counted without trouble.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AcDbDatabase db(false);
    if (db.readDwgData(data, size) != Acad::eOk)
        return 0;
    AcDbBlockTable* table = nullptr;
    if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk)
        return 0;
    AcDbObjectIdArray ids;
    AcDbBlockTableIterator* it = nullptr;
    table->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbBlockTableRecord* record = nullptr;
        if (it->getRecord(record, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbBlockTableRecordIterator* entities = nullptr;
        record->newIterator(entities);
        for (; !entities->done(); entities->step()) {
            AcDbObjectId id;
            entities->getEntityId(id);
            ids.append(id);
        }
        delete entities;
        record->close();
    }
    delete it;
    table->close();
    AcDbDictionary* nod = nullptr;
    if (db.getNamedObjectsDictionary(nod, AcDb::kForRead) == Acad::eOk) {
        AcDbDictionaryIterator* entries = nod->newIterator();
        for (; !entries->done(); entries->next())
            ids.append(entries->objectId());
        delete entries;
        nod->close();
    }
    std::vector<Adesk::UInt32> counts(static_cast<std::size_t>(ids.length()) + 1, 0);
    db.countHardReferences(ids, counts.data());
    return 0;
}
