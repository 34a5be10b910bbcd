#include "ed/diesel/diesel_time.h"

#include <cmath>

namespace {

// Julian day numbers of 1 January 1 (proleptic Gregorian) and of a day in the year 99999.
constexpr double kFirstDay = 1721426.0;
constexpr double kLastDay = 38245000.0;
constexpr std::int64_t kMillisecondsPerDay = 86400000;

enum class Code {
    Literal,
    Day,
    Day2,
    WeekdayShort,
    WeekdayLong,
    Month,
    Month2,
    MonthShort,
    MonthLong,
    Year2,
    Year4,
    Hour,
    Hour2,
    Minute2,
    Second2,
    Millisecond3,
    AmPmUpper,
    AmPmLower,
    APUpper,
    APLower
};

struct CodeName {
    const wchar_t* name;
    bool exactCase;
    Code code;
};

// Longer codes first, so "MONTH" is not read as "MON" + "TH", nor "MSEC" as "M" + "SEC".
constexpr CodeName kCodes[] = {
    {L"MONTH", false, Code::MonthLong},
    {L"AM/PM", true, Code::AmPmUpper},
    {L"am/pm", true, Code::AmPmLower},
    {L"DDDD", false, Code::WeekdayLong},
    {L"YYYY", false, Code::Year4},
    {L"MSEC", false, Code::Millisecond3},
    {L"DDD", false, Code::WeekdayShort},
    {L"MON", false, Code::MonthShort},
    {L"A/P", true, Code::APUpper},
    {L"a/p", true, Code::APLower},
    {L"DD", false, Code::Day2},
    {L"MO", false, Code::Month2},
    {L"YY", false, Code::Year2},
    {L"HH", false, Code::Hour2},
    {L"MM", false, Code::Minute2},
    {L"SS", false, Code::Second2},
    {L"D", false, Code::Day},
    {L"M", false, Code::Month},
    {L"H", false, Code::Hour},
};

constexpr const wchar_t* kWeekdays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                        L"Thursday", L"Friday", L"Saturday"};
constexpr const wchar_t* kMonths[] = {L"January",   L"February", L"March",    L"April",
                                      L"May",       L"June",     L"July",     L"August",
                                      L"September", L"October",  L"November", L"December"};

wchar_t upperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::size_t matchCode(const std::wstring& picture, std::size_t at, Code& code) {
    for (const CodeName& candidate : kCodes) {
        std::size_t length = 0;
        while (candidate.name[length] != L'\0') {
            const std::size_t position = at + length;
            if (position >= picture.size()) {
                break;
            }
            const wchar_t c = picture[position];
            if (candidate.exactCase ? c != candidate.name[length]
                                    : upperAscii(c) != candidate.name[length]) {
                break;
            }
            ++length;
        }
        if (candidate.name[length] == L'\0') {
            code = candidate.code;
            return length;
        }
    }
    code = Code::Literal;
    return 1;
}

void appendNumber(std::wstring& out, std::int64_t value, int width) {
    const std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    if (value < 0) {
        out += L'-';
    }
    for (std::size_t pad = digits.size(); pad < static_cast<std::size_t>(width); ++pad) {
        out += L'0';
    }
    out += digits;
}

void appendShort(std::wstring& out, const wchar_t* name) {
    out.append(name, 3);
}

} // namespace

