#include "crt/crt.h"

#include <climits>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "crt/format.h"

namespace {

// Candidates in order of preference for a platform locale name.
std::vector<const char*> candidatesFor(const std::wstring& name) {
    if (name == L".ACP")
        return {"", "C.UTF-8", "C"};
    if (name == L"ENU" || name == L"English_United States.1252")
        return {"en_US.UTF-8", "C.UTF-8", "C"};
    return {};
}

} // namespace

const wchar_t* _wsetlocale(int category, const wchar_t* locale) {
    static std::wstring current;
    const char* result = nullptr;
    if (locale == nullptr) {
        result = std::setlocale(category, nullptr);
    } else {
        const std::wstring name(locale);
        auto candidates = candidatesFor(name);
        if (candidates.empty()) {
            const std::string narrow = svToUtf8(name);
            result = std::setlocale(category, narrow.c_str());
        }
        for (const char* candidate : candidates) {
            result = std::setlocale(category, candidate);
            if (result != nullptr)
                break;
        }
    }
    if (result == nullptr)
        return nullptr;
    current = svFromUtf8(result);
    return current.c_str();
}

int _wtoi(const wchar_t* text) {
    if (text == nullptr)
        return 0;
    const wchar_t* p = text;
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int _wcsicmp(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        const wint_t x = std::towlower(static_cast<wint_t>(*a));
        const wint_t y = std::towlower(static_cast<wint_t>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}
