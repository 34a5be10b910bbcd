#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "crt/format.h"
#include "db/proxy.h"
#include "db_test_support.h"

namespace {

AcDbObjectId idOf(AcDbDatabase* db, const AcDbObjectId& original) {
    AcDbObjectId id;
    db->getAcDbObjectId(id, false, original.handle());
    return id;
}

// Another class whose records a later load may not know.
class DbTestGhost : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(DbTestGhost);

public:
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override {
        AcDbObject::dwgOutFields(filer);
        filer->writeString(L"ghost data");
        filer->writeInt32(1234);
        return filer->filerStatus();
    }
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override {
        AcDbObject::dwgInFields(filer);
        wchar_t* text = nullptr;
        filer->readString(&text);
        acutDelBuffer(text);
        Adesk::Int32 number = 0;
        return filer->readInt32(&number);
    }
};

} // namespace

SV_RX_DEFINE_SHORT_MEMBERS(DbTestGhost, AcDbObject, 0)

class DbDrawingFile : public DbTest {
protected:
    std::string save(AcDbDatabase* what, const char* name) {
        const std::string path = tempPath(name);
        EXPECT_EQ(what->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
        return path;
    }
    AcDbDatabase* load(const std::string& path, Acad::ErrorStatus expected = Acad::eOk) {
        auto* loaded = new AcDbDatabase(false);
        EXPECT_EQ(loaded->readDwgFile(svFromUtf8(path).c_str()), expected);
        m_loaded.emplace_back(loaded);
        return loaded;
    }
    Acad::ErrorStatus loadBytes(const std::vector<unsigned char>& bytes, std::size_t size) {
        AcDbDatabase fresh(false);
        const Acad::ErrorStatus es = fresh.readDwgData(bytes.data(), size);
        if (es != Acad::eOk) {
            EXPECT_TRUE(fresh.blockTableId().isNull());
        }
        return es;
    }
    std::vector<std::unique_ptr<AcDbDatabase>> m_loaded;
};

TEST_F(DbDrawingFile, SaveThenLoadKeepsObjectsFieldsOwnersPointersAndReactors) {
    const AcDbObjectId counter = addRecord(5);
    const AcDbObjectId source = addRecord(6);
    const AcDbObjectId link = attachLink(source, counter);
    const AcDbObjectId entity = addEntity(db->modelSpaceId(), 3);
    const AcDbObjectId paperEntity = addEntity(db->paperSpaceId(), 0);
    const AcDbObjectId gone = addRecord(9);
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, source, AcDb::kForWrite), Acad::eOk);
    record->setText(L"Länge \U0001F4CF");
    record->setTarget(counter);
    record->setLabel(entity);
    record->close();
    ASSERT_EQ(acdbOpenObject(record, gone, AcDb::kForWrite), Acad::eOk);
    record->erase();
    record->close();
    ASSERT_EQ(db->setLunits(4), Acad::eOk);
    ASSERT_EQ(db->setSysVar(L"SVCUSTOM", AcDbSysVar::string(L"kept")), Acad::eOk);

    AcDbDatabase* loaded = load(save(db, "roundtrip.svd"));
    EXPECT_EQ(loaded->handseed(), db->handseed());
    EXPECT_EQ(loaded->lunits(), 4);
    AcDbSysVar custom;
    ASSERT_EQ(loaded->getSysVar(L"svcustom", custom), Acad::eOk);
    EXPECT_EQ(custom.stringValue, L"kept");

    const AcDbObjectId source2 = idOf(loaded, source);
    const AcDbObjectId counter2 = idOf(loaded, counter);
    const AcDbObjectId link2 = idOf(loaded, link);
    const AcDbObjectId entity2 = idOf(loaded, entity);
    ASSERT_TRUE(source2.isValid());
    ASSERT_EQ(acdbOpenObject(record, source2, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(record->value(), 6);
    EXPECT_EQ(record->text(), L"Länge \U0001F4CF");
    EXPECT_EQ(record->target(), counter2);
    EXPECT_EQ(record->label(), entity2);
    EXPECT_EQ(record->ownerId(), loaded->namedObjectsDictionaryId());
    ASSERT_EQ(record->persistentReactors().length(), 1);
    EXPECT_EQ(record->persistentReactors()[0], link2);
    const AcDbObjectId xdict = record->extensionDictionary();
    record->close();
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, xdict, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(dict->has(link2));
    EXPECT_EQ(dict->ownerId(), source2);
    dict->close();
    EXPECT_TRUE(idOf(loaded, gone).isErased());

    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(ent, entity2, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ent->colorIndex(), 3);
    EXPECT_EQ(ent->ownerId(), loaded->modelSpaceId());
    ent->close();
    EXPECT_EQ(idOf(loaded, paperEntity).database(), loaded);
    EXPECT_EQ(loaded->paperSpaceId(), idOf(loaded, db->paperSpaceId()));

    // The link still works in the loaded drawing.
    const Adesk::Int32 before = readValue(counter2);
    EXPECT_EQ(before, readValue(counter));
    ASSERT_EQ(writeValue(source2, 1), Acad::eOk);
    EXPECT_EQ(readValue(counter2), before + 1);
}

TEST_F(DbDrawingFile, LoadThenSaveWritesTheSameBytes) {
    attachLink(addRecord(1), addRecord(2));
    addEntity(db->modelSpaceId());
    const std::string first = save(db, "first.svd");
    const std::string second = save(load(first), "second.svd");
    EXPECT_EQ(bytesOf(first), bytesOf(second));
}

TEST_F(DbDrawingFile, UnknownClassesAndNewerRecordsSurviveAsProxies) {
    DbTestGhost::rxInit();
    acrxBuildClassHierarchy();
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* ghost = new DbTestGhost;
    AcDbObjectId ghostId;
    ASSERT_EQ(nod->setAt(L"ghost", ghost, ghostId), Acad::eOk);
    ghost->close();
    nod->close();
    const AcDbObjectId newer = addRecord(77);
    DbTestRecord::s_writeVersion = 2;
    const std::string first = save(db, "proxies.svd");
    DbTestRecord::s_writeVersion = 1;
    deleteAcRxClass(DbTestGhost::desc());
    DbTestGhost::gpDesc = nullptr;

    AcDbDatabase* loaded = load(first);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, idOf(loaded, ghostId), AcDb::kForRead), Acad::eOk);
    auto* proxy = AcDbProxyObject::cast(obj);
    ASSERT_NE(proxy, nullptr);
    EXPECT_STREQ(proxy->originalClassName(), L"DbTestGhost");
    obj->close();
    ASSERT_EQ(acdbOpenAcDbObject(obj, idOf(loaded, newer), AcDb::kForRead), Acad::eOk);
    ASSERT_NE(AcDbProxyObject::cast(obj), nullptr);
    EXPECT_STREQ(AcDbProxyObject::cast(obj)->originalClassName(), L"DbTestRecord");
    EXPECT_EQ(obj->ownerId(), loaded->namedObjectsDictionaryId());
    obj->close();
    EXPECT_EQ(bytesOf(first), bytesOf(save(loaded, "proxies-again.svd")));
}

