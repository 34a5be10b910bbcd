#include "dialogs/AnsiText.h"

#include <vector>

#include "win/stringapiset.h"

CString widenAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return CString();
    std::vector<wchar_t> wide(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide.data(), length);
    return CString(wide.data());
}
