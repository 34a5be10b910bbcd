#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "crt/format.h"
#include "shell/shell.h"

namespace {

// Beside the runtime library, wherever the host was started from.
std::wstring windowsFolder() {
    Dl_info info{};
    char resolved[PATH_MAX];
    if (dladdr(reinterpret_cast<void*>(&GetWindowsDirectoryW), &info) == 0 ||
        info.dli_fname == nullptr || realpath(info.dli_fname, resolved) == nullptr)
        return L"";
    std::string path = resolved;
    return svFromUtf8(path.substr(0, path.rfind('/')) + "/windows");
}

} // namespace

UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
    static const std::wstring folder = windowsFolder();
    const auto length = static_cast<UINT>(folder.size());
    if (buffer == nullptr || size <= length)
        return length + 1;
    std::memcpy(buffer, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
    return length;
}
