#include "versions.h"

#include <cstdio>
#include <vector>

#include "crt/format.h"
#include "rx/dynlinker.h"
#include "win/modules.h"
#include "win/version.h"

namespace {

std::string fileVersion(const std::wstring& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<unsigned char> block(size);
    void* value = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), handle, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return "(no version information)";
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
                  LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                  LOWORD(info->dwFileVersionLS));
    return text;
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

int printVersions(const HostOptions& options) {
    std::printf("svhost %s\n", SVHOST_VERSION);
    int status = 0;
    for (const std::wstring& module : options.modules) {
        if (!acrxLoadModule(module.c_str(), false)) {
            std::fprintf(stderr, "svhost: cannot load %s: %s\n", svToUtf8(module).c_str(),
                         svToUtf8(svLastLoadError()).c_str());
            status = 1;
        }
    }
    for (HMODULE module : svLoadedModules()) {
        wchar_t path[4096] = L"";
        GetModuleFileNameW(module, path, 4096);
        std::printf("  %-22s %s\n", svToUtf8(fileNameOf(path)).c_str(), fileVersion(path).c_str());
    }
    acrxDynamicLinker()->unloadAll(false);
    return status;
}
