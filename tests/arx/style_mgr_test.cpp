// The style manager service of the application module: registration, the styles dictionary and
// the pending self-link updates.
#include <cstddef>
#include <cstring>
#include <iostream>

#include "AcPropertyLinkStyleMgr.h"
#include "dbx/dbx_test_support.h"
#include "dbx/link_fixture.h"
#include "rx/dictionary.h"

namespace {

using namespace linktest;

const std::wstring kArx = binDirW() + L"/SentavellUi17.arx";

class StyleMgr : public DbxTest {
protected:
    void SetUp() override {
        DbxTest::SetUp();
        ASSERT_TRUE(acrxLoadModule(kArx.c_str(), false));
        mgr = AcPropertyLinkStyleMgr::cast(acrxServiceDictionary()->at(L"AcPropertyLinkStyleMgr"));
        ASSERT_NE(mgr, nullptr);
    }

    const AcDbObjectIdArray& pending() const {
        return AcPropertyLinkStyleMgr::pendingModifications();
    }

    AcDbObjectId stylesId() {
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForRead);
        EXPECT_NE(styles, nullptr);
        const AcDbObjectId id = styles != nullptr ? styles->objectId() : AcDbObjectId();
        if (styles != nullptr)
            styles->close();
        return id;
    }

    // A self-link on a polyline that writes its area into the polyline's colour.
    AcDbObjectId selfLinked(AcDbObjectId& polyline, AcDbObjectId& styleId) {
        styleId =
            addStyleTo(stylesId(), L"Colour", newStyle(new AcAreaReader, new AcColorModifier));
        polyline = linktest::append(db, rectangle(2.0, 3.0));
        return addLink(polyline, styleId, AcDbObjectId());
    }

    AcPropertyLinkStyleMgr* mgr = nullptr;
};

Adesk::UInt16 colourOf(AcDbObjectId id) {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    return entity.get() != nullptr ? entity->colorIndex() : 0;
}

TEST_F(StyleMgr, ClassAndServiceLiveFromStartToUnload) {
    AcRxClass* cls = AcRxClass::cast(acrxClassDictionary()->at(L"AcPropertyLinkStyleMgr"));
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, AcPropertyLinkStyleMgr::desc());
    EXPECT_EQ(mgr->isA(), cls);
    EXPECT_STREQ(cls->myParent()->name(), L"AcRxService");
    EXPECT_EQ(cls->proxyFlags(), 1);
    std::unique_ptr<AcRxObject> made(cls->create());
    EXPECT_NE(AcPropertyLinkStyleMgr::cast(made.get()), nullptr);
    EXPECT_TRUE(acrxServiceIsRegistered(L"AcPropertyLinkStyleMgr"));
    EXPECT_EQ(svFindStyleMgr(), mgr);

    // A second start registers nothing twice.
    AcPropertyLinkStyleMgr::rxInit();
    EXPECT_EQ(AcPropertyLinkStyleMgr::desc(), cls);

    ASSERT_TRUE(acrxUnloadModule(kArx.c_str(), false));
    EXPECT_FALSE(acrxServiceIsRegistered(L"AcPropertyLinkStyleMgr"));
    EXPECT_EQ(acrxClassDictionary()->at(L"AcPropertyLinkStyleMgr"), nullptr);
    EXPECT_EQ(svFindStyleMgr(), nullptr);

    // Loaded again, the database module finds the new service.
    ASSERT_TRUE(acrxLoadModule(kArx.c_str(), false));
    EXPECT_NE(svFindStyleMgr(), nullptr);
    EXPECT_EQ(svFindStyleMgr(), acrxServiceDictionary()->at(L"AcPropertyLinkStyleMgr"));
}

