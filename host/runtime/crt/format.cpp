#include "crt/format.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

enum class Length { None, Char, Short, Long, LongLong, Size, Max, PtrDiff, LongDouble };

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    wchar_t conversion = 0;
};

bool isFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

int readNumber(const wchar_t*& p) {
    int n = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (n < 100000)
            n = n * 10 + (*p - L'0');
        ++p;
    }
    return n;
}

Length readLength(const wchar_t*& p) {
    switch (*p) {
    case L'h':
        ++p;
        if (*p == L'h') {
            ++p;
            return Length::Char;
        }
        return Length::Short;
    case L'l':
        ++p;
        if (*p == L'l') {
            ++p;
            return Length::LongLong;
        }
        return Length::Long;
    case L'I':
        if (p[1] == L'6' && p[2] == L'4') {
            p += 3;
            return Length::LongLong;
        }
        ++p;
        return Length::Size;
    case L'z':
        ++p;
        return Length::Size;
    case L'j':
        ++p;
        return Length::Max;
    case L't':
        ++p;
        return Length::PtrDiff;
    case L'L':
        ++p;
        return Length::LongDouble;
    default:
        return Length::None;
    }
}

void pad(std::wstring& out, const std::wstring& text, const Conversion& conv) {
    const bool left = conv.flags.find('-') != std::string::npos;
    const std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
    const std::size_t fill = width > text.size() ? width - text.size() : 0;
    if (!left)
        out.append(fill, L' ');
    out += text;
    if (left)
        out.append(fill, L' ');
}

std::wstring narrowToWide(const char* text, int precision) {
    std::wstring out;
    for (int i = 0; text[i] != '\0' && (precision < 0 || i < precision); ++i)
        out += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    return out;
}

template <class T>
std::wstring formatWith(const std::string& format, T value) {
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (n < 0)
        return L"";
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return narrowToWide(buffer, -1);
    std::string large(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(large.data(), large.size(), format.c_str(), value);
    return narrowToWide(large.c_str(), -1);
}

// Numbers go through the C library with an equivalent narrow format.
std::wstring formatNumber(const Conversion& conv, va_list& args) {
    std::string format = "%" + conv.flags;
    if (conv.width >= 0)
        format += std::to_string(conv.width);
    if (conv.precision >= 0) {
        // Not `"." + std::to_string(...)`, which g++ 12 at -O3 flags with a false -Wrestrict.
        format += '.';
        format += std::to_string(conv.precision);
    }
    const char conversion = static_cast<char>(conv.conversion);
    switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X': {
        const bool isSigned = conversion == 'd' || conversion == 'i';
        format += "ll";
        format += conversion;
        long long value = 0;
        switch (conv.length) {
        case Length::Long:
            value =
                isSigned ? va_arg(args, long) : static_cast<long long>(va_arg(args, unsigned long));
            break;
        case Length::LongLong:
        case Length::Max:
            value = va_arg(args, long long);
            break;
        case Length::Size:
        case Length::PtrDiff:
            value = isSigned ? va_arg(args, std::ptrdiff_t)
                             : static_cast<long long>(va_arg(args, std::size_t));
            break;
        default: {
            const int raw = va_arg(args, int);
            if (conv.length == Length::Char)
                value = isSigned ? static_cast<signed char>(raw) : static_cast<unsigned char>(raw);
            else if (conv.length == Length::Short)
                value = isSigned ? static_cast<short>(raw) : static_cast<unsigned short>(raw);
            else
                value = isSigned ? static_cast<long long>(raw)
                                 : static_cast<long long>(static_cast<unsigned int>(raw));
        }
        }
        return formatWith(format, value);
    }
    case 'p':
        return formatWith("%p", va_arg(args, void*));
    default: // f F e E g G a A
        if (conv.length == Length::LongDouble)
            return formatWith(format + 'L' + conversion, va_arg(args, long double));
        return formatWith(format + conversion, va_arg(args, double));
    }
}

} // namespace

std::wstring svFormatV(const wchar_t* format, va_list argsIn) {
    std::wstring out;
    if (format == nullptr)
        return out;
    va_list args;
    va_copy(args, argsIn);
    const wchar_t* p = format;
    while (*p != L'\0') {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        Conversion conv;
        while (isFlag(*p))
            conv.flags += static_cast<char>(*p++);
        if (*p == L'*') {
            ++p;
            conv.width = va_arg(args, int);
            if (conv.width < 0) {
                conv.flags += '-';
                conv.width = -conv.width;
            }
        } else if (*p >= L'0' && *p <= L'9') {
            conv.width = readNumber(p);
        }
        if (*p == L'.') {
            ++p;
            if (*p == L'*') {
                ++p;
                conv.precision = va_arg(args, int);
            } else {
                conv.precision = readNumber(p);
            }
        }
        conv.length = readLength(p);
        conv.conversion = *p;
        if (conv.conversion == L'\0') {
            out.append(start);
            break;
        }
        ++p;
        switch (conv.conversion) {
        case L's':
        case L'S': {
            const bool narrow = conv.length == Length::Short || conv.conversion == L'S';
            std::wstring text;
            if (narrow) {
                const char* s = va_arg(args, const char*);
                text = narrowToWide(s != nullptr ? s : "(null)", conv.precision);
            } else {
                const wchar_t* s = va_arg(args, const wchar_t*);
                text = s != nullptr ? s : L"(null)";
                if (conv.precision >= 0 && text.size() > static_cast<std::size_t>(conv.precision))
                    text.resize(static_cast<std::size_t>(conv.precision));
            }
            pad(out, text, conv);
            break;
        }
        case L'c':
        case L'C': {
            const bool narrow = conv.length == Length::Short || conv.conversion == L'C';
            const auto raw = static_cast<wint_t>(va_arg(args, int));
            const wchar_t c = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(raw))
                                     : static_cast<wchar_t>(raw);
            pad(out, std::wstring(1, c), conv);
            break;
        }
        case L'd':
        case L'i':
        case L'u':
        case L'o':
        case L'x':
        case L'X':
        case L'p':
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            out += formatNumber(conv, args);
            break;
        default:
            // %n and anything unknown: written as it stands, no argument taken.
            out.append(start, p);
        }
    }
    va_end(args);
    return out;
}

std::wstring svFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring out = svFormatV(format, args);
    va_end(args);
    return out;
}
