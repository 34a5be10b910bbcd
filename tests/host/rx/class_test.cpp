#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "crt/format.h"
#include "rx/dictionary.h"
#include "rx/members.h"
#include "rx/service.h"

namespace {

struct AbortSeen : std::runtime_error {
    explicit AbortSeen(const wchar_t* message) : std::runtime_error(svToUtf8(message)) {}
};

void throwOnAbort(const wchar_t* message) {
    throw AbortSeen(message);
}

} // namespace

class RxTestBase : public AcRxObject {
    SV_RX_DECLARE_FILED_MEMBERS(RxTestBase);
    SV_RX_DECLARE_VERSION(RxTestBase)
    int value = 0;
    Acad::ErrorStatus copyFrom(const AcRxObject* other) override {
        const RxTestBase* source = RxTestBase::cast(other);
        if (source == nullptr)
            return Acad::eWrongObjectType;
        value = source->value;
        return Acad::eOk;
    }
};
class RxTestMiddle : public RxTestBase {
    SV_RX_DECLARE_MEMBERS(RxTestMiddle);
};
class RxTestLeaf : public RxTestMiddle {
    SV_RX_DECLARE_MEMBERS(RxTestLeaf);
};
class RxTestOther : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(RxTestOther);
};

SV_RX_DEFINE_FILED_MEMBERS(RxTestBase, AcRxObject, 27, 1, 0, L"RXTESTBASE", L"\"Test|App\"")
SV_RX_DEFINE_VERSION(RxTestBase, 2);
SV_RX_DEFINE_SHORT_MEMBERS(RxTestMiddle, RxTestBase, 1)
SV_RX_DEFINE_SHORT_MEMBERS(RxTestLeaf, RxTestMiddle, 1)
SV_RX_DEFINE_SHORT_MEMBERS(RxTestOther, AcRxObject, 1)

