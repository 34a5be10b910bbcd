#include "MacroExpansion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwchar>

namespace {

constexpr wchar_t kTextPlaceholderChars[] = L"%PROPERTY";
constexpr wchar_t kNumberPlaceholderChars[] = L"%NPROPERTY";
constexpr std::wstring_view kTextPlaceholder = kTextPlaceholderChars;
constexpr std::wstring_view kNumberPlaceholder = kNumberPlaceholderChars;

// Both replacements in one pass over the macro, a piece at a time: a run of the macro up to
// its next "%", or the text. After each piece the number's placeholders are replaced from where
// one could begin, so one that the text brings, or that a piece completes, is replaced as a
// second pass would replace it; the number written has no "%", so no later match can begin
// inside it. Both the text-replaced macro and the result count against the bound.
class Expansion {
public:
    Expansion(std::wstring_view number, std::wstring& out)
        : m_number(number), m_out(out), m_start(out.size()) {}

    bool put(std::wstring_view piece) {
        m_textual += piece.size();
        if (m_textual > kMaxExpandedMacro)
            return false;
        const std::size_t appended = m_out.size();
        m_out.append(piece);
        // A placeholder may have begun in the characters before the piece.
        std::size_t from = std::max(
            m_searched, appended - std::min(appended - m_start, kNumberPlaceholder.size() - 1));
        for (std::size_t at = m_out.find(kNumberPlaceholder, from); at != std::wstring::npos;
             at = m_out.find(kNumberPlaceholder, from)) {
            m_out.replace(at, kNumberPlaceholder.size(), m_number);
            from = at + m_number.size();
        }
        m_searched = from;
        // What lies before the last characters that a placeholder could still take is final.
        return written() <= kMaxExpandedMacro + kNumberPlaceholder.size() - 1;
    }

    std::size_t written() const { return m_out.size() - m_start; }

    void abandon() { m_out.resize(m_start); }

private:
    std::wstring_view m_number;
    std::wstring& m_out;
    std::size_t m_start;
    std::size_t m_searched = 0; // nothing before this can begin a placeholder any more
    std::size_t m_textual = 0;  // the macro's length with only the text put in
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

// Whether the placeholder begins at p. Of a length known here, so the comparison is a few
// instructions: the scan meets every "%" of a macro on each update.
template <std::size_t N>
bool placeholderAt(const wchar_t* p, const wchar_t* end, const wchar_t (&placeholder)[N]) {
    return static_cast<std::size_t>(end - p) >= N - 1 &&
           __builtin_memcmp(p, placeholder, (N - 1) * sizeof(wchar_t)) == 0;
}

const wchar_t* nextPercent(const wchar_t* p, const wchar_t* end) {
    const wchar_t* found = std::wmemchr(p, L'%', static_cast<std::size_t>(end - p));
    return found != nullptr ? found : end;
}

} // namespace

// Its own "%NPROPERTY" are the only ones there can be: the number written has no "%" to begin
// another, and no text comes in to complete one. Both placeholders are told apart in the one
// pass, which writes into room made once for the longest result the macro could give.
SvNumberOnly svAppendNumberOnlyMacro(std::wstring_view macro, std::wstring_view number,
                                     std::wstring& out) {
    // Whether a long macro is refused depends on the text it shows.
    if (macro.size() > kMaxExpandedMacro)
        return SvNumberOnly::General;
    const wchar_t* p = macro.data();
    const wchar_t* const end = p + macro.size();
    const wchar_t* percent = nextPercent(p, end);
    // A macro that shows the text mostly begins with it: told apart before any room is made.
    if (percent != end && placeholderAt(percent, end, kTextPlaceholderChars))
        return SvNumberOnly::General;
    const std::size_t start = out.size();
    const std::size_t growth =
        number.size() > kNumberPlaceholder.size() ? number.size() - kNumberPlaceholder.size() : 0;
    out.resize(start + macro.size() + macro.size() / kNumberPlaceholder.size() * growth);
    wchar_t* const first = out.data() + start;
    wchar_t* to = first;
    const auto refuse = [&](SvNumberOnly outcome) {
        out.resize(start);
        return outcome;
    };
    for (;;) {
        to = std::copy(p, percent, to);
        if (percent == end)
            break;
        if (placeholderAt(percent, end, kTextPlaceholderChars))
            return refuse(SvNumberOnly::General);
        if (placeholderAt(percent, end, kNumberPlaceholderChars)) {
            to = std::copy(number.begin(), number.end(), to);
            p = percent + kNumberPlaceholder.size();
            if (static_cast<std::size_t>(to - first) > kMaxExpandedMacro)
                return refuse(SvNumberOnly::Refused);
        } else {
            *to++ = L'%';
            p = percent + 1;
        }
        percent = nextPercent(p, end);
    }
    const auto written = static_cast<std::size_t>(to - first);
    if (written > kMaxExpandedMacro)
        return refuse(SvNumberOnly::Refused);
    out.resize(start + written);
    return SvNumberOnly::Expanded;
}

bool svAppendExpandedMacro(std::wstring_view macro, std::wstring_view text,
                           std::wstring_view number, std::wstring& out) {
    Expansion expansion(number, out);
    std::size_t at = 0;
    while (at < macro.size()) {
        std::wstring_view piece;
        if (macro.substr(at).starts_with(kTextPlaceholder)) {
            piece = text;
            at += kTextPlaceholder.size();
        } else {
            const std::size_t next = macro.find(L'%', at + 1);
            piece = macro.substr(at, next - at);
            at = next == std::wstring_view::npos ? macro.size() : next;
        }
        if (!expansion.put(piece)) {
            expansion.abandon();
            return false;
        }
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