TEST_F(DbDrawingFile, TruncatedAtAnyByteIsAnErrorWithNothingLoaded) {
    attachLink(addRecord(1), addRecord(2));
    addEntity(db->modelSpaceId());
    const std::vector<unsigned char> bytes = bytesOf(save(db, "whole.svd"));
    ASSERT_GT(bytes.size(), 100u);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        ASSERT_NE(loadBytes(bytes, size), Acad::eOk) << "cut at " << size;
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eOk);
}

TEST_F(DbDrawingFile, DamagedHeadersAndCountsAreRefused) {
    const std::vector<unsigned char> good = bytesOf(save(db, "good.svd"));
    std::vector<unsigned char> bytes = good;
    bytes[1] = 'X';
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eBadDwgHeader);
    bytes = good;
    bytes[8] = 2; // a newer format
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eInvalidDwgVersion);
    // The count of system variables follows signature, version, reserved word and three handles.
    bytes = good;
    for (int i = 0; i < 4; ++i)
        bytes[36 + i] = 0xFF;
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eBadDwgFile);
    bytes = good;
    bytes.push_back(0);
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eBadDwgFile);
    // Every single flipped byte gives a drawing or an error, never a crash.
    for (std::size_t i = 0; i < good.size(); ++i) {
        bytes = good;
        bytes[i] ^= 0x5A;
        loadBytes(bytes, bytes.size());
    }
}

TEST_F(DbDrawingFile, OwnershipCyclesAndDanglingHandlesAreRefused) {
    const AcDbObjectId a = addRecord();
    const AcDbObjectId b = addRecord();
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, a, AcDb::kForWrite), Acad::eOk);
    record->setOwned(b);
    record->close();
    ASSERT_EQ(acdbOpenObject(record, b, AcDb::kForWrite), Acad::eOk);
    record->setOwned(a);
    record->close();
    load(save(db, "cycle.svd"), Acad::eBadDwgFile);

    ASSERT_EQ(acdbOpenObject(record, b, AcDb::kForWrite), Acad::eOk);
    record->setOwned(AcDbObjectId::kNull);
    record->setTarget(a);
    record->close();
    std::vector<unsigned char> bytes = bytesOf(save(db, "dangling.svd"));
    ASSERT_EQ(loadBytes(bytes, bytes.size()), Acad::eOk);
    // Point b's hard pointer at a handle nothing has.
    const Adesk::UInt64 handle = a.handle().value();
    bool patched = false;
    for (std::size_t i = bytes.size() - 9; i-- > 0 && !patched;) {
        Adesk::UInt64 v = 0;
        for (int k = 0; k < 8; ++k)
            v |= Adesk::UInt64{bytes[i + k]} << (8 * k);
        // The target field of b's record is the last id equal to a's handle but one before b's
        // owned id (null).
        if (v == handle && bytes[i + 8] == 0 && i > bytes.size() - 80) {
            bytes[i] = 0xEE;
            bytes[i + 1] = 0xEE;
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_EQ(loadBytes(bytes, bytes.size()), Acad::eBadDwgFile);
}

TEST_F(DbDrawingFile, LoadNeedsAnEmptyDatabaseAndSaveAFolderThatExists) {
    const std::string path = save(db, "plain.svd");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask); // not the temporary file's private mode
    EXPECT_EQ(db->readDwgFile(svFromUtf8(path).c_str()), Acad::eNotApplicable);
    AcDbDatabase empty(false);
    EXPECT_EQ(empty.readDwgFile(L"/nonexistent/sv/none.svd"), Acad::eFileNotFound);
    EXPECT_EQ(db->saveAs(L"/nonexistent/sv/none.svd"), Acad::eFileAccessErr);
    // A failed save leaves the file that was there.
    const std::vector<unsigned char> before = bytesOf(path);
    std::vector<unsigned char> garbage(10, 0x42);
    writeBytes(path + ".bad", garbage);
    m_files.push_back(path + ".bad");
    AcDbDatabase other(false);
    EXPECT_EQ(other.readDwgFile(svFromUtf8(path + ".bad").c_str()), Acad::eBadDwgHeader);
    EXPECT_EQ(bytesOf(path), before);
}
