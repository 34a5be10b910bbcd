#include "module_path.h"

#include <cwchar>

namespace {

wchar_t* lastSeparator(wchar_t* path) {
    wchar_t* last = nullptr;
    for (wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/')
            last = p;
    }
    return last;
}

} // namespace

wchar_t* MoveFileNameToFront(wchar_t* path) {
    wchar_t* separator = lastSeparator(path);
    if (separator == nullptr)
        return nullptr;
    std::wmemmove(path, separator, std::wcslen(separator) + 1);
    return path;
}

wchar_t* CutAtLastSeparator(wchar_t* path) {
    wchar_t* separator = lastSeparator(path);
    if (separator == nullptr)
        return nullptr;
    *separator = L'\0';
    return path;
}
