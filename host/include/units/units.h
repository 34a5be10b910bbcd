#pragma once

#include <cstddef>
#include <string>

#pragma GCC visibility push(default)

// Linear unit modes, as LUNITS numbers them.
enum SvLinearUnit {
    kSvUnitScientific = 1,    // 1.2500E+01
    kSvUnitDecimal = 2,       // 12.5000
    kSvUnitEngineering = 3,   // 1'-0.5000"   (the value is in inches)
    kSvUnitArchitectural = 4, // 1'-0 1/2"    (the value is in inches)
    kSvUnitFractional = 5     // 12 1/2
};

// Angle modes, as AUNITS numbers them.
enum SvAngleUnit {
    kSvAngleDegrees = 0,   // 45.0000
    kSvAngleDegMinSec = 1, // 45d0'0"
    kSvAngleGrads = 2,     // 50.0000g
    kSvAngleRadians = 3,   // 0.7854r
    kSvAngleSurveyor = 4   // N 45d0'0" E
};

// A real in a linear unit mode. Precision 0..8 is decimal places for scientific, decimal and
// engineering, and a fraction denominator of 2^precision for architectural and fractional; it is
// clamped into that range. An unknown mode formats as decimal. Rounding is half away from zero and
// carries across feet; a value that rounds to zero has no sign. Feet and inches always show both
// parts ("0'-6\"", "1'-0\""). Not a number gives "NaN", infinities "Inf" and "-Inf".
std::wstring svFormatLinear(double value, int unit, int precision);

// An angle given in radians, reduced into [0, 2pi) first. Precision is decimal places for
// degrees, grads and radians; for degrees/minutes/seconds and surveyor's bearings 0 shows whole
// degrees, 1-2 minutes, 3-4 seconds and 5-8 seconds with 1-4 decimals. An unknown mode formats
// as degrees.
std::wstring svFormatAngle(double radians, int unit, int precision);

// svFormatLinear into a caller's buffer of capacity characters, cut to fit and always
// terminated (when capacity > 0). Answers the characters written, the terminator excluded.
std::size_t svFormatLinearTo(double value, int unit, int precision, wchar_t* buffer,
                             std::size_t capacity);

#pragma GCC visibility pop
