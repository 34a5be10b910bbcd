// The macro's placeholders put in by one pass, against the plain two-pass replacement; and the
// number's text against the C library's "%g" conversion.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "MacroExpansion.h"

namespace {

// Every occurrence, left to right, of the placeholder replaced; then the next placeholder.
std::wstring replacedAll(std::wstring in, std::wstring_view placeholder, std::wstring_view value) {
    for (std::size_t at = in.find(placeholder); at != std::wstring::npos;
         at = in.find(placeholder, at + value.size()))
        in.replace(at, placeholder.size(), value);
    return in;
}

std::wstring twoPasses(const std::wstring& macro, const std::wstring& text,
                       const std::wstring& number) {
    return replacedAll(replacedAll(macro, L"%PROPERTY", text), L"%NPROPERTY", number);
}

// Pieces that make placeholders, halves of them and near misses when strung together.
std::wstring randomPieces(std::mt19937& random, int count) {
    static const std::vector<std::wstring> pieces = {
        L"%PROPERTY", L"%NPROPERTY", L"%N", L"PROPERTY", L"NPROPERTY", L"%",  L"N",      L"Y",
        L"%PROPERT",  L"x",          L"$(", L",",        L")",         L"%P", L"ROPERTY"};
    std::wstring built;
    for (int i = 0; i < count; ++i)
        built += pieces[random() % pieces.size()];
    return built;
}

TEST(MacroExpansion, OnePassGivesWhatTwoReplacementPassesGive) {
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const std::wstring macro = randomPieces(random, static_cast<int>(random() % 8));
        const std::wstring text = randomPieces(random, static_cast<int>(random() % 4));
        const std::wstring number = round % 3 == 0 ? L"1.5e+07" : L"42";
        std::wstring out = L"M=";
        ASSERT_TRUE(svAppendExpandedMacro(macro, text, number, out));
        ASSERT_EQ(out, L"M=" + twoPasses(macro, text, number))
            << "macro " << std::string(macro.begin(), macro.end()) << ", text "
            << std::string(text.begin(), text.end());
        const bool showsText = macro.find(L"%PROPERTY") != std::wstring::npos;
        std::wstring numberOnly = L"M=";
        ASSERT_EQ(svAppendNumberOnlyMacro(macro, number, numberOnly),
                  showsText ? SvNumberOnly::General : SvNumberOnly::Expanded)
            << "macro " << std::string(macro.begin(), macro.end());
        ASSERT_EQ(numberOnly, showsText ? L"M=" : L"M=" + twoPasses(macro, L"", number))
            << "macro " << std::string(macro.begin(), macro.end());
    }
}

TEST(MacroExpansion, PlaceholdersThatMeetAcrossTheTextAreReplaced) {
    std::wstring out;
    // "%N" of the macro and the text "PROPERTY" make a number placeholder; the text's own
    // "%PROPERTY" is not put in again.
    ASSERT_TRUE(svAppendExpandedMacro(L"%N%PROPERTY|%PROPERTY", L"PROPERTY", L"7", out));
    EXPECT_EQ(out, L"7|PROPERTY");
    out.clear();
    ASSERT_TRUE(svAppendExpandedMacro(L"[%PROPERTY]", L"%N%PROPERTY", L"7", out));
    EXPECT_EQ(out, L"[%N%PROPERTY]");
    out.clear();
    ASSERT_TRUE(svAppendExpandedMacro(L"%PROPERTYPROPERTY", L"%N", L"7", out));
    EXPECT_EQ(out, L"7");
}