// The database module calls through the table of virtual operations: destructor (two entries
// under this ABI), isA, clone, copyFrom, isEqualTo, comparedTo, then the service's own five.
template <class Member>
std::ptrdiff_t slotOf(Member member) {
    std::ptrdiff_t raw = 0;
    static_assert(sizeof(Member) >= sizeof raw);
    std::memcpy(&raw, &member, sizeof raw);
    return (raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST_F(StyleMgr, OwnOperationsFollowTheObjectsInSlotOrder) {
    using M = AcPropertyLinkStyleMgr;
    EXPECT_EQ(slotOf(&M::isA), 2);
    EXPECT_EQ(slotOf(&M::comparedTo), 6);
    EXPECT_EQ(slotOf(&M::queueDelayedModification), 7);
    EXPECT_EQ(slotOf(&M::stylesDictionary), 8);
    EXPECT_EQ(slotOf(&M::isPerformingDelayedModifications), 9);
    EXPECT_EQ(slotOf(&M::styleName), 10);
    EXPECT_EQ(slotOf(&M::performDelayedModifications), 11);
}

TEST_F(StyleMgr, QueueKeepsEachIdOnceAndDropsInvalidIdsOnItsWalk) {
    inFreshProcess([this] {
        bool ok = pending().physicalLength() == 0 && pending().growLength() == 8;
        auto* other = new AcDbDatabase;
        const AcDbObjectId a = addText(db, L"a"), b = addText(db, L"b"), c = addText(db, L"c");
        const AcDbObjectId gone1 = addText(other, L"x"), gone2 = addText(other, L"y");
        for (AcDbObjectId id : {gone1, a, gone2, b, a, b})
            mgr->queueDelayedModification(id);
        ok &= pending().length() == 4;
        delete other;
        // Stops at the match: only the invalid id before it goes.
        mgr->queueDelayedModification(a);
        ok &= pending().length() == 3 && pending()[0] == a && pending()[1] == gone2;
        // Walks to the end: every invalid id goes, the new one comes last.
        mgr->queueDelayedModification(c);
        ok &=
            pending().length() == 3 && pending()[0] == a && pending()[1] == b && pending()[2] == c;
        acdbHostApplicationServices()->setWorkingDatabase(db);
        if (!ok)
            std::cerr << "pending length " << pending().length() << "\n";
        return ok;
    });
}

TEST_F(StyleMgr, StylesDictionaryIsMadeOnFirstUseAlsoForRead) {
    EXPECT_EQ(mgr->stylesDictionary(nullptr, AcDb::kForRead), nullptr);
    AcDbDictionary* first = mgr->stylesDictionary(db, AcDb::kForRead);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isReadEnabled());
    EXPECT_FALSE(first->isWriteEnabled());
    EXPECT_EQ(first->numEntries(), 0u);
    const AcDbObjectId id = first->objectId();
    first->close();

    AcDbDictionary* again = mgr->stylesDictionary(db, AcDb::kForWrite);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->objectId(), id);
    EXPECT_TRUE(again->isWriteEnabled());
    again->close();
    Opened<AcDbDictionary> nod(db->namedObjectsDictionaryId(), AcDb::kForRead);
    AcDbObjectId found;
    EXPECT_EQ(nod->getAt(L"veld_sentavell_styles", found), Acad::eOk);
    EXPECT_EQ(found, id);
}

TEST_F(StyleMgr, StylesDictionaryIsNotMadeWhenTheNamedObjectsCannotBeWritten) {
    {
        Opened<AcDbDictionary> reading(db->namedObjectsDictionaryId(), AcDb::kForRead);
        EXPECT_EQ(mgr->stylesDictionary(db, AcDb::kForRead), nullptr);
    }
    Opened<AcDbDictionary> nod(db->namedObjectsDictionaryId(), AcDb::kForRead);
    EXPECT_FALSE(nod->has(L"VELD_Sentavell_Styles"));
}

