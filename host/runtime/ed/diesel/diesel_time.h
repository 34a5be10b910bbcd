#pragma once

#include <cstdint>
#include <string>

// A moment split into calendar fields. weekday counts from Sunday = 0.
struct SvCivilTime {
    std::int64_t year = 0;
    int month = 1;
    int day = 1;
    int weekday = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The DATE representation: Julian day number plus the fraction of the day since midnight.
// False for dates before the year 1, far beyond the year 99000, or not a number.
bool svCivilFromJulian(double date, SvCivilTime& time);
double svJulianFromCivil(const SvCivilTime& time);

// $(edtime) picture formatting: codes are replaced by the fields of time, other characters are
// copied. Codes match longest first and without regard to case, except the four am/pm codes,
// whose case selects the case of what they write; any of them switches hours to a 12-hour clock.
std::wstring svEditTime(const SvCivilTime& time, const std::wstring& picture);
