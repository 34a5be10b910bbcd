#include "units/units.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>

namespace {

constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// Below this every double is held exactly by the integer types we round into.
constexpr double kExactLimit = 9.0e15;

// The text being written, on the stack: units are formatted inside every label's update. Its
// room holds the longest text any mode writes (a double's 309 integer digits and the rest).
class Text {
public:
    Text& operator+=(wchar_t c) {
        if (m_size < kRoom)
            m_chars[m_size++] = c;
        return *this;
    }
    Text& operator+=(const wchar_t* text) {
        while (*text != L'\0')
            *this += *text++;
        return *this;
    }
    std::wstring_view view(std::size_t from = 0) const { return {m_chars + from, m_size - from}; }

private:
    static constexpr std::size_t kRoom = 400;
    wchar_t m_chars[kRoom];
    std::size_t m_size = 0;
};

int clampPrecision(int precision) {
    return precision < 0 ? 0 : (precision > 8 ? 8 : precision);
}

void appendUnsigned(Text& out, std::uint64_t value, int width = 0) {
    wchar_t digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = count; pad < width; ++pad) {
        out += L'0';
    }
    while (count > 0) {
        out += digits[--count];
    }
}

// Narrow digits from to_chars: the C library's printf would follow the numeric locale, which
// a module may have set to one with a decimal comma.
void appendChars(Text& out, const char* begin, const char* end) {
    for (const char* c = begin; c != end; ++c) {
        out += static_cast<wchar_t>(*c == 'e' ? 'E' : *c);
    }
}

// A non-negative integral value of any size.
void appendIntegral(Text& out, double value) {
    if (value < kExactLimit) {
        appendUnsigned(out, static_cast<std::uint64_t>(value));
        return;
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 0);
    appendChars(out, buffer, result.ptr);
}

// A non-negative value with places decimals, rounded half away from zero. Answers whether the
// rounded value is zero.
bool appendFixed(Text& out, double magnitude, int places) {
    const double scaled = magnitude * static_cast<double>(kPow10[places]);
    if (scaled < kExactLimit) {
        const auto units = static_cast<std::uint64_t>(std::round(scaled));
        appendUnsigned(out, units / kPow10[places]);
        if (places > 0) {
            out += L'.';
            appendUnsigned(out, units % kPow10[places], places);
        }
        return units == 0;
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, places);
    appendChars(out, buffer, result.ptr);
    return false;
}

bool appendNonFinite(Text& out, double value) {
    if (std::isnan(value)) {
        out += L"NaN";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? L"-Inf" : L"Inf";
        return true;
    }
    return false;
}

// Whole feet and the rest of the value in steps of 1/perInch inch, rounded; a rest that rounds
// up to a whole foot carries into the feet.
struct FeetInches {
    double feet;
    std::uint64_t steps;
};

FeetInches splitFeet(double inches, std::uint64_t perInch) {
    const double rest = std::fmod(inches, 12.0);
    FeetInches split{(inches - rest) / 12.0,
                     static_cast<std::uint64_t>(std::round(rest * static_cast<double>(perInch)))};
    if (split.steps >= 12 * perInch) {
        split.steps -= 12 * perInch;
        split.feet += 1.0;
    }
    return split;
}

void appendFraction(Text& out, std::uint64_t numerator, std::uint64_t denominator) {
    while (numerator % 2 == 0 && denominator > 1) {
        numerator /= 2;
        denominator /= 2;
    }
    appendUnsigned(out, numerator);
    out += L'/';
    appendUnsigned(out, denominator);
}

bool formatScientific(Text& out, double magnitude, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, precision);
    appendChars(out, buffer, result.ptr);
    return magnitude == 0.0;
}

bool formatEngineering(Text& out, double magnitude, int precision) {
    const std::uint64_t perInch = kPow10[precision];
    const FeetInches split = splitFeet(magnitude, perInch);
    appendIntegral(out, split.feet);
    out += L"'-";
    appendUnsigned(out, split.steps / perInch);
    if (precision > 0) {
        out += L'.';
        appendUnsigned(out, split.steps % perInch, precision);
    }
    out += L'"';
    return split.feet == 0.0 && split.steps == 0;
}

bool formatArchitectural(Text& out, double magnitude, int precision) {
    const std::uint64_t perInch = std::uint64_t{1} << precision;
    const FeetInches split = splitFeet(magnitude, perInch);
    appendIntegral(out, split.feet);
    out += L"'-";
    appendUnsigned(out, split.steps / perInch);
    if (split.steps % perInch != 0) {
        out += L' ';
        appendFraction(out, split.steps % perInch, perInch);
    }
    out += L'"';
    return split.feet == 0.0 && split.steps == 0;
}

bool formatFractional(Text& out, double magnitude, int precision) {
    const std::uint64_t denominator = std::uint64_t{1} << precision;
    const double part = std::fmod(magnitude, 1.0);
    double whole = magnitude - part;
    auto steps = static_cast<std::uint64_t>(std::round(part * static_cast<double>(denominator)));
    if (steps >= denominator) {
        steps = 0;
        whole += 1.0;
    }
    if (whole != 0.0 || steps == 0) {
        appendIntegral(out, whole);
    }
    if (steps != 0) {
        if (whole != 0.0) {
            out += L' ';
        }
        appendFraction(out, steps, denominator);
    }
    return whole == 0.0 && steps == 0;
}

