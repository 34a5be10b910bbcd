// The module as the host sees it: a file that is loaded, started, stopped and unloaded. This
// program does not link against the module, so unloading really unmaps it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rx/class.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "win/modules.h"

namespace {

std::vector<std::wstring>& removedClasses() {
    static std::vector<std::wstring> names;
    return names;
}

} // namespace

// Stands in for the runtime's deleteAcRxClass (this program exports it, so the module binds to
// it) to see the order in which the module removes its classes.
void deleteAcRxClass(AcRxClass* classObj) {
    using Delete = void (*)(AcRxClass*);
    static const auto runtimeDelete =
        reinterpret_cast<Delete>(dlsym(RTLD_NEXT, "_Z15deleteAcRxClassP9AcRxClass"));
    if (classObj != nullptr)
        removedClasses().emplace_back(classObj->name());
    runtimeDelete(classObj);
}

namespace {

const std::wstring kModule = binDirW() + L"/sentavell17.dbx";
const wchar_t* const kAppName = L"\"Sentavell|Product Desc: Sentavell|Company:      Tovrik "
                                L"Software Ltd|WEB Address:  https://www.tovrik.example\"";

struct Registration {
    const wchar_t* name;
    const wchar_t* parent;
    bool filedOnItsOwn;
    const wchar_t* dxfName;
};

// In the order the module registers them.
const std::vector<Registration> kClasses = {
    {L"AcContentModifier", L"AcDbObject", false, nullptr},
    {L"AcBlockModifier", L"AcContentModifier", false, nullptr},
    {L"AcTextModifier", L"AcContentModifier", false, nullptr},
    {L"AcDimensionModifier", L"AcContentModifier", false, nullptr},
    {L"AcLeaderModifier", L"AcContentModifier", false, nullptr},
    {L"AcMTextModifier", L"AcContentModifier", false, nullptr},
    {L"AcColorModifier", L"AcContentModifier", false, nullptr},
    {L"AcPropertyReader", L"AcDbObject", false, nullptr},
    {L"AcPropertyLink", L"AcDbObject", true, L"ACPROPERTYLINK"},
    {L"AcPropertyLinkStyle", L"AcDbObject", true, L"ACPROPERTYLINKSTYLE"},
    {L"AcLengthReader", L"AcPropertyReader", false, nullptr},
    {L"AcAreaReader", L"AcPropertyReader", false, nullptr},
    {L"AcTextReader", L"AcPropertyReader", false, nullptr},
    {L"AcXCoordReader", L"AcPropertyReader", false, nullptr},
    {L"AcYCoordReader", L"AcPropertyReader", false, nullptr},
    {L"AcZCoordReader", L"AcPropertyReader", false, nullptr},
};

AcRxClass* classNamed(const wchar_t* name) {
    return AcRxClass::cast(acrxClassDictionary()->at(name));
}

std::vector<std::wstring> classesAddedAfter(std::uint32_t before) {
    std::vector<std::wstring> names;
    AcRxDictionaryIterator* it = acrxClassDictionary()->newIterator(AcRx::kDictCollated);
    for (std::uint32_t i = 0; !it->done(); it->next(), ++i) {
        if (i >= before)
            names.emplace_back(it->key());
    }
    delete it;
    return names;
}

std::vector<std::wstring> namesOf(bool reversed) {
    std::vector<std::wstring> names;
    for (const Registration& r : kClasses)
        names.emplace_back(r.name);
    if (reversed)
        std::reverse(names.begin(), names.end());
    return names;
}

TEST(DbxLifecycle, StartUpRegistersTheSixteenClassesInOrderWithTheirParents) {
    const std::uint32_t before = acrxClassDictionary()->numEntries();
    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    EXPECT_EQ(classesAddedAfter(before), namesOf(false));

    for (const Registration& r : kClasses) {
        SCOPED_TRACE(r.name);
        AcRxClass* cls = classNamed(r.name);
        ASSERT_NE(cls, nullptr);
        ASSERT_NE(cls->myParent(), nullptr);
        EXPECT_STREQ(cls->myParent()->name(), r.parent);
        EXPECT_TRUE(cls->isDerivedFrom(classNamed(L"AcDbObject")));
        int maintVer = -1;
        const int dwgVer = cls->getClassVersion(maintVer);
        if (r.filedOnItsOwn) {
            EXPECT_EQ(dwgVer, 27);
            EXPECT_EQ(maintVer, 1);
            EXPECT_EQ(cls->proxyFlags(), 0);
            EXPECT_STREQ(cls->dxfName(), r.dxfName);
            EXPECT_STREQ(cls->appName(), kAppName);
        } else {
            EXPECT_EQ(cls->proxyFlags(), 1);
            EXPECT_EQ(cls->dxfName(), nullptr);
            EXPECT_EQ(cls->appName(), nullptr);
        }
        // Styles re-create their embedded objects from the class name alone.
        AcRxObject* fresh = cls->create();
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(fresh->isA(), cls);
        delete fresh;
    }
}

TEST(DbxLifecycle, LoadingAndStartingAgainRegistersEachClassOnce) {
    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    const std::uint32_t count = acrxClassDictionary()->numEntries();
    std::vector<AcRxClass*> first;
    for (const Registration& r : kClasses)
        first.push_back(classNamed(r.name));

    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    // A repeated start-up message runs the registration itself a second time.
    void* appId = GetModuleHandleW(L"sentavell17.dbx");
    ASSERT_NE(appId, nullptr);
    EXPECT_EQ(acrxDynamicLinker()->sendMessage(appId, AcRx::kInitAppMsg, appId), AcRx::kRetOK);

    EXPECT_EQ(acrxClassDictionary()->numEntries(), count);
    for (std::size_t i = 0; i < kClasses.size(); ++i)
        EXPECT_EQ(classNamed(kClasses[i].name), first[i]) << kClasses[i].name;
}

TEST(DbxLifecycle, UnloadingRemovesTheClassesInReverseOrderAndTheModuleLoadsAgain) {
    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    removedClasses().clear();
    ASSERT_TRUE(acrxUnloadModule(L"sentavell17.dbx", false));
    EXPECT_EQ(removedClasses(), namesOf(true));
    for (const Registration& r : kClasses)
        EXPECT_FALSE(acrxClassDictionary()->has(r.name)) << r.name;
    EXPECT_EQ(GetModuleHandleW(L"sentavell17.dbx"), nullptr);

    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    for (const Registration& r : kClasses) {
        AcRxClass* cls = classNamed(r.name);
        ASSERT_NE(cls, nullptr) << r.name;
        ASSERT_NE(cls->myParent(), nullptr) << r.name;
        EXPECT_STREQ(cls->myParent()->name(), r.parent);
    }
}

TEST(DbxLifecycle, AnswersTheApiVersionHandshake) {
    ASSERT_TRUE(acrxLoadModule(kModule.c_str(), false));
    using ApiVersion = int (*)();
    auto query = reinterpret_cast<ApiVersion>(
        GetProcAddress(GetModuleHandleW(L"sentavell17.dbx"), "acrxGetApiVersion"));
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query(), 17);
}

} // namespace
