#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "StArxApp.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"
#include "win/host_exports.h"
#include "win/modules.h"

namespace {

std::wstring modulePath(const wchar_t* file) {
    return binDirW() + L"/" + file;
}

// The events a probe module reported, each line "[probe] event".
std::wstring events(const OutputCapture& capture) {
    return capture.text();
}

template <class T>
T probeFunction(const wchar_t* file, const char* name) {
    return reinterpret_cast<T>(GetProcAddress(GetModuleHandleW(file), name));
}

TEST(Loader, StartUpAndShutDownRunInTheFrameworkOrder) {
    OutputCapture capture;
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    EXPECT_EQ(events(capture), L"[probe_a] attach\n"
                               L"[probe_a] RegisterClasses\n"
                               L"[probe_a] RegisterCommands (hierarchy built)\n"
                               L"[probe_a] OnInitAppPreHook\n"
                               L"[probe_a] OnInitAppHook\n"
                               L"[probe_a] OnInitApp\n");
    EXPECT_TRUE(acrxClassDictionary()->has(L"probe_aChild"));
    capture.clear();
    ASSERT_TRUE(acrxUnloadModule(L"probe_a.arx", false));
    EXPECT_EQ(events(capture), L"[probe_a] OnUnloadAppHook\n"
                               L"[probe_a] UnregisterCommands\n"
                               L"[probe_a] UnregisterClasses\n"
                               L"[probe_a] OnUnloadApp\n"
                               L"[probe_a] detach\n");
    EXPECT_FALSE(acrxClassDictionary()->has(L"probe_aChild"));
    EXPECT_EQ(GetModuleHandleW(L"probe_a.arx"), nullptr);
}

TEST(Loader, LoadingTwiceInitialisesOnce) {
    OutputCapture capture;
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    capture.clear();
    EXPECT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    EXPECT_TRUE(acrxLoadModule(L"probe_a.arx", false));
    EXPECT_EQ(events(capture), L"");
    ASSERT_TRUE(acrxUnloadModule(L"probe_a.arx", false));
    EXPECT_EQ(GetModuleHandleW(L"probe_a.arx"), nullptr) << "a second load left a reference";
}

// A module is its file: reached through a linked folder, by name and by its real path it is one
// module, attached and initialised once.
TEST(Loader, AModuleReachedThroughALinkedFolderIsLoadedOnce) {
    const std::string linked = testing::TempDir() + "sv-linked-bin-" + std::to_string(getpid());
    std::filesystem::remove(linked);
    std::filesystem::create_directory_symlink(binDir(), linked);
    const std::wstring viaLink = std::wstring(linked.begin(), linked.end()) + L"/probe_a.arx";
    OutputCapture capture;
    ASSERT_TRUE(acrxLoadModule(viaLink.c_str(), false));
    EXPECT_TRUE(acrxLoadModule(L"probe_a.arx", false));
    EXPECT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    const HMODULE module = GetModuleHandleW(viaLink.c_str());
    EXPECT_EQ(GetModuleHandleW(L"probe_a.arx"), module);
    EXPECT_EQ(GetModuleHandleW(modulePath(L"probe_a.arx").c_str()), module);
    wchar_t path[4096];
    ASSERT_GT(GetModuleFileNameW(module, path, 4096), 0u);
    EXPECT_EQ(std::filesystem::path(path), std::filesystem::canonical(binDir() + "/probe_a.arx"));
    const std::wstring seen = events(capture);
    EXPECT_EQ(seen.find(L"attach"), seen.rfind(L"attach")) << seen;
    EXPECT_EQ(seen.find(L"OnInitApp\n"), seen.rfind(L"OnInitApp\n")) << seen;
    ASSERT_TRUE(acrxUnloadModule(viaLink.c_str(), false));
    EXPECT_EQ(GetModuleHandleW(L"probe_a.arx"), nullptr);
    std::filesystem::remove(linked);
}

TEST(Loader, AttachAnsweringFalseRefusesTheModule) {
    OutputCapture capture;
    EXPECT_FALSE(acrxLoadModule(modulePath(L"probe_refuse.arx").c_str(), true));
    EXPECT_EQ(GetModuleHandleW(L"probe_refuse.arx"), nullptr);
    EXPECT_NE(events(capture).find(L"[probe_refuse] attach\n"), std::wstring::npos);
    EXPECT_EQ(events(capture).find(L"RegisterClasses"), std::wstring::npos);
    EXPECT_NE(events(capture).find(L"refused to attach"), std::wstring::npos);
}

TEST(Loader, InitErrorLeavesNothingLoaded) {
    OutputCapture capture;
    EXPECT_FALSE(acrxLoadModule(modulePath(L"probe_initfail.arx").c_str(), false));
    EXPECT_EQ(GetModuleHandleW(L"probe_initfail.arx"), nullptr);
    EXPECT_FALSE(acrxDynamicLinker()->isModuleLoaded(L"probe_initfail.arx"));
    EXPECT_NE(events(capture).find(L"[probe_initfail] OnInitApp\n[probe_initfail] detach\n"),
              std::wstring::npos);
    EXPECT_EQ(events(capture).find(L"OnUnloadApp"), std::wstring::npos);
}

TEST(Loader, MissingFileOrNonModuleIsReported) {
    OutputCapture capture;
    EXPECT_FALSE(acrxLoadModule(modulePath(L"no_such.arx").c_str(), true));
    EXPECT_NE(events(capture).find(L"file not found"), std::wstring::npos);
    EXPECT_FALSE(acrxLoadModule(L"libsv_host_runtime.so", false)); // no acrxEntryPoint
    EXPECT_FALSE(acrxUnloadModule(L"never_loaded.arx", false));
}

TEST(Loader, UnknownMessageCodesCallNothing) {
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
    auto entry = probeFunction<EntryPoint>(L"probe_a.arx", "acrxEntryPoint");
    ASSERT_NE(entry, nullptr);
    OutputCapture capture;
    EXPECT_EQ(entry(static_cast<AcRx::AppMsgCode>(16), nullptr), 0);
    EXPECT_EQ(entry(static_cast<AcRx::AppMsgCode>(-1), nullptr), 0);
    EXPECT_EQ(events(capture), L"");
    EXPECT_EQ(entry(AcRx::kSaveMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(events(capture), L"[probe_a] OnSave\n");
}

TEST(Loader, ModulesUnloadInReverseOrderOfLoading) {
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_b.arx").c_str(), false));
    OutputCapture capture;
    acrxDynamicLinker()->unloadAll(false);
    const std::wstring& text = events(capture);
    EXPECT_LT(text.find(L"[probe_b] OnUnloadApp"), text.find(L"[probe_a] OnUnloadApp"));
    EXPECT_EQ(GetModuleHandleW(L"probe_a.arx"), nullptr);
    EXPECT_EQ(GetModuleHandleW(L"probe_b.arx"), nullptr);
}

TEST(Loader, EachModuleHasItsOwnApplicationObjectAndPathBuffers) {
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_a.arx").c_str(), false));
    ASSERT_TRUE(acrxLoadModule(modulePath(L"probe_b.arx").c_str(), false));
    using AppFn = CStArxApp* (*)();
    using TextFn = const wchar_t* (*)();
    CStArxApp* appA = probeFunction<AppFn>(L"probe_a.arx", "probeApp")();
    CStArxApp* appB = probeFunction<AppFn>(L"probe_b.arx", "probeApp")();
    EXPECT_NE(appA, appB);
    EXPECT_EQ(appA->GetModuleInstance(), GetModuleHandleW(L"probe_a.arx"));
    EXPECT_EQ(appA->GetResourceInstance(), appA->GetModuleInstance());
    EXPECT_EQ(appA->GetAppId(), GetModuleHandleW(L"probe_a.arx"));

    const wchar_t* nameA = probeFunction<TextFn>(L"probe_a.arx", "probeModuleName")();
    const wchar_t* nameB = probeFunction<TextFn>(L"probe_b.arx", "probeModuleName")();
    EXPECT_NE(nameA, nameB);
    EXPECT_STREQ(nameA, L"/probe_a.arx");
    EXPECT_STREQ(nameB, L"/probe_b.arx");
    const wchar_t* dirA = probeFunction<TextFn>(L"probe_a.arx", "probeModuleDir")();
    EXPECT_NE(dirA, nameA);
    EXPECT_EQ(std::wstring(dirA), binDirW());
    // Modules stay loaded for the life of the process; later tests count their references.
    acrxDynamicLinker()->unloadAll(false);
}

TEST(Loader, OrdinalsHostExportsAndBackslashPaths) {
    std::wstring windowsStyle = modulePath(L"probe_a.arx");
    for (wchar_t& c : windowsStyle) {
        if (c == L'/')
            c = L'\\';
    }
    HMODULE module = LoadLibraryW(windowsStyle.c_str());
    ASSERT_NE(module, nullptr);
    auto seven = reinterpret_cast<int (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(7)));
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven(), 7);
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(8)), nullptr);

    wchar_t small[8];
    EXPECT_EQ(GetModuleFileNameW(module, small, 8), 8u);
    EXPECT_EQ(std::wstring(small).size(), 7u);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    wchar_t path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(module, path, MAX_PATH), 0u);

    HMODULE host = GetModuleHandleW(nullptr);
    EXPECT_EQ(GetProcAddress(host, "probeHostFunction"), nullptr);
    auto function = reinterpret_cast<FARPROC>(&binDir);
    svHostExportAdd("probeHostFunction", function);
    EXPECT_EQ(GetProcAddress(host, "probeHostFunction"), function);
    EXPECT_EQ(svHostExportRemove("probeHostFunction"), function);
    EXPECT_EQ(GetProcAddress(host, "probeHostFunction"), nullptr);
    EXPECT_FALSE(FreeLibrary(host));
}

