#include "ed/parse.h"

#include <cerrno>
#include <cmath>
#include <cwchar>

bool svParseReal(const std::wstring& text, double& value) {
    errno = 0;
    wchar_t* end = nullptr;
    value = std::wcstod(text.c_str(), &end);
    return !text.empty() && end != text.c_str() && *end == L'\0' && errno == 0 &&
           std::isfinite(value);
}

bool svParsePoint(const std::wstring& text, const AcGePoint3d* base, AcGePoint3d& point) {
    const bool relative = !text.empty() && text[0] == L'@';
    if (relative && base == nullptr)
        return false;
    double xyz[3] = {0, 0, 0};
    std::size_t start = relative ? 1 : 0;
    int count = 0;
    for (;;) {
        if (count == 3)
            return false;
        const std::size_t comma = text.find(L',', start);
        const std::wstring part =
            text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        if (!svParseReal(part, xyz[count++]))
            return false;
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    if (count < 2)
        return false;
    point = AcGePoint3d(xyz[0], xyz[1], xyz[2]);
    if (relative)
        point = *base + point.asVector();
    return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}
