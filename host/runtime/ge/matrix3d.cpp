#include "ge/matrix3d.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

AcGeVector3d column(const AcGeMatrix3d& m, int c) {
    return {m.entry[0][c], m.entry[1][c], m.entry[2][c]};
}

void setLinear(AcGeMatrix3d& m, const AcGeVector3d& c0, const AcGeVector3d& c1,
               const AcGeVector3d& c2, const AcGeVector3d& t) {
    const AcGeVector3d* cols[4] = {&c0, &c1, &c2, &t};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 3; ++r)
            m.entry[r][c] = (*cols[c])[static_cast<unsigned>(r)];
    m.entry[3][0] = m.entry[3][1] = m.entry[3][2] = 0.0;
    m.entry[3][3] = 1.0;
}

bool isAffine(const AcGeMatrix3d& m) {
    return m.entry[3][0] == 0.0 && m.entry[3][1] == 0.0 && m.entry[3][2] == 0.0 &&
           m.entry[3][3] == 1.0;
}

// A move and nothing else: the identity with a finite offset, its zeros positive. Moving every
// object of a drawing asks each object whether the matrix is singular and for its inverse; for
// such a matrix the elimination below comes to a determinant of exactly 1 and an inverse of
// exactly the identity with offset 0.0 - t, so those answers are given at once, the same to the
// bit.
bool isPlainMove(const AcGeMatrix3d& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            const double e = m.entry[r][c];
            if (r == c ? e != 1.0 : (e != 0.0 || std::signbit(e)))
                return false;
        }
    }
    return m.entry[3][3] == 1.0 && std::isfinite(m.entry[0][3]) && std::isfinite(m.entry[1][3]) &&
           std::isfinite(m.entry[2][3]);
}

// A plain move's determinant and the bound it is measured against are both 1.
bool moveIsSingular(const AcGeTol& tol) {
    return 1.0 <= tol.equalVector();
}

} // namespace

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& offset) {
    return AcGeMatrix3d().setToTranslation(offset);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis,
                                    const AcGePoint3d& center) {
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double factor, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToScaling(factor, center);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal) {
    return AcGeMatrix3d().setToMirroring(pointOnPlane, normal);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                         const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
    AcGeMatrix3d m;
    setLinear(m, xAxis, yAxis, zAxis, origin.asVector());
    return m;
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
    AcGeVector3d n = normal.normal();
    if (n.lengthSqrd() == 0.0 || !std::isfinite(n.x + n.y + n.z))
        n = AcGeVector3d::kZAxis;
    // Near the world z axis the plane's x axis comes from world y, elsewhere from world z, so
    // it never degenerates and every program derives the same one.
    constexpr double kNearZ = 1.0 / 64.0;
    const AcGeVector3d seed = std::fabs(n.x) < kNearZ && std::fabs(n.y) < kNearZ
                                  ? AcGeVector3d::kYAxis
                                  : AcGeVector3d::kZAxis;
    const AcGeVector3d xAxis = seed.crossProduct(n).normal();
    const AcGeVector3d yAxis = n.crossProduct(xAxis).normal();
    return alignCoordSys(AcGePoint3d::kOrigin, xAxis, yAxis, n);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) {
    return planeToWorld(normal).transpose();
}

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
    return *this = AcGeMatrix3d();
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& offset) {
    setLinear(*this, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis, offset);
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis,
                                          const AcGePoint3d& center) {
    if (axis.normal().lengthSqrd() == 0.0)
        return setToIdentity();
    const AcGeVector3d c0 = AcGeVector3d(AcGeVector3d::kXAxis).rotateBy(angle, axis);
    const AcGeVector3d c1 = AcGeVector3d(AcGeVector3d::kYAxis).rotateBy(angle, axis);
    const AcGeVector3d c2 = AcGeVector3d(AcGeVector3d::kZAxis).rotateBy(angle, axis);
    const AcGeVector3d pc = center.asVector();
    const AcGeVector3d moved = c0 * pc.x + c1 * pc.y + c2 * pc.z;
    setLinear(*this, c0, c1, c2, pc - moved);
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double factor, const AcGePoint3d& center) {
    setLinear(*this, AcGeVector3d::kXAxis * factor, AcGeVector3d::kYAxis * factor,
              AcGeVector3d::kZAxis * factor, center.asVector() * (1.0 - factor));
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& pointOnPlane,
                                           const AcGeVector3d& normal) {
    const AcGeVector3d n = normal.normal();
    if (n.lengthSqrd() == 0.0)
        return setToIdentity();
    auto reflect = [&](const AcGeVector3d& v) { return v - n * (2.0 * n.dotProduct(v)); };
    setLinear(*this, reflect(AcGeVector3d::kXAxis), reflect(AcGeVector3d::kYAxis),
              reflect(AcGeVector3d::kZAxis), n * (2.0 * n.dotProduct(pointOnPlane.asVector())));
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
    AcGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

bool AcGeMatrix3d::operator==(const AcGeMatrix3d& m) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (entry[i][j] != m.entry[i][j])
                return false;
    return true;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(entry[i][j] - m.entry[i][j]) <= tol.equalVector()))
                return false;
    return true;
}