namespace {

void registerAll() {
    RxTestBase::rxInit();
    RxTestMiddle::rxInit();
    RxTestLeaf::rxInit();
    RxTestOther::rxInit();
    acrxBuildClassHierarchy();
}

TEST(RxClass, RegistryHoldsTheHostEntriesAndBuiltInClasses) {
    AcRxDictionary* registry = acrxSysRegistry();
    EXPECT_NE(AcRxDictionary::cast(registry->at(L"ClassDictionary")), nullptr);
    EXPECT_NE(AcRxDictionary::cast(registry->at(L"ServiceDictionary")), nullptr);
    EXPECT_NE(registry->at(L"DynamicLinker"), nullptr);
    for (const wchar_t* name :
         {L"AcRxObject", L"AcRxClass", L"AcRxDictionary", L"AcRxService", L"AcRxDynamicLinker"})
        EXPECT_NE(AcRxClass::cast(acrxClassDictionary()->at(name)), nullptr) << svToUtf8(name);
    EXPECT_TRUE(AcRxService::desc()->isDerivedFrom(AcRxObject::desc()));
    EXPECT_EQ(AcRxClass::desc()->isA(), AcRxClass::desc());
}

TEST(RxClass, RxInitRegistersOnceWithTheGivenParameters) {
    registerAll();
    AcRxClass* first = RxTestBase::desc();
    const std::uint32_t count = acrxClassDictionary()->numEntries();
    RxTestBase::rxInit();
    registerAll();
    EXPECT_EQ(RxTestBase::desc(), first);
    EXPECT_EQ(acrxClassDictionary()->numEntries(), count);

    int maintVer = 0;
    EXPECT_EQ(first->getClassVersion(maintVer), 27);
    EXPECT_EQ(maintVer, 1);
    EXPECT_EQ(first->proxyFlags(), 0);
    EXPECT_STREQ(first->dxfName(), L"RXTESTBASE");
    EXPECT_STREQ(first->appName(), L"\"Test|App\"");
    EXPECT_STREQ(first->name(), L"RxTestBase");
    EXPECT_EQ(first->myParent(), AcRxObject::desc());

    AcRxClass* leaf = RxTestLeaf::desc();
    EXPECT_EQ(leaf->proxyFlags(), 1);
    EXPECT_EQ(leaf->dxfName(), nullptr);
    EXPECT_EQ(leaf->appName(), nullptr);
    EXPECT_EQ(leaf->getClassVersion(maintVer), 0);
    EXPECT_EQ(RxTestBase().version(), 2);
    EXPECT_EQ(RxTestBase::m_versionRxTestBase, 2);
}

TEST(RxClass, DescFindsAClassRegisteredByAnotherCopy) {
    registerAll();
    AcRxClass* registered = RxTestMiddle::desc();
    RxTestMiddle::gpDesc = nullptr;
    EXPECT_EQ(RxTestMiddle::desc(), registered);
    EXPECT_EQ(RxTestMiddle::gpDesc, registered);
}

TEST(RxClass, AnotherClassObjectUnderTheSameNameAborts) {
    registerAll();
    AcRxAbortHandler previous = acrxSetAbortHandler(&throwOnAbort);
    RxTestLeaf::gpDesc = RxTestOther::desc();
    try {
        RxTestLeaf::rxInit();
        FAIL() << "rxInit accepted a second class object under one name";
    } catch (const AbortSeen& seen) {
        EXPECT_STREQ(seen.what(), "Class mismatch");
    }
    acrxSetAbortHandler(previous);
}

TEST(RxClass, AbortWithoutHandlerEndsTheProcess) {
    EXPECT_DEATH(acrx_abort(L"%s %d", L"stop", 3), "INTERNAL ERROR: stop 3");
}

TEST(RxClass, CastAndDerivationAcrossThreeLevels) {
    registerAll();
    RxTestLeaf leaf;
    RxTestMiddle middle;
    RxTestOther other;
    EXPECT_TRUE(RxTestLeaf::desc()->isDerivedFrom(RxTestBase::desc()));
    EXPECT_TRUE(RxTestLeaf::desc()->isDerivedFrom(RxTestLeaf::desc()));
    EXPECT_FALSE(RxTestBase::desc()->isDerivedFrom(RxTestLeaf::desc()));
    EXPECT_FALSE(RxTestLeaf::desc()->isDerivedFrom(nullptr));

    EXPECT_EQ(RxTestBase::cast(&leaf), &leaf);
    EXPECT_EQ(RxTestMiddle::cast(&leaf), &leaf);
    EXPECT_EQ(RxTestLeaf::cast(&middle), nullptr);
    EXPECT_EQ(RxTestBase::cast(&other), nullptr);
    EXPECT_EQ(RxTestBase::cast(nullptr), nullptr);
    EXPECT_TRUE(leaf.isKindOf(AcRxObject::desc()));
    EXPECT_EQ(leaf.isA(), RxTestLeaf::desc());
}

TEST(RxClass, UnregisteredClassCastsNothing) {
    RxTestOther other;
    EXPECT_EQ(RxTestOther::desc(), nullptr);
    EXPECT_EQ(RxTestOther::cast(&other), nullptr);
}

TEST(RxClass, ParentLinksWaitForTheHierarchyAndDropWithTheParent) {
    AcRxClass* child = newAcRxClass(L"RxLateChild", L"RxLateParent");
    EXPECT_EQ(child->myParent(), nullptr);
    AcRxClass* parent = newAcRxClass(L"RxLateParent", L"AcRxObject");
    acrxBuildClassHierarchy();
    EXPECT_EQ(child->myParent(), parent);
    deleteAcRxClass(parent);
    EXPECT_EQ(child->myParent(), nullptr);
    EXPECT_FALSE(acrxClassDictionary()->has(L"RxLateParent"));
}

TEST(RxClass, CreateAndCloneGoThroughThePseudoConstructor) {
    registerAll();
    AcRxObject* created = RxTestLeaf::desc()->create();
    ASSERT_NE(RxTestLeaf::cast(created), nullptr);
    RxTestLeaf::cast(created)->value = 42;
    AcRxObject* copy = created->clone();
    ASSERT_NE(RxTestLeaf::cast(copy), nullptr);
    EXPECT_NE(copy, created);
    EXPECT_EQ(RxTestLeaf::cast(copy)->value, 42);
    delete copy;
    delete created;
    EXPECT_EQ(AcRxObject::desc()->create(), nullptr);
}

TEST(RxClass, ArraysOfHostObjectsAreRefused) {
    RxTestOther* many = new RxTestOther[4];
    EXPECT_EQ(many, nullptr);
}

} // namespace
