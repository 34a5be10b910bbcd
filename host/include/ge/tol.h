#pragma once

#pragma GCC visibility push(default)

// Tolerances for geometric comparisons: two points are equal within equalPoint of each other, two
// vectors when their difference is no longer than equalVector.
class AcGeTol {
public:
    constexpr AcGeTol() = default;
    constexpr AcGeTol(double point, double vector) : m_equalPoint(point), m_equalVector(vector) {}

    constexpr double equalPoint() const { return m_equalPoint; }
    constexpr double equalVector() const { return m_equalVector; }
    void setEqualPoint(double value) { m_equalPoint = value; }
    void setEqualVector(double value) { m_equalVector = value; }

private:
    double m_equalPoint = 1e-10;
    double m_equalVector = 1e-10;
};

// The process-wide default that every comparison uses when not given a tolerance.
struct AcGeContext {
    static AcGeTol gTol;
};

#pragma GCC visibility pop
