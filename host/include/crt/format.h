#pragma once

#include <cstdarg>
#include <string>

#pragma GCC visibility push(default)

// printf formatting by the rules of the platform the modules were written for: in a wide format
// %s and %c take wide arguments (%hs, %hc, %S narrow ones), %ls/%lc wide. Numbers format as the C
// library does under the current numeric locale. An unknown conversion is copied as written.
std::wstring svFormatV(const wchar_t* format, va_list args);
std::wstring svFormat(const wchar_t* format, ...);

// UTF-8 on the outside, wide characters inside. Malformed input becomes U+FFFD.
std::string svToUtf8(const std::wstring& text);
std::wstring svFromUtf8(const std::string& text);

#pragma GCC visibility pop
