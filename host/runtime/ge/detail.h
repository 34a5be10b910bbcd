#pragma once

#include <cmath>

#include "acad/status.h"

namespace ge::detail {

// std::fmax and std::fmin as the C library answers them (a NaN loses; of two equal values the
// second is given), without a call into it: every curve query clamps its parameter.
inline double larger(double a, double b) {
    if (std::isnan(a))
        return b;
    if (std::isnan(b))
        return a;
    return a > b ? a : b;
}

inline double smaller(double a, double b) {
    if (std::isnan(a))
        return b;
    if (std::isnan(b))
        return a;
    return a < b ? a : b;
}

// Brings value into [lo, hi] when it lies within a relative 1e-10 of it: parameters and
// distances computed by callers arrive with rounding noise at the ends.
inline Acad::ErrorStatus clampToRange(double& value, double lo, double hi) {
    if (std::isnan(value))
        return Acad::eInvalidInput;
    const double slack = 1e-10 * larger(1.0, larger(std::fabs(lo), std::fabs(hi)));
    if (value < lo - slack || value > hi + slack)
        return Acad::eOutOfRange;
    value = smaller(larger(value, lo), hi);
    return Acad::eOk;
}

// theta - sin(theta) without the cancellation that ruins it for small angles, where it matters
// most: it is the area of a shallow circular segment over half the radius squared.
inline double thetaMinusSin(double theta) {
    if (std::fabs(theta) >= 0.5)
        return theta - std::sin(theta);
    // theta^3/3! - theta^5/5! + ... ; at |theta| < 0.5 ten terms are far below rounding.
    const double t2 = theta * theta;
    double term = theta * t2 / 6.0;
    double sum = 0.0;
    for (int k = 4; k <= 22; k += 2) {
        sum += term;
        term *= -t2 / (k * (k + 1.0));
    }
    return sum;
}

inline bool finite(double v) {
    return std::isfinite(v);
}

template <typename... T>
bool finite(double v, T... rest) {
    return std::isfinite(v) && finite(rest...);
}

} // namespace ge::detail
