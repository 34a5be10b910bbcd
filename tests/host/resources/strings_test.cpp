#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "win/modules.h"
#include "win/resources.h"

namespace {

class ResourceStrings : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(L"res_sample.dll");
        ASSERT_NE(module, nullptr) << svLastLoadError();
    }
    void TearDown() override { FreeLibrary(module); }

    std::wstring load(UINT id) {
        wchar_t buffer[1024];
        const int n = LoadStringW(module, id, buffer, 1024);
        EXPECT_EQ(n, static_cast<int>(std::wstring(buffer).size()));
        return buffer;
    }

    HMODULE module = nullptr;
};

TEST_F(ResourceStrings, TextsSurviveTheRoundTripThroughTheScript) {
    EXPECT_EQ(load(IDS_GREETING), L"Hello");
    EXPECT_EQ(load(IDS_ESCAPES), L"Tab\there, \"quoted\", back\\slash\nnext line AA");
    EXPECT_EQ(load(IDS_KEYWORDS), L"Style Model Paper eXit");
    EXPECT_EQ(load(IDS_UNICODE), L"m\u00b2 Fl\u00e4che \\u");
    EXPECT_EQ(load(17), L"by number");
    EXPECT_EQ(load(IDS_FAR), L"last id");
    const std::wstring text = load(IDS_LONG);
    EXPECT_EQ(text.size(), 445u);
    EXPECT_EQ(text.substr(0, 11), L"Lorem ipsum");
    EXPECT_EQ(text.substr(text.size() - 8), L"laborum.");
}

TEST_F(ResourceStrings, LoadStringTruncatesAndAlwaysTerminatesInsideTheBuffer) {
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(LoadStringW(module, IDS_GREETING, buffer, 4), 3);
    EXPECT_STREQ(buffer, L"Hel");
    EXPECT_EQ(buffer[4], L'#'); // nothing written past the size given

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(LoadStringW(module, IDS_GREETING, buffer, 1), 0);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer[1], L'#');

    EXPECT_EQ(LoadStringW(module, IDS_GREETING, buffer, 6), 5);
    EXPECT_STREQ(buffer, L"Hello");
}

TEST_F(ResourceStrings, MissingIdsAndModulesAnswerZeroAndAnEmptyBuffer) {
    wchar_t buffer[8] = L"old";
    EXPECT_EQ(LoadStringW(module, 999, buffer, 8), 0);
    EXPECT_STREQ(buffer, L"");
    wcscpy(buffer, L"old");
    EXPECT_EQ(LoadStringW(nullptr, IDS_GREETING, buffer, 8), 0); // the host program has none
    EXPECT_STREQ(buffer, L"");
    EXPECT_EQ(LoadStringW(module, IDS_GREETING, nullptr, 8), 0);
    EXPECT_EQ(LoadStringW(module, IDS_GREETING, buffer, -1), 0);

    HMODULE gone = LoadLibraryW(L"res_other.dll");
    ASSERT_NE(gone, nullptr);
    FreeLibrary(gone);
    EXPECT_EQ(LoadStringW(gone, IDS_ONLY_IN_OTHER, buffer, 8), 0);
}

TEST_F(ResourceStrings, SizeZeroHandsOutAPointerToTheTextItself) {
    const wchar_t* text = nullptr;
    EXPECT_EQ(LoadStringW(module, IDS_LONG, reinterpret_cast<LPWSTR>(&text), 0), 445);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text, 5), L"Lorem");
}

TEST_F(ResourceStrings, StringBlocksAreServedByFindResource) {
    // Block n holds ids 16(n-1) to 16n-1, each as a count and its characters.
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW(IDS_GREETING / 16 + 1), RT_STRING);
    ASSERT_NE(block, nullptr);
    const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(module, block)));
    EXPECT_EQ(data[0], 0); // id 0: none
    EXPECT_EQ(data[1], 5); // id 1: "Hello"
    EXPECT_EQ(std::wstring(data + 2, 5), L"Hello");
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDS_FAR / 16 + 1), RT_STRING), nullptr);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(100), RT_STRING), nullptr);
}

} // namespace
