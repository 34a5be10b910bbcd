#pragma once

#include "db/entity.h"
#include "ge/point3d.h"

#pragma GCC visibility push(default)

// An entity along which parameters and distances run from a start to an end. This level answers
// eNotApplicable for everything; each kind answers for its own shape.
class AcDbCurve : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbCurve);

    AcDbCurve();
    ~AcDbCurve() override;

    virtual Adesk::Boolean isClosed() const;
    virtual Adesk::Boolean isPeriodic() const;

    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    // Distances are measured along the curve from the start parameter.
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    // The area enclosed; an open curve is closed by the chord from its end to its start.
    virtual Acad::ErrorStatus getArea(double& area) const;
    // The point of the curve nearest to `givenPoint`; with extend, of the unbounded curve it lies
    // on (a line's infinite line, an arc's circle). This level searches numerically along the
    // parameters; kinds with a closed form override it.
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint,
                                                AcGePoint3d& pointOnCurve,
                                                Adesk::Boolean extend = false) const;

protected:
    AcDbCurve(const AcDbCurve& other) = default;
    AcDbCurve& operator=(const AcDbCurve& other) = default;
};

#pragma GCC visibility pop