bool svCivilFromJulian(double date, SvCivilTime& time) {
    if (!(date >= kFirstDay && date < kLastDay + 1.0)) {
        return false;
    }
    auto dayNumber = static_cast<std::int64_t>(std::floor(date));
    auto milliseconds =
        static_cast<std::int64_t>(std::llround((date - std::floor(date)) * kMillisecondsPerDay));
    if (milliseconds >= kMillisecondsPerDay) {
        milliseconds -= kMillisecondsPerDay;
        ++dayNumber;
    }
    // Richards' conversion from a Julian day number to the Gregorian calendar.
    const std::int64_t f = dayNumber + 1401 + (((4 * dayNumber + 274277) / 146097) * 3) / 4 - 38;
    const std::int64_t e = 4 * f + 3;
    const std::int64_t h = 5 * ((e % 1461) / 4) + 2;
    time.day = static_cast<int>((h % 153) / 5 + 1);
    time.month = static_cast<int>((h / 153 + 2) % 12 + 1);
    time.year = e / 1461 - 4716 + (14 - time.month) / 12;
    time.weekday = static_cast<int>((dayNumber + 1) % 7);
    time.hour = static_cast<int>(milliseconds / 3600000);
    time.minute = static_cast<int>(milliseconds / 60000 % 60);
    time.second = static_cast<int>(milliseconds / 1000 % 60);
    time.millisecond = static_cast<int>(milliseconds % 1000);
    return true;
}

double svJulianFromCivil(const SvCivilTime& time) {
    const std::int64_t a = (14 - time.month) / 12;
    const std::int64_t y = time.year + 4800 - a;
    const std::int64_t m = time.month + 12 * a - 3;
    const std::int64_t dayNumber =
        time.day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    const double milliseconds =
        ((time.hour * 60.0 + time.minute) * 60.0 + time.second) * 1000.0 + time.millisecond;
    return static_cast<double>(dayNumber) + milliseconds / kMillisecondsPerDay;
}

std::wstring svEditTime(const SvCivilTime& time, const std::wstring& picture) {
    bool twelveHour = false;
    Code code = Code::Literal;
    for (std::size_t at = 0; at < picture.size() && !twelveHour;) {
        at += matchCode(picture, at, code);
        twelveHour = code == Code::AmPmUpper || code == Code::AmPmLower || code == Code::APUpper ||
                     code == Code::APLower;
    }
    const int hour = twelveHour ? (time.hour % 12 == 0 ? 12 : time.hour % 12) : time.hour;
    const bool afternoon = time.hour >= 12;

    std::wstring out;
    out.reserve(picture.size());
    std::size_t at = 0;
    while (at < picture.size()) {
        const std::size_t length = matchCode(picture, at, code);
        switch (code) {
        case Code::Literal:
            out += picture[at];
            break;
        case Code::Day:
            appendNumber(out, time.day, 1);
            break;
        case Code::Day2:
            appendNumber(out, time.day, 2);
            break;
        case Code::WeekdayShort:
            appendShort(out, kWeekdays[time.weekday]);
            break;
        case Code::WeekdayLong:
            out += kWeekdays[time.weekday];
            break;
        case Code::Month:
            appendNumber(out, time.month, 1);
            break;
        case Code::Month2:
            appendNumber(out, time.month, 2);
            break;
        case Code::MonthShort:
            appendShort(out, kMonths[time.month - 1]);
            break;
        case Code::MonthLong:
            out += kMonths[time.month - 1];
            break;
        case Code::Year2:
            appendNumber(out, time.year % 100, 2);
            break;
        case Code::Year4:
            appendNumber(out, time.year, 4);
            break;
        case Code::Hour:
            appendNumber(out, hour, 1);
            break;
        case Code::Hour2:
            appendNumber(out, hour, 2);
            break;
        case Code::Minute2:
            appendNumber(out, time.minute, 2);
            break;
        case Code::Second2:
            appendNumber(out, time.second, 2);
            break;
        case Code::Millisecond3:
            appendNumber(out, time.millisecond, 3);
            break;
        case Code::AmPmUpper:
            out += afternoon ? L"PM" : L"AM";
            break;
        case Code::AmPmLower:
            out += afternoon ? L"pm" : L"am";
            break;
        case Code::APUpper:
            out += afternoon ? L'P' : L'A';
            break;
        case Code::APLower:
            out += afternoon ? L'p' : L'a';
            break;
        }
        at += length;
    }
    return out;
}