// A name rewritten in the same place, an entry withdrawn or replaced must be answered as the
// table stands now.
TEST(Loader, HostExportsAnswerTheNameAsItStandsNow) {
    HMODULE host = GetModuleHandleW(nullptr);
    const auto first = reinterpret_cast<FARPROC>(&binDir);
    const auto second = reinterpret_cast<FARPROC>(&modulePath);
    svHostExportAdd("probeFirst", first);
    svHostExportAdd("probeSecond", second);
    char asked[16] = "probeFirst";
    EXPECT_EQ(GetProcAddress(host, asked), first);
    EXPECT_EQ(GetProcAddress(host, asked), first);
    std::strcpy(asked, "probeSecond");
    EXPECT_EQ(GetProcAddress(host, asked), second);
    std::strcpy(asked, "probeThird");
    EXPECT_EQ(GetProcAddress(host, asked), nullptr);

    std::strcpy(asked, "probeFirst");
    EXPECT_EQ(GetProcAddress(host, asked), first);
    EXPECT_EQ(svHostExportRemove("probeFirst"), first);
    EXPECT_EQ(GetProcAddress(host, asked), nullptr);
    svHostExportAdd("probeFirst", second);
    EXPECT_EQ(GetProcAddress(host, asked), second);
    svHostExportAdd("probeFirst", first);
    EXPECT_EQ(GetProcAddress(host, asked), first);

    // A name too long to be remembered is still found, and forgotten when withdrawn.
    const char* longName = "probeAFunctionWhoseNameIsFarLongerThanMost";
    svHostExportAdd(longName, first);
    EXPECT_EQ(GetProcAddress(host, longName), first);
    EXPECT_EQ(GetProcAddress(host, longName), first);
    EXPECT_EQ(svHostExportRemove(longName), first);
    EXPECT_EQ(GetProcAddress(host, longName), nullptr);

    // Many names asked in turn are all found.
    const char* names[] = {"acedMenuCmd", "acedGetInput", "acdbRToS",   "probeFirst", "probeSecond",
                           "acedMenuCmd", "acedGetInput", "acdbRToS",   "probeFirst", "probeSecond",
                           "acedMenuCmd", "probeSecond",  "probeFirst", "acdbRToS"};
    for (const char* name : names)
        EXPECT_NE(GetProcAddress(host, name), nullptr) << name;
    svHostExportRemove("probeFirst");
    svHostExportRemove("probeSecond");
}

} // namespace