TEST(MacroExpansion, TheBoundHoldsForTheTextPutInAndForTheResult) {
    const std::wstring fits(kMaxExpandedMacro - 2, L'y');
    std::wstring out = L"M=";
    EXPECT_TRUE(svAppendExpandedMacro(L"[%PROPERTY]", fits, L"0", out));
    EXPECT_EQ(out.size(), 2 + kMaxExpandedMacro);

    // Refused, and what was there before is left as it was.
    out = L"M=";
    EXPECT_FALSE(svAppendExpandedMacro(L"[%PROPERTY]!", fits, L"0", out));
    EXPECT_EQ(out, L"M=");

    // The text put in counts even when the number's placeholders would shrink it again.
    std::wstring numbers;
    while (numbers.size() + 10 <= kMaxExpandedMacro)
        numbers += L"%NPROPERTY";
    out.clear();
    EXPECT_TRUE(svAppendExpandedMacro(L"%PROPERTY", numbers, L"0", out));
    EXPECT_EQ(out, std::wstring(numbers.size() / 10, L'0'));
    out.clear();
    EXPECT_FALSE(svAppendExpandedMacro(L"%PROPERTY%PROPERTY", numbers, L"0", out));
    EXPECT_TRUE(out.empty());

    // A number longer than its placeholder can push the result past the bound on its own.
    out.clear();
    EXPECT_FALSE(svAppendExpandedMacro(L"%PROPERTY", numbers, L"-1.23457e+06", out));
    EXPECT_TRUE(out.empty());

    // The same bounds for a macro of the number alone; a longer macro is left to the whole
    // expansion, as the text it might show would decide.
    out = L"M=";
    EXPECT_EQ(svAppendNumberOnlyMacro(numbers, L"0", out), SvNumberOnly::Expanded);
    EXPECT_EQ(out, L"M=" + std::wstring(numbers.size() / 10, L'0'));
    out = L"M=";
    EXPECT_EQ(svAppendNumberOnlyMacro(numbers, L"-1.23457e+06", out), SvNumberOnly::Refused);
    EXPECT_EQ(out, L"M=");
    EXPECT_EQ(svAppendNumberOnlyMacro(numbers + L"%NPROPERTY", L"", out), SvNumberOnly::General);
    EXPECT_EQ(out, L"M=");
    EXPECT_EQ(svAppendNumberOnlyMacro(L"x%NPROPERTY%PROPERTY", L"1", out), SvNumberOnly::General);
    EXPECT_EQ(out, L"M=");
}

std::wstring percentG(double number) {
    char narrow[32];
    char* end =
        std::to_chars(narrow, narrow + sizeof narrow, number, std::chars_format::general, 6).ptr;
    return std::wstring(narrow, end);
}

std::wstring placeholderText(double number) {
    wchar_t text[kNumberTextChars];
    const std::size_t size = svNumberPlaceholderText(number, text);
    EXPECT_EQ(size, std::wcslen(text));
    return text;
}

TEST(NumberPlaceholderText, WritesWhatPercentGWrites) {
    std::vector<double> numbers = {0.0,
                                   -0.0,
                                   1.0,
                                   24.0,
                                   12.5,
                                   3.14159265,
                                   0.5,
                                   0.0001,
                                   1e-4,
                                   9.99999e-5,
                                   999999.0,
                                   999999.4,
                                   999999.5,
                                   999999.7,
                                   1e6,
                                   1234567.0,
                                   99999.95,
                                   1.234565,
                                   0.1234565,
                                   2.0000005,
                                   std::nextafter(1e-4, 0.0),
                                   std::nextafter(1e-4, 1.0),
                                   std::nextafter(1e6, 0.0),
                                   std::nextafter(0.001, 0.0),
                                   std::nextafter(10.0, 0.0),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::denorm_min()};
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> exponent(-7.0, 8.0);
    for (int i = 0; i < 200000; ++i) {
        const double magnitude = std::pow(10.0, exponent(random));
        numbers.push_back(i % 2 == 0 ? magnitude : -magnitude);
    }
    // Six-digit values with a 5 after them, the ties that only exact conversion settles.
    for (int digits = 100000; digits < 1000000; digits += 7919)
        for (int exponentOfTen = -4; exponentOfTen <= 5; ++exponentOfTen)
            numbers.push_back((digits + 0.5) * std::pow(10.0, exponentOfTen - 5));
    for (double number : numbers)
        ASSERT_EQ(placeholderText(number), percentG(number)) << number;
}

} // namespace