TEST_F(StyleMgr, StyleNameIsTheKeyInItsOwnDrawingOrEmpty) {
    const AcDbObjectId area = addStyleTo(stylesId(), L"Area m²", newStyle(nullptr, nullptr));
    const AcDbObjectId gone = addStyleTo(stylesId(), L"Gone", newStyle(nullptr, nullptr));
    erase(gone);
    AcDbDatabase other;
    const AcDbObjectId elsewhere = addStyleTo(
        [&] {
            AcDbDictionary* styles = mgr->stylesDictionary(&other, AcDb::kForRead);
            const AcDbObjectId id = styles->objectId();
            styles->close();
            return id;
        }(),
        L"Elsewhere", newStyle(nullptr, nullptr));
    const AcDbObjectId inNod = addStyle(db, L"Loose", newStyle(nullptr, nullptr));

    CString name(L"before");
    mgr->styleName(area, name);
    EXPECT_STREQ(name, L"Area m²");
    mgr->styleName(elsewhere, name);
    EXPECT_STREQ(name, L"Elsewhere");
    for (AcDbObjectId foreign : {AcDbObjectId(), gone, inNod, addText(db, L"label")}) {
        name = L"before";
        mgr->styleName(foreign, name);
        EXPECT_STREQ(name, L"");
    }
}

// Sees the pending list whenever the source is closed after a change.
class LengthWatcher : public AcDbObjectReactor {
public:
    void modified(const AcDbObject*) override {
        lengths.push_back(AcPropertyLinkStyleMgr::pendingModifications().length());
    }
    std::vector<int> lengths;
};

TEST_F(StyleMgr, APassRewritesEachQueuedSelfLinkOnceAndDoesNotLengthenItsList) {
    AcDbObjectId polyline, style;
    const AcDbObjectId link = selfLinked(polyline, style);
    EXPECT_EQ(colourOf(polyline), 256); // not written inside its own notification
    moveVertex(polyline, 2, 2.0, 4.0);
    ASSERT_EQ(pending().length(), 1);
    EXPECT_EQ(pending()[0], link);

    LengthWatcher watcher;
    {
        Opened<AcDbEntity> entity(polyline, AcDb::kForRead);
        entity->addReactor(&watcher);
    }
    EXPECT_FALSE(mgr->isPerformingDelayedModifications());
    mgr->performDelayedModifications();
    EXPECT_FALSE(mgr->isPerformingDelayedModifications());
    EXPECT_EQ(colourOf(polyline), 7);
    EXPECT_EQ(watcher.lengths, std::vector<int>{1});
    EXPECT_EQ(pending().length(), 0);
    {
        Opened<AcPropertyLink> opened(link, AcDb::kForRead);
        EXPECT_FALSE(opened->isWithinDelayedModification());
    }
    {
        Opened<AcDbEntity> entity(polyline, AcDb::kForRead);
        entity->removeReactor(&watcher);
    }
    moveVertex(polyline, 2, 2.0, 5.0);
    EXPECT_EQ(pending().length(), 1);
}

TEST_F(StyleMgr, ASkippedSelfLinkStaysLiveForWhenItsStyleIsBack) {
    AcDbObjectId polyline, style;
    selfLinked(polyline, style);
    moveVertex(polyline, 2, 2.0, 4.0);
    erase(style);
    mgr->performDelayedModifications();
    EXPECT_EQ(colourOf(polyline), 256);
    EXPECT_EQ(pending().length(), 0);

    {
        AcDbObject* erased = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(erased, style, AcDb::kForWrite, true), Acad::eOk);
        erased->erase(false);
        erased->close();
    }
    moveVertex(polyline, 2, 2.0, 6.0);
    ASSERT_EQ(pending().length(), 1);
    mgr->performDelayedModifications();
    EXPECT_EQ(colourOf(polyline), 9);
}

TEST_F(StyleMgr, APassOverAnErasedLinkOnlyEmptiesTheList) {
    AcDbObjectId polyline, style;
    const AcDbObjectId link = selfLinked(polyline, style);
    moveVertex(polyline, 2, 2.0, 4.0);
    erase(link);
    mgr->performDelayedModifications();
    EXPECT_EQ(pending().length(), 0);
    EXPECT_EQ(colourOf(polyline), 256);
}

} // namespace