double AcGeMatrix3d::det() const {
    // Elimination with partial pivoting on a copy.
    double a[4][4];
    std::copy(&entry[0][0], &entry[0][0] + 16, &a[0][0]);
    double d = 1.0;
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        if (a[p][c] == 0.0)
            return 0.0;
        if (p != c) {
            std::swap(a[p], a[c]);
            d = -d;
        }
        d *= a[c][c];
        for (int r = c + 1; r < 4; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    return d;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const {
    if (isPlainMove(*this))
        return moveIsSingular(tol);
    // Relative to the product of the column lengths (which bounds the determinant), so the
    // verdict does not depend on the drawing's scale. The translation column is left out of an
    // affine matrix: far-off geometry is no nearer to singular.
    const int n = isAffine(*this) ? 3 : 4;
    double bound = 1.0;
    for (int c = 0; c < n; ++c) {
        double sq = 0.0;
        for (int r = 0; r < n; ++r)
            sq += entry[r][c] * entry[r][c];
        bound *= std::sqrt(sq);
    }
    const double d = det();
    if (bound == 0.0 || !std::isfinite(bound) || !std::isfinite(d))
        return true;
    return std::fabs(d) <= tol.equalVector() * bound;
}

double AcGeMatrix3d::scale() const {
    return std::max(
        {column(*this, 0).length(), column(*this, 1).length(), column(*this, 2).length()});
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
    const AcGeVector3d c[3] = {column(*this, 0), column(*this, 1), column(*this, 2)};
    const double s = scale();
    if (s == 0.0 || !std::isfinite(s))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(c[i].length() - s) > tol.equalVector() * s)
            return false;
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(c[i].dotProduct(c[j])) > tol.equalVector() * s * s)
                return false;
    }
    return true;
}

Acad::ErrorStatus AcGeMatrix3d::inverse(AcGeMatrix3d& result, const AcGeTol& tol) const {
    if (isPlainMove(*this)) {
        if (moveIsSingular(tol))
            return Acad::eDegenerateGeometry;
        result = AcGeMatrix3d();
        for (int r = 0; r < 3; ++r)
            result.entry[r][3] = 0.0 - entry[r][3];
        return Acad::eOk;
    }
    if (isSingular(tol))
        return Acad::eDegenerateGeometry;
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = entry[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        std::swap(a[p], a[c]);
        const double pivot = a[c][c];
        for (int k = 0; k < 8; ++k)
            a[c][k] /= pivot;
        for (int r = 0; r < 4; ++r) {
            if (r == c || a[r][c] == 0.0)
                continue;
            const double f = a[r][c];
            for (int k = 0; k < 8; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            result.entry[r][c] = a[r][c + 4];
    return Acad::eOk;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
    AcGeMatrix3d t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            t.entry[i][j] = entry[j][i];
    return t;
}
