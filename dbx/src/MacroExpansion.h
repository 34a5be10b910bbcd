#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest macro text, placeholders replaced, that is handed to the evaluator. A label holds
// 131 characters, so this is far more than an honest macro needs, and it keeps one update cheap
// whatever a drawing's style and source hold. Past it the label gets "UNKNOWN PROPERTY VALUE".
inline constexpr std::size_t kMaxExpandedMacro = 4096;

// Replaces every "%PROPERTY" of the macro by the text, then every "%NPROPERTY" of the result by
// the number. False, with `expanded` empty, when the result would be longer than
// kMaxExpandedMacro; the result is never built past that size.
bool svExpandMacro(std::wstring_view macro, std::wstring_view text, std::wstring_view number,
                   std::wstring& expanded);
