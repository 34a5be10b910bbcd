#include "db_test_support.h"

#include <unistd.h>

#include "crt/format.h"

SV_RX_DEFINE_FILED_MEMBERS(DbTestRecord, AcDbObject, 27, 1, 0, L"DBTESTRECORD", L"\"Test\"")
SV_RX_DEFINE_FILED_MEMBERS(DbTestLink, AcDbObject, 27, 1, 0, L"DBTESTLINK", L"\"Test\"")

Adesk::Int16 DbTestRecord::s_writeVersion = 1;
std::vector<DbTestLink::Event> DbTestLink::s_events;

Adesk::Int32 DbTestRecord::value() const {
    assertReadEnabled();
    return m_value;
}
Acad::ErrorStatus DbTestRecord::setValue(Adesk::Int32 value) {
    assertWriteEnabled();
    m_value = value;
    return Acad::eOk;
}
std::wstring DbTestRecord::text() const {
    assertReadEnabled();
    return m_text;
}
Acad::ErrorStatus DbTestRecord::setText(const wchar_t* text) {
    assertWriteEnabled();
    m_text = text;
    return Acad::eOk;
}
AcDbObjectId DbTestRecord::target() const {
    assertReadEnabled();
    return m_target;
}
Acad::ErrorStatus DbTestRecord::setTarget(AcDbObjectId id) {
    assertWriteEnabled();
    m_target = id;
    return Acad::eOk;
}
AcDbObjectId DbTestRecord::label() const {
    assertReadEnabled();
    return m_label;
}
Acad::ErrorStatus DbTestRecord::setLabel(AcDbObjectId id) {
    assertWriteEnabled();
    m_label = id;
    return Acad::eOk;
}
AcDbObjectId DbTestRecord::owned() const {
    assertReadEnabled();
    return m_owned;
}
Acad::ErrorStatus DbTestRecord::setOwned(AcDbObjectId id) {
    assertWriteEnabled();
    m_owned = id;
    return Acad::eOk;
}

Acad::ErrorStatus DbTestRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    assertReadEnabled();
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeInt16(s_writeVersion);
    filer->writeInt32(m_value);
    filer->writeString(m_text.c_str());
    filer->writeHardPointerId(m_target);
    filer->writeSoftPointerId(m_label);
    filer->writeHardOwnershipId(m_owned);
    if (s_writeVersion > 1)
        filer->writeDouble(3.5); // what a newer version would add
    return filer->filerStatus();
}

Acad::ErrorStatus DbTestRecord::dwgInFields(AcDbDwgFiler* filer) {
    assertWriteEnabled();
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Adesk::Int16 version = 0;
    filer->readInt16(&version);
    if (version > 1)
        return Acad::eMakeMeProxy;
    wchar_t* text = nullptr;
    filer->readInt32(&m_value);
    filer->readString(&text);
    m_text = text;
    acutDelBuffer(text);
    filer->readHardPointerId(&m_target);
    filer->readSoftPointerId(&m_label);
    filer->readHardOwnershipId(&m_owned);
    return filer->filerStatus();
}

AcDbObjectId DbTestLink::target() const {
    assertReadEnabled();
    return m_target;
}
Acad::ErrorStatus DbTestLink::setTarget(AcDbObjectId id) {
    assertWriteEnabled();
    m_target = id;
    return Acad::eOk;
}

void DbTestLink::modified(const AcDbObject* dbObj) {
    DbTestRecord* record = nullptr;
    const Acad::ErrorStatus es = acdbOpenObject(record, target(), AcDb::kForWrite);
    s_events.push_back({objectId(), dbObj->objectId(), es});
    if (es != Acad::eOk)
        return;
    record->setValue(record->value() + 1);
    record->close();
}

Acad::ErrorStatus DbTestLink::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeInt16(1);
    filer->writeSoftPointerId(m_target);
    return filer->filerStatus();
}

Acad::ErrorStatus DbTestLink::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Adesk::Int16 version = 0;
    filer->readInt16(&version);
    if (version > 1)
        return Acad::eMakeMeProxy;
    filer->readSoftPointerId(&m_target);
    return filer->filerStatus();
}

namespace {
void throwOnAbort(const wchar_t* message) {
    throw DbAbortSeen(svToUtf8(message));
}
} // namespace

void DbTest::SetUp() {
    acrxSetAbortHandler(&throwOnAbort);
    DbTestRecord::rxInit();
    DbTestLink::rxInit();
    acrxBuildClassHierarchy();
    DbTestRecord::s_writeVersion = 1;
    DbTestLink::s_events.clear();
    db = new AcDbDatabase;
}

void DbTest::TearDown() {
    delete db;
    for (const std::string& file : m_files)
        ::unlink(file.c_str());
    acrxSetAbortHandler(nullptr);
}

AcDbObjectId DbTest::addRecord(Adesk::Int32 value, AcDbDatabase* in) {
    AcDbDatabase* target = in != nullptr ? in : db;
    AcDbDictionary* nod = nullptr;
    EXPECT_EQ(target->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* record = new DbTestRecord;
    record->setValue(value);
    AcDbObjectId id;
    EXPECT_EQ(nod->setAt(L"*U", record, id), Acad::eOk);
    record->close();
    nod->close();
    return id;
}

AcDbObjectId DbTest::attachLink(AcDbObjectId source, AcDbObjectId target) {
    AcDbObject* src = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(src, source, AcDb::kForWrite), Acad::eOk);
    if (!src->extensionDictionary().isValid()) {
        EXPECT_EQ(src->createExtensionDictionary(), Acad::eOk);
    }
    AcDbDictionary* xdict = nullptr;
    EXPECT_EQ(acdbOpenObject(xdict, src->extensionDictionary(), AcDb::kForWrite), Acad::eOk);
    auto* link = new DbTestLink;
    link->setTarget(target);
    AcDbObjectId linkId;
    EXPECT_EQ(xdict->setAt(L"*U", link, linkId), Acad::eOk);
    EXPECT_EQ(src->addPersistentReactor(linkId), Acad::eOk);
    link->close();
    xdict->close();
    src->close();
    return linkId;
}

Acad::ErrorStatus DbTest::writeValue(AcDbObjectId id, Adesk::Int32 value) {
    DbTestRecord* record = nullptr;
    const Acad::ErrorStatus es = acdbOpenObject(record, id, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    record->setValue(value);
    record->close();
    return es;
}

Adesk::Int32 DbTest::readValue(AcDbObjectId id) {
    DbTestRecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead, true) != Acad::eOk)
        return -1;
    const Adesk::Int32 value = record->value();
    record->close();
    return value;
}

AcDbObjectId DbTest::addEntity(AcDbObjectId space, Adesk::UInt16 color) {
    auto* entity = new AcDbEntity;
    entity->setColorIndex(color);
    return append(space, entity);
}

AcDbObjectId DbTest::append(AcDbObjectId space, AcDbEntity* entity) {
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, space, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    record->close();
    return id;
}

std::vector<AcDbObjectId> DbTest::entitiesOf(AcDbObjectId space) {
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, space, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        ids.push_back(id);
    }
    delete it;
    record->close();
    return ids;
}

bool DbTest::spaceIsEmpty(AcDbObjectId space) {
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, space, AcDb::kForRead) != Acad::eOk)
        return false;
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    const bool empty = it->done();
    delete it;
    record->close();
    return empty;
}

std::string DbTest::tempPath(const char* name) {
    std::string path = ::testing::TempDir() + "sv_db_" + std::to_string(::getpid()) + "_" + name;
    m_files.push_back(path);
    return path;
}
