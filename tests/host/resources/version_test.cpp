#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/modules.h"
#include "win/version.h"

namespace {

std::wstring pathOf(const wchar_t* module) {
    HMODULE loaded = LoadLibraryW(module);
    EXPECT_NE(loaded, nullptr) << svLastLoadError();
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(loaded, path, MAX_PATH);
    FreeLibrary(loaded);
    return path;
}

// As the application reads a module's version: size, block, then queries.
std::vector<unsigned char> versionOf(const std::wstring& path) {
    DWORD handle = 99;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    std::vector<unsigned char> block(size);
    if (size != 0) {
        EXPECT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    }
    return block;
}

std::wstring text(const std::vector<unsigned char>& block, const wchar_t* key) {
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key, &value, &length))
        return L"<missing>";
    const auto* chars = static_cast<const wchar_t*>(value);
    EXPECT_EQ(chars[length - 1], L'\0');
    return std::wstring(chars, length - 1);
}

TEST(Version, FixedInfoComesFromTheUnloadedModuleFile) {
    // The file is read as data: nothing is loaded, so this works on a module not in the process.
    const std::vector<unsigned char> block = versionOf(pathOf(L"res_sample.dll"));
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(GetModuleHandleW(L"res_sample.dll"), nullptr);
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), 17);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), 0);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), 3);
    EXPECT_EQ(LOWORD(info->dwFileVersionLS), 42);
    EXPECT_EQ(info->dwProductVersionMS, (17u << 16) | 1u);
    EXPECT_EQ(info->dwProductVersionLS, 7u);
    EXPECT_EQ(info->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(info->dwFileType, 2u);
}

TEST(Version, StringValuesAndTranslationByPath) {
    const std::vector<unsigned char> block = versionOf(pathOf(L"res_sample.dll"));
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(text(block, L"\\StringFileInfo\\040904b0\\ProductVersion"), L"17.1.0.7");
    EXPECT_EQ(text(block, L"\\StringFileInfo\\040904b0\\CompanyName"), L"Tovrik");
    EXPECT_EQ(text(block, L"\\stringfileinfo\\040904B0\\FILEVERSION"), L"17.0.3.42");
    EXPECT_EQ(text(block, L"\\StringFileInfo\\040904b0\\LegalCopyright"), L"<missing>");
    EXPECT_EQ(text(block, L"\\StringFileInfo\\040704b0\\CompanyName"), L"<missing>");

    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* words = static_cast<const WORD*>(value);
    EXPECT_EQ(words[0], 0x409);
    EXPECT_EQ(words[1], 1200);
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\StringFileInfo", &value, &length));
    EXPECT_FALSE(VerQueryValueW(block.data(), nullptr, &value, &length));
    EXPECT_FALSE(VerQueryValueW(nullptr, L"\\", &value, &length));
}

TEST(Version, BackslashPathsAsTheModulesBuildThem) {
    std::wstring path = pathOf(L"res_sample.dll");
    const std::size_t slash = path.rfind(L'/');
    path[slash] = L'\\';
    EXPECT_GT(GetFileVersionInfoSizeW(path.c_str(), nullptr), 0u);
}

TEST(Version, FilesWithoutAVersionAnswerZero) {
    EXPECT_EQ(GetFileVersionInfoSizeW(pathOf(L"res_other.dll").c_str(), nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeW(L"/nonexistent/module.dll", nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeW(L"/proc/self/status", nullptr), 0u); // not a module
    EXPECT_EQ(GetFileVersionInfoSizeW(L"", nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeW(nullptr, nullptr), 0u);
}

TEST(Version, ABufferTooSmallIsRefusedNotFilled) {
    const std::wstring path = pathOf(L"res_sample.dll");
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 8u);
    std::vector<unsigned char> block(size, 0xAB);
    EXPECT_FALSE(GetFileVersionInfoW(path.c_str(), 0, size - 1, block.data()));
    EXPECT_EQ(block[0], 0xAB);
}

} // namespace
