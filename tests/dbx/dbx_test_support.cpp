#include "dbx_test_support.h"

namespace {

void throwOnAbort(const wchar_t* message) {
    const std::wstring text(message);
    throw DbxAbortSeen(std::string(text.begin(), text.end()));
}

} // namespace

void DbxTest::SetUp() {
    acrxSetAbortHandler(&throwOnAbort);
    ASSERT_TRUE(acrxLoadModule((binDirW() + L"/sentavell17.dbx").c_str(), false));
    db = new AcDbDatabase;
    acdbHostApplicationServices()->setWorkingDatabase(db);
}

void DbxTest::TearDown() {
    delete db;
    acrxSetAbortHandler(nullptr);
}

AcDbObjectId DbxTest::append(AcDbEntity* entity) {
    AcDbBlockTableRecord* space = nullptr;
    AcDbObjectId id;
    EXPECT_EQ(acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    if (space == nullptr) {
        delete entity;
        return id;
    }
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    space->close();
    return id;
}

AcDbObjectId DbxTest::addBlock(const wchar_t* name) {
    AcDbBlockTable* table = nullptr;
    AcDbObjectId id;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    if (table == nullptr)
        return id;
    auto* record = new AcDbBlockTableRecord;
    record->setName(name);
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
    return id;
}
