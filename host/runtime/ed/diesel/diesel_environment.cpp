#include "ed/diesel.h"

#include <chrono>
#include <ctime>
#include <iterator>

#include "ed/diesel/diesel_time.h"
#include "units/units.h"

SvDieselEnvironment::~SvDieselEnvironment() = default;

bool SvDieselEnvironment::getVar(const std::wstring&, std::wstring& value) {
    value.clear();
    return false;
}

bool SvDieselEnvironment::getEnv(const std::wstring&, std::wstring& value) {
    value.clear();
    return false;
}

double SvDieselEnvironment::currentDate() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    SvCivilTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    time.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    return svJulianFromCivil(time);
}

void SvDieselEnvironment::formatLinear(double value, int unit, int precision, std::wstring& out) {
    unit = unit < 0 ? kSvUnitDecimal : unit;
    precision = precision < 0 ? 4 : precision;
    // Room for any value a unit mode writes; only text that might have been cut is formatted
    // again whole.
    wchar_t text[512];
    const std::size_t count = svFormatLinearTo(value, unit, precision, text, std::size(text));
    if (count + 1 < std::size(text)) {
        out.append(text, count);
    } else {
        out += svFormatLinear(value, unit, precision);
    }
}

void SvDieselEnvironment::formatAngle(double radians, int unit, int precision, std::wstring& out) {
    out += svFormatAngle(radians, unit < 0 ? kSvAngleDegrees : unit, precision < 0 ? 0 : precision);
}
