#include "entity_test_support.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

#include "crt/format.h"
#include "rx/abort.h"
#include "rx/dictionary.h"

namespace {

void throwOnAbort(const wchar_t* message) {
    throw EntAbortSeen(svToUtf8(message));
}

} // namespace

void EntityTest::SetUp() {
    acrxSetAbortHandler(&throwOnAbort);
    acrxClassDictionary(); // builds the registry with every host class
    db = new AcDbDatabase;
}

void EntityTest::TearDown() {
    delete db;
    for (const std::string& file : m_files)
        ::unlink(file.c_str());
    acrxSetAbortHandler(nullptr);
}

AcDbObjectId EntityTest::add(AcDbEntity* entity, AcDbObjectId space) {
    if (space.isNull())
        space = db->modelSpaceId();
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, space, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    record->close();
    return id;
}

AcDbObjectId EntityTest::addBlock(const wchar_t* name) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbBlockTableRecord;
    record->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
    return id;
}

std::string EntityTest::tempPath(const char* name) {
    std::string path = ::testing::TempDir() + "sv_ent_" + std::to_string(::getpid()) + "_" + name;
    m_files.push_back(path);
    return path;
}

std::vector<unsigned char> EntityTest::saveBytes(AcDbDatabase* what) {
    const std::string path = tempPath("drawing.svd");
    EXPECT_EQ(what->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<AcDbDatabase> EntityTest::saveAndLoad(AcDbDatabase* what) {
    const std::vector<unsigned char> bytes = saveBytes(what);
    auto loaded = std::make_unique<AcDbDatabase>(false);
    EXPECT_EQ(loaded->readDwgData(bytes.data(), bytes.size()), Acad::eOk);
    return loaded;
}

Acad::ErrorStatus EntityTest::loadBytes(const std::vector<unsigned char>& bytes) {
    AcDbDatabase fresh(false);
    return fresh.readDwgData(bytes.data(), bytes.size());
}

AcDbObjectId EntityTest::sameIn(AcDbDatabase* loaded, const AcDbObjectId& original) {
    AcDbObjectId id;
    loaded->getAcDbObjectId(id, false, original.handle());
    return id;
}

std::wstring taken(wchar_t* hostString) {
    std::wstring copy = hostString != nullptr ? hostString : L"(null)";
    acutDelBuffer(hostString);
    return copy;
}
