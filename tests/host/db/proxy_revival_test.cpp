// Proxies of classes that are registered after their drawing was read become objects of those
// classes again once a module has been loaded.
#include "crt/format.h"
#include "db_test_support.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"

namespace {

class DbProxyRevival : public DbTest {
protected:
    // A drawing in which a link adds to a counter whenever its source changes, saved and gone.
    std::string savedLinkedDrawing() {
        AcDbDatabase source;
        const AcDbObjectId source1 = addRecord(1, &source);
        const AcDbObjectId counter1 = addRecord(10, &source);
        attachLink(source1, counter1);
        sourceHandle = source1.handle();
        counterHandle = counter1.handle();
        const std::string path = tempPath("linked.svd");
        EXPECT_EQ(source.saveAs(svFromUtf8(path).c_str()), Acad::eOk);
        return path;
    }

    // Read while the test classes are not registered, then registered again.
    AcDbDatabase* loadWithoutTheClasses(const std::string& path) {
        deleteAcRxClass(DbTestLink::desc());
        deleteAcRxClass(DbTestRecord::desc());
        loaded = std::make_unique<AcDbDatabase>(false);
        EXPECT_EQ(loaded->readDwgFile(svFromUtf8(path).c_str()), Acad::eOk);
        DbTestRecord::rxInit();
        DbTestLink::rxInit();
        return loaded.get();
    }

    AcDbObjectId idIn(AcDbDatabase* in, const AcDbHandle& handle) {
        AcDbObjectId id;
        in->getAcDbObjectId(id, false, handle);
        return id;
    }

    void loadAModule() {
        ASSERT_TRUE(acrxLoadModule((binDirW() + L"/probe_a.arx").c_str(), false));
        acrxUnloadModule(L"probe_a.arx", false);
    }

    AcDbHandle sourceHandle, counterHandle;
    std::unique_ptr<AcDbDatabase> loaded;
    OutputCapture output;
};

TEST_F(DbProxyRevival, ProxiesBecomeTheirClassAndTheirLinksWorkAgain) {
    AcDbDatabase* drawing = loadWithoutTheClasses(savedLinkedDrawing());
    const AcDbObjectId source = idIn(drawing, sourceHandle), counter = idIn(drawing, counterHandle);
    DbTestRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, source, AcDb::kForRead), Acad::eNotThatKindOfClass);

    loadAModule();
    ASSERT_EQ(acdbOpenObject(record, counter, AcDb::kForRead), Acad::eOk);
    const Adesk::Int32 before = record->value();
    record->close();
    ASSERT_EQ(writeValue(source, 5), Acad::eOk);
    EXPECT_EQ(readValue(counter), before + 1);
    EXPECT_EQ(output.text().find(L"stay proxies"), std::wstring::npos) << output.text();
}

// Records a class cannot read stay proxies, said once in one line; the rest revive.
TEST_F(DbProxyRevival, RecordsThatDoNotReadBackStayProxiesAndAreCounted) {
    DbTestRecord::s_writeVersion = 2;
    const std::string path = savedLinkedDrawing();
    DbTestRecord::s_writeVersion = 1;
    AcDbDatabase* drawing = loadWithoutTheClasses(path);
    loadAModule();
    loadAModule();
    const std::wstring line =
        L"\n2 object(s) stay proxies: their records do not read as their classes.";
    const std::size_t at = output.text().find(line);
    EXPECT_NE(at, std::wstring::npos) << output.text();
    EXPECT_EQ(output.text().find(L"stay proxies", at + line.size()), std::wstring::npos);
    DbTestRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, idIn(drawing, sourceHandle), AcDb::kForRead),
              Acad::eNotThatKindOfClass);
    AcDbObjectIdArray reactors;
    AcDbObject* proxy = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(proxy, idIn(drawing, sourceHandle), AcDb::kForRead), Acad::eOk);
    reactors = proxy->persistentReactors();
    proxy->close();
    ASSERT_EQ(reactors.length(), 1);
    DbTestLink* link = nullptr;
    ASSERT_EQ(acdbOpenObject(link, reactors[0], AcDb::kForRead), Acad::eOk);
    link->close();
}

} // namespace
