#include "win/modules.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "crt/format.h"
#include "win/host_exports_table.h"

struct HINSTANCE__ {
    void* handle;      // from dlopen; null for the host program
    std::wstring path; // canonical
    int references;
};

namespace {

using DllMainProc = BOOL (*)(HINSTANCE, DWORD, LPVOID);

std::vector<std::unique_ptr<HINSTANCE__>>& libraries() {
    static std::vector<std::unique_ptr<HINSTANCE__>> loaded;
    return loaded;
}

std::wstring executablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? svFromUtf8(std::string(buffer, static_cast<std::size_t>(n))) : std::wstring();
}

HINSTANCE hostProgram() {
    static HINSTANCE__ host{nullptr, executablePath(), 1};
    return &host;
}

std::wstring withForwardSlashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring folderOf(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool sameFileName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) ==
                      std::towlower(static_cast<wint_t>(y));
           });
}

// The folder of the runtime library, which sits beside the host program and the modules.
std::wstring hostFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LoadLibraryW), &info) == 0 || info.dli_fname == nullptr)
        return folderOf(executablePath());
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) == nullptr)
        return folderOf(executablePath());
    return folderOf(svFromUtf8(resolved));
}

std::wstring canonical(const std::wstring& path) {
    char resolved[PATH_MAX];
    if (realpath(svToUtf8(path).c_str(), resolved) == nullptr)
        return std::wstring();
    return svFromUtf8(resolved);
}

HINSTANCE findLoaded(const std::wstring& canonicalPath) {
    for (auto& library : libraries()) {
        if (library->path == canonicalPath)
            return library.get();
    }
    return nullptr;
}

HINSTANCE findByFileName(const std::wstring& name) {
    for (auto& library : libraries()) {
        if (sameFileName(fileNameOf(library->path), name))
            return library.get();
    }
    return nullptr;
}

// The file a name refers to: a path as it stands, a bare name beside the host or in the working
// folder. Empty when there is no such file.
std::wstring locate(const std::wstring& name) {
    if (name.find(L'/') != std::wstring::npos)
        return canonical(name);
    for (const std::wstring& folder : {hostFolder(), std::wstring(L".")}) {
        std::wstring found = canonical(folder + L"/" + name);
        if (!found.empty())
            return found;
    }
    return std::wstring();
}

std::wstring& lastLoadError() {
    static std::wstring text;
    return text;
}

void forget(HMODULE module) {
    auto& all = libraries();
    all.erase(std::find_if(all.begin(), all.end(),
                           [module](const auto& library) { return library.get() == module; }));
}

bool isLoaded(HMODULE module) {
    return module == hostProgram() ||
           std::any_of(libraries().begin(), libraries().end(),
                       [module](const auto& library) { return library.get() == module; });
}

DllMainProc dllMainOf(HMODULE module) {
    return reinterpret_cast<DllMainProc>(dlsym(module->handle, "DllMain"));
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
    lastLoadError().clear();
    if (fileName == nullptr || *fileName == L'\0') {
        lastLoadError() = L"no file name";
        return nullptr;
    }
    const std::wstring name = withForwardSlashes(fileName);
    if (name.find(L'/') == std::wstring::npos) {
        if (HINSTANCE loaded = findByFileName(name)) {
            ++loaded->references;
            return loaded;
        }
    }
    const std::wstring path = locate(name);
    if (path.empty()) {
        lastLoadError() = L"file not found";
        return nullptr;
    }
    if (HINSTANCE loaded = findLoaded(path)) {
        ++loaded->references;
        return loaded;
    }
    void* handle = dlopen(svToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        lastLoadError() = reason != nullptr ? svFromUtf8(reason) : L"not a loadable module";
        return nullptr;
    }
    libraries().push_back(std::make_unique<HINSTANCE__>(HINSTANCE__{handle, path, 1}));
    HINSTANCE module = libraries().back().get();
    if (DllMainProc dllMain = dllMainOf(module)) {
        if (!dllMain(module, DLL_PROCESS_ATTACH, nullptr)) {
            forget(module);
            dlclose(handle);
            lastLoadError() = L"the module refused to attach";
            return nullptr;
        }
    }
    return module;
}

BOOL FreeLibrary(HMODULE module) {
    if (module == hostProgram() || !isLoaded(module))
        return FALSE;
    if (--module->references > 0)
        return TRUE;
    if (DllMainProc dllMain = dllMainOf(module))
        dllMain(module, DLL_PROCESS_DETACH, nullptr);
    void* handle = module->handle;
    forget(module);
    dlclose(handle);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (procName == nullptr)
        return nullptr;
    // The host program first: modules ask it by name on every update.
    if (module == hostProgram())
        return IS_INTRESOURCE(procName) ? nullptr : svHostExportFind(procName);
    if (!isLoaded(module))
        return nullptr;
    if (IS_INTRESOURCE(procName)) {
        const std::string symbol =
            "SvOrdinalExport_" + std::to_string(reinterpret_cast<std::uintptr_t>(procName));
        auto* slot = static_cast<const FARPROC*>(dlsym(module->handle, symbol.c_str()));
        return slot != nullptr ? *slot : nullptr;
    }
    return reinterpret_cast<FARPROC>(dlsym(module->handle, procName));
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName == nullptr)
        return hostProgram();
    const std::wstring name = withForwardSlashes(moduleName);
    if (name.find(L'/') == std::wstring::npos)
        return findByFileName(name);
    const std::wstring path = canonical(name);
    return path.empty() ? nullptr : findLoaded(path);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0)
        return 0;
    if (module == nullptr)
        module = hostProgram();
    if (!isLoaded(module))
        return 0;
    const std::wstring& path = module->path;
    if (path.size() >= size) {
        path.copy(buffer, size - 1);
        buffer[size - 1] = L'\0';
        return size;
    }
    path.copy(buffer, path.size());
    buffer[path.size()] = L'\0';
    return static_cast<DWORD>(path.size());
}

std::vector<HMODULE> svLoadedModules() {
    std::vector<HMODULE> modules;
    for (auto& library : libraries())
        modules.push_back(library.get());
    return modules;
}

LPCWSTR svLastLoadError() {
    return lastLoadError().c_str();
}
