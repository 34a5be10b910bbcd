#include <gtest/gtest.h>

#include "mfc/afx.h"
#include "mfc/cstring.h"
#include "resource.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

// Two resource modules: res_sample has IDS_IN_BOTH as "from sample", res_other has it as "from
// other" and alone has IDS_ONLY_IN_OTHER.
class ResourceChain : public ::testing::Test {
protected:
    void SetUp() override {
        sample = LoadLibraryW(L"res_sample.dll");
        other = LoadLibraryW(L"res_other.dll");
        ASSERT_NE(sample, nullptr) << svLastLoadError();
        ASSERT_NE(other, nullptr) << svLastLoadError();
    }
    void TearDown() override {
        AfxTermExtensionModule(extension, TRUE);
        FreeLibrary(other);
        FreeLibrary(sample);
    }
    CString load(UINT id) {
        CString text(L"unchanged");
        text.LoadString(id);
        return text;
    }

    HMODULE sample = nullptr;
    HMODULE other = nullptr;
    AFX_EXTENSION_MODULE extension{};
};

TEST_F(ResourceChain, CurrentHandleFirstThenTheExtensionModules) {
    // As a module attaches its resource module.
    ASSERT_TRUE(AfxInitExtensionModule(extension, other));
    new CDynLinkLibrary(extension);
    AfxSetResourceHandle(sample);

    EXPECT_EQ(load(IDS_ONLY_IN_OTHER), L"only in other");
    EXPECT_EQ(load(IDS_IN_BOTH), L"from sample");
    EXPECT_EQ(load(IDS_GREETING), L"Hello");
    EXPECT_EQ(AfxFindStringResourceHandle(IDS_ONLY_IN_OTHER), other);

    AfxSetResourceHandle(GetModuleHandleW(nullptr));
    EXPECT_EQ(load(IDS_IN_BOTH), L"from other");
    EXPECT_EQ(load(IDS_GREETING), L"unchanged"); // missing: FALSE and the string untouched
}

TEST_F(ResourceChain, TerminationTakesTheModuleOutOfTheChain) {
    ASSERT_TRUE(AfxInitExtensionModule(extension, other));
    new CDynLinkLibrary(extension);
    AfxSetResourceHandle(sample);
    ASSERT_EQ(load(IDS_ONLY_IN_OTHER), L"only in other");

    AfxTermExtensionModule(extension);
    EXPECT_FALSE(extension.bInitialized);
    CString text;
    EXPECT_FALSE(text.LoadString(IDS_ONLY_IN_OTHER));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(load(IDS_IN_BOTH), L"from sample");
}

TEST_F(ResourceChain, TerminationLeavesOtherModulesEntries) {
    AFX_EXTENSION_MODULE second{};
    ASSERT_TRUE(AfxInitExtensionModule(extension, other));
    ASSERT_TRUE(AfxInitExtensionModule(second, sample));
    new CDynLinkLibrary(extension);
    new CDynLinkLibrary(second); // newest: searched first
    AfxSetResourceHandle(GetModuleHandleW(nullptr));
    EXPECT_EQ(load(IDS_IN_BOTH), L"from sample");

    AfxTermExtensionModule(second, FALSE);
    EXPECT_EQ(load(IDS_IN_BOTH), L"from other");
    EXPECT_TRUE(extension.bInitialized);
}

TEST_F(ResourceChain, InitialisationRefusesNoModuleAndKeepsTheFirstOne) {
    EXPECT_FALSE(AfxInitExtensionModule(extension, nullptr));
    EXPECT_FALSE(extension.bInitialized);
    ASSERT_TRUE(AfxInitExtensionModule(extension, other));
    EXPECT_TRUE(AfxInitExtensionModule(extension, sample));
    EXPECT_EQ(extension.hModule, other);
    EXPECT_EQ(extension.hResource, other);
}

TEST_F(ResourceChain, ResourceHandleStartsAtTheHostAndIsWhatWasSet) {
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(nullptr));
    AfxSetResourceHandle(other);
    EXPECT_EQ(AfxGetResourceHandle(), other);
}

TEST_F(ResourceChain, TemplatesAreFoundThroughTheChainToo) {
    ASSERT_TRUE(AfxInitExtensionModule(extension, sample));
    new CDynLinkLibrary(extension);
    AfxSetResourceHandle(other);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_SAMPLE), RT_DIALOG), sample);
    // Held nowhere: the current handle, as the platform answers.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_DIALOG), other);
}

TEST_F(ResourceChain, AnEntryWhoseModuleWasFreedIsPassedOver) {
    HMODULE extra = LoadLibraryW(L"res_other.dll"); // a second reference
    AFX_EXTENSION_MODULE stale{};
    ASSERT_TRUE(AfxInitExtensionModule(stale, extra));
    new CDynLinkLibrary(stale);
    FreeLibrary(extra);
    FreeLibrary(other); // now unloaded, its entry still in the chain
    other = nullptr;
    AfxSetResourceHandle(sample);
    EXPECT_EQ(load(IDS_ONLY_IN_OTHER), L"unchanged");
    AfxTermExtensionModule(stale);
}

} // namespace
