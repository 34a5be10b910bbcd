#include "db/symboltable.h"

#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "internal.h"

namespace {

bool erasedId(const AcDbObjectId& id) {
    AcDbObject* obj = svDbResolve(id);
    return obj == nullptr || obj->isErased();
}

// Reads a list of ids that a container files, one by one so a false count ends at the data's end.
Acad::ErrorStatus readIdList(AcDbDwgFiler* filer, std::vector<AcDbObjectId>& ids) {
    Adesk::UInt32 count = 0;
    filer->readUInt32(&count);
    std::vector<AcDbObjectId> read;
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
        AcDbObjectId id;
        filer->readHardOwnershipId(&id);
        if (filer->filerStatus() == Acad::eOk && id.isNull())
            filer->setFilerStatus(Acad::eBadDwgFile);
        read.push_back(id);
    }
    if (filer->filerStatus() == Acad::eOk)
        ids = std::move(read);
    return filer->filerStatus();
}

void writeIdList(AcDbDwgFiler* filer, const std::vector<AcDbObjectId>& ids) {
    filer->writeUInt32(static_cast<Adesk::UInt32>(ids.size()));
    for (const AcDbObjectId& id : ids)
        filer->writeHardOwnershipId(id);
}

} // namespace

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;
AcDbSymbolTableRecord::~AcDbSymbolTableRecord() = default;

Acad::ErrorStatus AcDbSymbolTableRecord::getName(wchar_t*& name) const {
    assertReadEnabled();
    name = acutNewString(m_name.c_str());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const wchar_t*& name) const {
    assertReadEnabled();
    name = m_name.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const wchar_t* name) {
    if (name == nullptr || *name == L'\0')
        return Acad::eInvalidInput;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    // A second record of the same name in the table would hide one of them.
    if (AcDbObject* table = svDbResolve(ownerId())) {
        if (auto* symbols = AcDbSymbolTable::cast(table)) {
            SvDbFilingScope reading(symbols);
            AcDbObjectId other;
            if (symbols->getAt(name, other, true) == Acad::eOk && other != objectId())
                return Acad::eDuplicateRecordName;
        }
    }
    assertWriteEnabled();
    m_name = name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeString(m_name.c_str());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    wchar_t* name = nullptr;
    filer->readString(&name);
    if (filer->filerStatus() == Acad::eOk)
        m_name = name;
    acutDelBuffer(name);
    return filer->filerStatus();
}

// ---------------------------------------------------------------------------------------------

AcDbSymbolTableIterator::AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool atBeginning,
                                                 bool skipDeleted)
    : m_cursor(std::move(ids)) {
    start(atBeginning, skipDeleted);
}

AcDbSymbolTableIterator::~AcDbSymbolTableIterator() = default;

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
    m_cursor.start(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
    m_cursor.step(forward, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const {
    return m_cursor.done();
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
    if (done())
        return Acad::eInvalidIndex;
    id = m_cursor.current();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record,
                                                     AcDb::OpenMode mode,
                                                     bool openErasedRecord) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getRecordId(id);
    return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id) {
    return m_cursor.seek(id) ? Acad::eOk : Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& record,
                                                    AcDb::OpenMode mode,
                                                    bool openErasedRecord) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getRecordId(id);
    return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErasedRecord);
}

// ---------------------------------------------------------------------------------------------

AcDbBlockTableRecord::AcDbBlockTableRecord() = default;
AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    id.setNull();
    if (entity == nullptr)
        return Acad::eNullEntityPointer;
    if (!entity->objectId().isNull())
        return Acad::eAlreadyInDb;
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    return svDbAddOwned(this, db, id, entity, m_entities);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator,
                                                    bool atBeginning, bool skipDeleted) const {
    assertReadEnabled();
    iterator = new AcDbBlockTableRecordIterator(m_entities, atBeginning, skipDeleted);
    return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
    assertReadEnabled();
    return m_layout;
}

Acad::ErrorStatus AcDbBlockTableRecord::setIsLayout(bool layout) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    assertWriteEnabled();
    m_layout = layout;
    return Acad::eOk;
}

bool AcDbBlockTableRecord::isAnonymous() const {
    const wchar_t* name = nullptr;
    getName(name);
    return name[0] == L'*' && !m_layout;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
    assertReadEnabled();
    for (const AcDbObjectId& id : m_entities) {
        AcDbObject* obj = svDbResolve(id);
        if (obj != nullptr && !obj->isErased() && AcDbAttributeDefinition::cast(obj) != nullptr)
            return true;
    }
    return false;
}

