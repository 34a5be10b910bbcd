#pragma once

#include <clocale>

#pragma GCC visibility push(default)

// Locale selection by the names the modules use: ".ACP" is the user's own locale, "ENU" US
// English, whose numbers have a decimal point. Each maps to a locale present on this system.
// Answers the new locale's name, or null when it could not be set.
const wchar_t* _wsetlocale(int category, const wchar_t* locale);

// Decimal prefix of the text as an int, zero when there is none, saturated at the int range.
int _wtoi(const wchar_t* text);
// Compares without regard to letter case.
int _wcsicmp(const wchar_t* a, const wchar_t* b);

#pragma GCC visibility pop
