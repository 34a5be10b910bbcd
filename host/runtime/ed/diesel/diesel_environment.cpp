#include "ed/diesel.h"

#include <chrono>
#include <ctime>

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

std::wstring SvDieselEnvironment::formatLinear(double value, int unit, int precision) {
    return svFormatLinear(value, unit < 0 ? kSvUnitDecimal : unit, precision < 0 ? 4 : precision);
}

std::wstring SvDieselEnvironment::formatAngle(double radians, int unit, int precision) {
    return svFormatAngle(radians, unit < 0 ? kSvAngleDegrees : unit, precision < 0 ? 0 : precision);
}
