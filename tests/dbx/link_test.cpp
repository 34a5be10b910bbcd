// The link: live update of a separate label, queueing of self-links, filing of its two ids.
#include <memory>
#include <string>
#include <vector>

#include "AcPropertyLinkStyleMgrInterface.h"
#include "db/proxy.h"
#include "dbx_test_support.h"
#include "link_fixture.h"

namespace {

using namespace linktest;

class Link : public DbxTest {
protected:
    void SetUp() override {
        DbxTest::SetUp();
        areaStyle = addStyle(db, L"Area", newStyle(new AcAreaReader, new AcTextModifier));
        source = linktest::append(db, rectangle(2.0, 3.0));
        label = addText(db, L"old");
    }

    AcDbObjectId areaStyle, source, label;
};

TEST_F(Link, ANormalLinkRewritesItsLabelAtCreationAndOnEveryChange) {
    addLink(source, areaStyle, label);
    EXPECT_EQ(textOf(label), L"6.0000");
    moveVertex(source, 2, 4.0, 3.0);
    EXPECT_EQ(textOf(label), L"9.0000");
}

TEST_F(Link, WithoutAUsableStyleOrLabelNothingIsWritten) {
    const AcDbObjectId erasedStyle =
        addStyle(db, L"Gone", newStyle(new AcAreaReader, new AcTextModifier));
    erase(erasedStyle);
    const AcDbObjectId notAStyle = db->namedObjectsDictionaryId();
    for (AcDbObjectId style : {AcDbObjectId(), erasedStyle, notAStyle}) {
        const AcDbObjectId other = addText(db, L"old");
        addLink(source, style, other);
        moveVertex(source, 2, 2.0, 5.0);
        EXPECT_EQ(textOf(other), L"old");
    }

    // An erased label is not opened; one that is open elsewhere cannot be written and keeps its
    // text until the next change.
    const AcDbObjectId erasedLabel = addText(db, L"old");
    addLink(source, areaStyle, erasedLabel);
    erase(erasedLabel);
    addLink(source, areaStyle, label);
    {
        Opened<AcDbText> reading(label, AcDb::kForRead);
        moveVertex(source, 2, 2.0, 4.0);
    }
    EXPECT_EQ(textOf(erasedLabel), L"8.0000");
    EXPECT_EQ(textOf(label), L"8.0000");
    moveVertex(source, 2, 2.0, 6.0);
    EXPECT_EQ(textOf(erasedLabel), L"8.0000");
    EXPECT_EQ(textOf(label), L"9.0000");
}

TEST_F(Link, ASourceThatIsNoEntityGivesUnknown) {
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* plain = new AcDbDictionary;
    AcDbObjectId plainId;
    ASSERT_EQ(nod->setAt(L"Plain", plain, plainId), Acad::eOk);
    plain->close();
    nod->close();
    addLink(plainId, areaStyle, label);
    EXPECT_EQ(textOf(label), L"UNKNOWN PROPERTY VALUE");
}

// Stands in for the application module's service; registered under its class name.
AcRxClass* g_mgrClass = nullptr;

class StubMgr : public AcPropertyLinkStyleMgrInterface {
public:
    AcRxClass* isA() const override { return g_mgrClass; }
    void queueDelayedModification(const AcDbObjectId& linkId) override { queued.push_back(linkId); }
    AcDbDictionary* stylesDictionary(AcDbDatabase*, AcDb::OpenMode) override { return nullptr; }
    bool isPerformingDelayedModifications() override { return performing; }
    void styleName(const AcDbObjectId&, CString& name) override { name.Empty(); }
    void performDelayedModifications() override {}