// References are found by looking at every object: a drawing keeps no list of them that could
// go stale.
Acad::ErrorStatus AcDbBlockTableRecord::getBlockReferenceIds(AcDbObjectIdArray& ids, bool,
                                                             bool) const {
    assertReadEnabled();
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    const AcDbObjectId self = objectId();
    for (const SvDbSlot& slot : SvDbAccess::impl(db).slots) {
        auto* reference = AcDbBlockReference::cast(slot.object);
        if (reference == nullptr || reference->isErased())
            continue;
        SvDbFilingScope reading(reference);
        if (reference->blockTableRecord() == self)
            ids.append(reference->objectId());
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeBoolean(m_layout);
    writeIdList(filer, m_entities);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    bool layout = false;
    filer->readBoolean(&layout);
    if (readIdList(filer, m_entities) == Acad::eOk)
        m_layout = layout;
    return filer->filerStatus();
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids,
                                                           bool atBeginning, bool skipDeleted)
    : m_cursor(std::move(ids)) {
    start(atBeginning, skipDeleted);
}

AcDbBlockTableRecordIterator::~AcDbBlockTableRecordIterator() = default;

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
    m_cursor.start(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
    m_cursor.step(forward, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const {
    return m_cursor.done();
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
    if (done())
        return Acad::eInvalidIndex;
    id = m_cursor.current();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErasedEntity) const {
    entity = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getEntityId(id);
    return es != Acad::eOk ? es : acdbOpenAcDbEntity(entity, id, mode, openErasedEntity);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
    return m_cursor.seek(id) ? Acad::eOk : Acad::eKeyNotFound;
}

// ---------------------------------------------------------------------------------------------

AcDbSymbolTable::AcDbSymbolTable() = default;
AcDbSymbolTable::~AcDbSymbolTable() = default;

const AcRxClass* AcDbSymbolTable::recordClass() const {
    return AcDbSymbolTableRecord::desc();
}

// Records are few; they are compared by their own names, so a renamed record is found by its
// new name.
Acad::ErrorStatus AcDbSymbolTable::getAt(const wchar_t* name, AcDbObjectId& id,
                                         bool getErasedRecord) const {
    assertReadEnabled();
    id.setNull();
    if (name == nullptr)
        return Acad::eInvalidInput;
    const std::wstring wanted = svDbFold(name);
    for (const AcDbObjectId& recordId : m_records) {
        auto* record = AcDbSymbolTableRecord::cast(svDbResolve(recordId));
        if (record == nullptr || (record->isErased() && !getErasedRecord))
            continue;
        const wchar_t* recordName = nullptr;
        {
            SvDbFilingScope reading(record);
            record->getName(recordName);
            if (svDbFold(recordName) != wanted)
                continue;
        }
        id = recordId;
        return Acad::eOk;
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const wchar_t* name, AcDbSymbolTableRecord*& record,
                                         AcDb::OpenMode mode, bool openErasedRecord) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
    return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErasedRecord);
}

bool AcDbSymbolTable::has(const wchar_t* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
    assertReadEnabled();
    for (const AcDbObjectId& recordId : m_records) {
        if (recordId == id)
            return !erasedId(id);
    }
    return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    id.setNull();
    if (record == nullptr)
        return Acad::eNullObjectPointer;
    if (!record->objectId().isNull())
        return Acad::eAlreadyInDb;
    if (!record->isKindOf(recordClass()))
        return Acad::eWrongObjectType;
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const wchar_t* name = nullptr;
    record->getName(name);
    if (*name == L'\0')
        return Acad::eInvalidInput;
    if (has(name))
        return Acad::eDuplicateRecordName;
    return svDbAddOwned(this, db, id, record, m_records);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
    AcDbObjectId id;
    return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
    assertReadEnabled();
    iterator = new AcDbBlockTableIterator(m_records, atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    writeIdList(filer, m_records);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTable::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    return readIdList(filer, m_records);
}

AcDbBlockTable::AcDbBlockTable() = default;
AcDbBlockTable::~AcDbBlockTable() = default;

const AcRxClass* AcDbBlockTable::recordClass() const {
    return AcDbBlockTableRecord::desc();
}

Acad::ErrorStatus AcDbBlockTable::getAt(const wchar_t* name, AcDbBlockTableRecord*& record,
                                        AcDb::OpenMode mode, bool openErasedRecord) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
    return es != Acad::eOk ? es : acdbOpenObject(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning,
                                              bool skipDeleted) const {
    assertReadEnabled();
    iterator = new AcDbBlockTableIterator(m_records, atBeginning, skipDeleted);
    return Acad::eOk;
}
