#include "alias_files.h"

#include <sys/stat.h>

#include <string>

#include "crt/format.h"
#include "ed/aliases.h"
#include "rx/print.h"
#include "shell/registry.h"
#include "win/modules.h"

namespace {

constexpr const wchar_t* kAliasFile = L"svhost.pgp";

std::wstring programFolder() {
    wchar_t path[4096];
    const DWORD n = GetModuleFileNameW(nullptr, path, 4096);
    const std::wstring program(path, n);
    const std::size_t slash = program.rfind(L'/');
    return slash == std::wstring::npos ? L"." : program.substr(0, slash);
}

void load(const std::wstring& folder) {
    if (folder.empty())
        return;
    const std::wstring path = folder + L"/" + kAliasFile;
    struct stat info {};
    if (stat(svToUtf8(path).c_str(), &info) != 0)
        return;
    std::wstring problems;
    svLoadCommandAliases(path.c_str(), problems);
    if (!problems.empty())
        acutPrintf(L"\nCommand aliases: %s.", problems.c_str());
}

} // namespace

void loadAliasFiles() {
    load(programFolder());
    load(svConfigurationFolder());
}
