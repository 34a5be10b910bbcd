#include "win/stringapiset.h"

#include <cstring>
#include <string>

#include "crt/format.h"

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int length, LPWSTR buffer, int capacity) {
    if (text == nullptr || length < -1 || length == 0 || capacity < 0 ||
        (capacity > 0 && buffer == nullptr))
        return 0;
    const std::size_t bytes =
        length == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    const std::wstring wide = svFromUtf8(std::string(text, bytes));
    const int needed = static_cast<int>(wide.size());
    if (capacity == 0)
        return needed;
    if (needed > capacity)
        return 0;
    wide.copy(buffer, wide.size());
    return needed;
}
