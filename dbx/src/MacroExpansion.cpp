#include "MacroExpansion.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr std::wstring_view kTextPlaceholder = L"%PROPERTY";
constexpr std::wstring_view kNumberPlaceholder = L"%NPROPERTY";

// Both replacements in one pass over the macro. The number's placeholder is looked for at the
// end of what has been written, so one that the text brings, or that the text completes, is
// replaced as a second pass would replace it; the number written has no "%", so no later match
// can begin inside it. Both the text-replaced macro and the result count against the bound.
class Expansion {
public:
    Expansion(std::wstring_view number, std::wstring& out)
        : m_number(number), m_out(out), m_start(out.size()) {}

    bool put(wchar_t c) {
        // What was written before the last characters that a placeholder could still take is
        // final; past the bound by more than those, the result would be too.
        if (++m_textual > kMaxExpandedMacro ||
            written() >= kMaxExpandedMacro + kNumberPlaceholder.size() - 1)
            return false;
        m_out.push_back(c);
        if (c == L'Y' && endsWithNumberPlaceholder()) {
            m_out.resize(m_out.size() - kNumberPlaceholder.size());
            m_out.append(m_number);
            return written() <= kMaxExpandedMacro;
        }
        return true;
    }

    bool put(std::wstring_view text) {
        for (wchar_t c : text) {
            if (!put(c))
                return false;
        }
        return true;
    }

    std::size_t written() const { return m_out.size() - m_start; }

    void abandon() { m_out.resize(m_start); }

private:
    bool endsWithNumberPlaceholder() const {
        return written() >= kNumberPlaceholder.size() &&
               std::wstring_view(m_out).substr(m_out.size() - kNumberPlaceholder.size()) ==
                   kNumberPlaceholder;
    }

    std::wstring_view m_number;
    std::wstring& m_out;
    std::size_t m_start;
    std::size_t m_textual = 0; // the macro's length with only the text put in
};

// What "%g" writes for numbers from 1e-4 up to a million: six significant digits in fixed
// notation, trailing zeros dropped. False where that is not the form, or where the scaled value
// lies so near a rounding tie that only an exact conversion can tell which way it goes.
bool fixedSixDigits(double number, char (&text)[32], std::size_t& size) {
    const double magnitude = std::fabs(number);
    if (!(magnitude >= 1e-4 && magnitude < 1e6))
        return false;
    static constexpr double kPowers[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    int exponent = -4;
    while (magnitude >= kPowers[exponent + 5])
        ++exponent;
    static constexpr double kScales[] = {1e9, 1e8, 1e7, 1e6, 1e5, 1e4, 1e3, 1e2, 1e1, 1e0};
    const double scaled = magnitude * kScales[exponent + 4];
    const double below = std::floor(scaled);
    if (std::fabs(scaled - below - 0.5) < 1e-6)
        return false;
    auto digits = static_cast<std::uint32_t>(scaled - below < 0.5 ? below : below + 1.0);
    if (digits == 1000000) {
        digits = 100000;
        if (++exponent == 6)
            return false;
    }
    char sixDigits[6];
    for (int k = 5; k >= 0; --k) {
        sixDigits[k] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    size = 0;
    if (std::signbit(number))
        text[size++] = '-';
    if (exponent < 0) {
        text[size++] = '0';
        text[size++] = '.';
        for (int zero = -1; zero > exponent; --zero)
            text[size++] = '0';
    }
    int last = 5;
    const int units = exponent < 0 ? -1 : exponent;
    while (last > units && sixDigits[last] == '0')
        --last;
    for (int k = 0; k <= last; ++k) {
        text[size++] = sixDigits[k];
        if (k == units && k < last)
            text[size++] = '.';
    }
    return true;
}

} // namespace

bool svAppendExpandedMacro(std::wstring_view macro, std::wstring_view text,
                           std::wstring_view number, std::wstring& out) {
    Expansion expansion(number, out);
    for (std::size_t at = 0; at < macro.size(); ++at) {
        const bool placeholder =
            macro[at] == L'%' && macro.substr(at).starts_with(kTextPlaceholder);
        const bool put = placeholder ? expansion.put(text) : expansion.put(macro[at]);
        if (!put) {
            expansion.abandon();
            return false;
        }
        if (placeholder)
            at += kTextPlaceholder.size() - 1;
    }
    if (expansion.written() > kMaxExpandedMacro) {
        expansion.abandon();
        return false;
    }
    return true;
}

std::size_t svNumberPlaceholderText(double number, wchar_t (&text)[kNumberTextChars]) {
    char narrow[32];
    std::size_t size = 0;
    if (!fixedSixDigits(number, narrow, size))
        size = static_cast<std::size_t>(
            std::to_chars(narrow, narrow + sizeof narrow, number, std::chars_format::general, 6)
                .ptr -
            narrow);
    for (std::size_t n = 0; n < size; ++n)
        text[n] = static_cast<wchar_t>(narrow[n]);
    text[size] = L'\0';
    return size;
}