// Degrees in [0, 360) as whole units of a degree/minute/second display of that precision.
struct Dms {
    std::uint64_t units;
    std::uint64_t perDegree;
    int decimals;
};

Dms roundDms(double degrees, int precision) {
    Dms dms{0, 1, 0};
    if (precision >= 5) {
        dms.decimals = precision - 4 > 4 ? 4 : precision - 4;
        dms.perDegree = 3600 * kPow10[dms.decimals];
    } else if (precision >= 3) {
        dms.perDegree = 3600;
    } else if (precision >= 1) {
        dms.perDegree = 60;
    }
    dms.units =
        static_cast<std::uint64_t>(std::round(degrees * static_cast<double>(dms.perDegree)));
    return dms;
}

void appendDms(Text& out, const Dms& dms) {
    appendUnsigned(out, dms.units / dms.perDegree);
    out += L'd';
    if (dms.perDegree == 1) {
        return;
    }
    const std::uint64_t perMinute = dms.perDegree / 60;
    const std::uint64_t rest = dms.units % dms.perDegree;
    appendUnsigned(out, rest / perMinute);
    out += L'\'';
    if (perMinute == 1) {
        return;
    }
    const std::uint64_t perSecond = perMinute / 60;
    appendUnsigned(out, rest % perMinute / perSecond);
    if (dms.decimals > 0) {
        out += L'.';
        appendUnsigned(out, rest % perSecond, dms.decimals);
    }
    out += L'"';
}

// Degrees or grads that round up to a full turn show as zero.
void appendTurnFraction(Text& out, double amount, double fullTurn, int precision) {
    const double scale = static_cast<double>(kPow10[precision]);
    if (std::round(amount * scale) >= fullTurn * scale) {
        amount = 0.0;
    }
    appendFixed(out, amount, precision);
}

void appendBearing(Text& out, double degrees, int precision) {
    wchar_t northSouth = L'N';
    wchar_t eastWest = L'E';
    double offset = 90.0 - degrees;
    if (degrees > 270.0) {
        northSouth = L'S';
        offset = degrees - 270.0;
    } else if (degrees > 180.0) {
        northSouth = L'S';
        eastWest = L'W';
        offset = 270.0 - degrees;
    } else if (degrees > 90.0) {
        eastWest = L'W';
        offset = degrees - 90.0;
    }
    const Dms dms = roundDms(offset, precision);
    if (dms.units == 0) {
        out += northSouth;
    } else if (dms.units >= 90 * dms.perDegree) {
        out += eastWest;
    } else {
        out += northSouth;
        out += L' ';
        appendDms(out, dms);
        out += L' ';
        out += eastWest;
    }
}

} // namespace

namespace {

// The sign is written first and left out again when the value rounds to zero or is positive.
std::wstring_view formatLinear(double value, int unit, int precision, Text& out) {
    if (appendNonFinite(out, value)) {
        return out.view();
    }
    precision = clampPrecision(precision);
    const double magnitude = std::fabs(value);
    out += L'-';
    bool zero = false;
    switch (unit) {
    case kSvUnitScientific:
        zero = formatScientific(out, magnitude, precision);
        break;
    case kSvUnitEngineering:
        zero = formatEngineering(out, magnitude, precision);
        break;
    case kSvUnitArchitectural:
        zero = formatArchitectural(out, magnitude, precision);
        break;
    case kSvUnitFractional:
        zero = formatFractional(out, magnitude, precision);
        break;
    default:
        zero = appendFixed(out, magnitude, precision);
        break;
    }
    return out.view(zero || !std::signbit(value) ? 1 : 0);
}

} // namespace

std::wstring svFormatLinear(double value, int unit, int precision) {
    Text out;
    return std::wstring(formatLinear(value, unit, precision, out));
}

std::wstring svFormatAngle(double radians, int unit, int precision) {
    Text out;
    if (appendNonFinite(out, radians)) {
        return std::wstring(out.view());
    }
    precision = clampPrecision(precision);
    constexpr double kTurn = 2.0 * std::numbers::pi;
    double angle = std::fmod(radians, kTurn);
    if (angle < 0.0) {
        angle += kTurn;
    }
    if (angle >= kTurn) {
        angle = 0.0;
    }
    const double degrees = angle * 180.0 / std::numbers::pi;
    switch (unit) {
    case kSvAngleDegMinSec: {
        Dms dms = roundDms(degrees, precision);
        if (dms.units >= 360 * dms.perDegree) {
            dms.units -= 360 * dms.perDegree;
        }
        appendDms(out, dms);
        break;
    }
    case kSvAngleGrads:
        appendTurnFraction(out, angle * 200.0 / std::numbers::pi, 400.0, precision);
        out += L'g';
        break;
    case kSvAngleRadians:
        appendFixed(out, angle, precision);
        out += L'r';
        break;
    case kSvAngleSurveyor:
        appendBearing(out, degrees, precision);
        break;
    default:
        appendTurnFraction(out, degrees, 360.0, precision);
        break;
    }
    return std::wstring(out.view());
}

std::size_t svFormatLinearTo(double value, int unit, int precision, wchar_t* buffer,
                             std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    Text out;
    const std::wstring_view text = formatLinear(value, unit, precision, out);
    const std::size_t count = text.size() < capacity ? text.size() : capacity - 1;
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return count;
}
