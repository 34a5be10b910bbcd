#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest macro text, placeholders replaced, that is handed to the evaluator. A label holds
// 131 characters, so this is far more than an honest macro needs, and it keeps one update cheap
// whatever a drawing's style and source hold. Past it the label gets "UNKNOWN PROPERTY VALUE".
inline constexpr std::size_t kMaxExpandedMacro = 4096;

// Appends the macro to `out` with every "%PROPERTY" replaced by the text, then every
// "%NPROPERTY" of that by the number. False, with `out` as it was, when the macro with the text
// put in, or the result, would be longer than kMaxExpandedMacro; the result is never built past
// twice that size.
bool svAppendExpandedMacro(std::wstring_view macro, std::wstring_view text,
                           std::wstring_view number, std::wstring& out);

// What svAppendExpandedMacro gives for a macro that does not show the text ("%PROPERTY"), in a
// single plain pass: Expanded, or Refused with `out` as it was. General, with `out` as it was,
// for a macro that does show the text or whose bound depends on it: svAppendExpandedMacro decides.
enum class SvNumberOnly { Expanded, Refused, General };
SvNumberOnly svAppendNumberOnlyMacro(std::wstring_view macro, std::wstring_view number,
                                     std::wstring& out);

// Room for the number's text: "%g" never writes more than 13 characters.
inline constexpr std::size_t kNumberTextChars = 32;

// What "%g" writes for the number, with a point whatever the numeric locale, for the macro reads
// numbers with a point. Answers the characters written, the terminator excluded.
std::size_t svNumberPlaceholderText(double number, wchar_t (&text)[kNumberTextChars]);
