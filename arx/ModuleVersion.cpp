#include "ModuleVersion.h"

#include <cstdlib>
#include <memory>

#include "win/modules.h"
#include "win/version.h"

void CModuleVersion::ReadModule(HINSTANCE module, const wchar_t* block, const wchar_t* key) {
    if (module == nullptr)
        return;
    wchar_t path[260];
    if (GetModuleFileNameW(module, path, 260) == 0)
        return;
    Read(path, block, key);
}

void CModuleVersion::Read(const wchar_t* path, const wchar_t* block, const wchar_t* key) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return;
    std::unique_ptr<void, decltype(&std::free)> data(std::malloc(size), &std::free);
    if (!data || !GetFileVersionInfoW(path, handle, size, data.get()))
        return;

    void* fixedData = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.get(), L"\\", &fixedData, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedData);
        m_strProductVersion.Format(
            L"%u.%u.%u.%u", HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
            HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
        m_strFileVersion.Format(L"%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                                LOWORD(fixed->dwFileVersionLS));
    }
    if (block == nullptr || key == nullptr)
        return;
    CString query;
    query.Format(L"\\StringFileInfo\\%s\\%s", block, key);
    void* value = nullptr;
    if (VerQueryValueW(data.get(), query, &value, &length) && value != nullptr)
        m_strValue = static_cast<const wchar_t*>(value);
}
