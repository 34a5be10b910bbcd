#include "ed/parse.h"

#include <cerrno>
#include <cmath>
#include <cwchar>

#include "ge/curve_math.h"

bool svParseReal(const std::wstring& text, double& value) {
    errno = 0;
    wchar_t* end = nullptr;
    value = std::wcstod(text.c_str(), &end);
    return !text.empty() && end != text.c_str() && *end == L'\0' && errno == 0 &&
           std::isfinite(value);
}

namespace {

// "dist<angle", the angle in degrees counter-clockwise from the x axis.
bool parsePolar(const std::wstring& text, AcGePoint3d& offset) {
    const std::size_t less = text.find(L'<');
    double distance = 0.0, degrees = 0.0;
    if (!svParseReal(text.substr(0, less), distance) ||
        !svParseReal(text.substr(less + 1), degrees))
        return false;
    const double radians = std::fmod(degrees, 360.0) * ge::kPi / 180.0;
    offset = AcGePoint3d(distance * std::cos(radians), distance * std::sin(radians), 0.0);
    return true;
}

} // namespace

bool svParsePoint(const std::wstring& text, const AcGePoint3d* base, AcGePoint3d& point) {
    const bool relative = !text.empty() && text[0] == L'@';
    if (relative && base == nullptr)
        return false;
    if (text.find(L'<') != std::wstring::npos) {
        if (!parsePolar(text.substr(relative ? 1 : 0), point))
            return false;
        if (relative)
            point = *base + point.asVector();
        return std::isfinite(point.x) && std::isfinite(point.y);
    }
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