    std::vector<AcDbObjectId> queued;
    bool performing = false;
};

class OtherService : public AcRxService {};

void setFlag(AcDbObjectId linkId, bool within) {
    Opened<AcPropertyLink> link(linkId, AcDb::kForWrite);
    ASSERT_EQ(link.status(), Acad::eOk);
    link->setIsWithinDelayedModification(within);
}

TEST_F(Link, ASelfLinkQueuesItsOwnIdOnlyWhenTheServiceIsThereAndIdle) {
    const AcDbObjectId selfLink = addLink(source, areaStyle, AcDbObjectId());
    moveVertex(source, 2, 2.0, 4.0); // no service: nothing happens

    g_mgrClass = newAcRxClass(L"AcPropertyLinkStyleMgr", L"AcRxService", 1, nullptr);
    acrxBuildClassHierarchy();
    StubMgr manager;
    acrxDynamicLinker()->registerService(L"AcPropertyLinkStyleMgr", &manager);
    moveVertex(source, 2, 2.0, 5.0);
    EXPECT_EQ(manager.queued, std::vector<AcDbObjectId>{selfLink});

    manager.queued.clear();
    setFlag(selfLink, true);
    moveVertex(source, 2, 2.0, 6.0);
    setFlag(selfLink, false);
    manager.performing = true;
    moveVertex(source, 2, 2.0, 7.0);
    EXPECT_TRUE(manager.queued.empty());
    manager.performing = false;

    // A service under the name that is not of the registered class is not trusted.
    OtherService impostor;
    acrxDynamicLinker()->unregisterService(L"AcPropertyLinkStyleMgr");
    acrxDynamicLinker()->registerService(L"AcPropertyLinkStyleMgr", &impostor);
    moveVertex(source, 2, 2.0, 8.0);
    EXPECT_TRUE(manager.queued.empty());
    acrxDynamicLinker()->unregisterService(L"AcPropertyLinkStyleMgr");
    deleteAcRxClass(g_mgrClass);
}

TEST_F(Link, RecordHoldsVersionStyleAsHardAndLabelAsSoftPointer) {
    AcPropertyLink out;
    out.setStyle(areaStyle);
    out.setLinkedObj(label);
    out.setIsWithinDelayedModification(true);
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    ASSERT_EQ(out.dwgOutFields(&filer), Acad::eOk);
    // Ids through a memory filer stay ids; their kind is what the filer is told.
    struct KindFiler : AcDbMemoryFiler {
        std::vector<std::string> kinds;
        Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) override {
            kinds.push_back("hard");
            return AcDbMemoryFiler::writeHardPointerId(id);
        }
        Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) override {
            kinds.push_back("soft");
            return AcDbMemoryFiler::writeSoftPointerId(id);
        }
    } kinds;
    out.dwgOutFields(&kinds);
    EXPECT_EQ(kinds.kinds, (std::vector<std::string>{"hard", "soft"}));

    AcPropertyLink in;
    in.setIsWithinDelayedModification(true);
    filer.rewind();
    ASSERT_EQ(in.dwgInFields(&filer), Acad::eOk);
    EXPECT_EQ(filer.remaining(), 0u);
    EXPECT_EQ(in.style(), areaStyle);
    EXPECT_EQ(in.linkedObj(), label);

    // The version comes right after the object level.
    AcDbMemoryFiler newer(AcDb::kFileFiler);
    AcDbObject plain;
    plain.dwgOutFields(&newer);
    newer.writeInt16(2);
    newer.writeHardPointerId(label);
    newer.rewind();
    AcPropertyLink proxyMe;
    EXPECT_EQ(proxyMe.dwgInFields(&newer), Acad::eMakeMeProxy);
    EXPECT_TRUE(proxyMe.style().isNull());

    EXPECT_EQ(in.dxfOutFields(nullptr), Acad::eNotImplementedYet);
    EXPECT_EQ(in.dxfInFields(nullptr), Acad::eNotImplementedYet);
}

// Files as a newer link under the link's own class name.
class NewerLink : public AcPropertyLink {
public:
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override {
        AcDbObject::dwgOutFields(filer);
        filer->writeInt16(2);
        filer->writeHardPointerId(style());
        filer->writeSoftPointerId(linkedObj());
        filer->writeDouble(42.0);
        return filer->filerStatus();
    }
};

std::wstring drawingPath(const char* name) {
    const std::string path = binDir() + "/" + name;
    return std::wstring(path.begin(), path.end());
}

TEST_F(Link, ADrawingKeepsBothIdsAndANewerLinkBecomesAProxy) {
    const AcDbObjectId kept = addLink(source, areaStyle, label);
    setFlag(kept, true);
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, db->namedObjectsDictionaryId(), AcDb::kForWrite),
              Acad::eOk);
    auto* newer = new NewerLink;
    newer->setStyle(areaStyle);
    AcDbObjectId newerId;
    ASSERT_EQ(AcDbDictionary::cast(opened)->setAt(L"Newer", newer, newerId), Acad::eOk);
    newer->close();
    opened->close();
    const AcDbHandle keptHandle = kept.handle(), newerHandle = newerId.handle();
    const AcDbHandle styleHandle = areaStyle.handle(), labelHandle = label.handle();
    ASSERT_EQ(db->saveAs(drawingPath("link_ids.dwg").c_str()), Acad::eOk);

    AcDbDatabase loaded(false);
    ASSERT_EQ(loaded.readDwgFile(drawingPath("link_ids.dwg").c_str()), Acad::eOk);
    AcDbObjectId keptId, proxyId, styleId, labelId;
    ASSERT_EQ(loaded.getAcDbObjectId(keptId, false, keptHandle), Acad::eOk);
    ASSERT_EQ(loaded.getAcDbObjectId(proxyId, false, newerHandle), Acad::eOk);
    ASSERT_EQ(loaded.getAcDbObjectId(styleId, false, styleHandle), Acad::eOk);
    ASSERT_EQ(loaded.getAcDbObjectId(labelId, false, labelHandle), Acad::eOk);
    {
        Opened<AcPropertyLink> link(keptId, AcDb::kForRead);
        ASSERT_EQ(link.status(), Acad::eOk);
        EXPECT_EQ(link->style(), styleId);
        EXPECT_EQ(link->linkedObj(), labelId);
        EXPECT_FALSE(link->isWithinDelayedModification());
    }
    Opened<AcDbProxyObject> proxy(proxyId, AcDb::kForRead);
    EXPECT_EQ(proxy.status(), Acad::eOk);
}

} // namespace
