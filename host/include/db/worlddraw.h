#pragma once

#include <string>
#include <vector>

#include "db/objectid.h"
#include "db/types.h"
#include "ge/matrix3d.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

class AcDbEntity;
class AcDbViewport;

// How the inside of a closed outline is painted.
enum AcGiFillType {
    kAcGiFillNever,      // outline only
    kAcGiFillAlways,     // solid, in the colour
    kAcGiFillTint,       // a light tint of the colour
    kAcGiFillBackground, // a neutral ground where a picture would be
};

// Which point of the baseline a text's position names.
enum AcGiTextAnchor {
    kAcGiTextStart,
    kAcGiTextMiddle,
    kAcGiTextEnd,
};

// One line of text.
struct AcGiText {
    std::wstring content;
    AcGePoint3d position;
    AcGeVector3d direction = AcGeVector3d::kXAxis; // along the baseline, unit length
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    // Height of the capitals; 0 takes the host's default.
    double height = 0.0;
    // The width the text is fitted to; 0 leaves it its natural width.
    double length = 0.0;
    AcGiTextAnchor anchor = kAcGiTextStart;
    // The text style whose font it is drawn in; null for the drawing's standard style.
    AcDbObjectId style;

    // The corners of the box the text fills, from the start of its baseline, along it, then up
    // and back: a square of the height for each character where it has no set length.
    std::vector<AcGePoint3d> cell() const;
};

// The traits of what is drawn next.
class AcGiSubEntityTraits {
public:
    // A colour index of 1 to 255: BYBLOCK and BYLAYER are resolved before an entity draws.
    Adesk::UInt16 color() const { return m_color; }
    void setColor(Adesk::UInt16 color) { m_color = color; }
    AcGiFillType fillType() const { return m_fill; }
    void setFillType(AcGiFillType fill) { m_fill = fill; }

private:
    Adesk::UInt16 m_color = 7;
    AcGiFillType m_fill = kAcGiFillNever;
};

// Where entities draw themselves: a plot, the extents, a distance for picking, a window. The
// primitives take model coordinates, which the pushed model transforms carry to the world; a
// sink receives them in world coordinates.
class AcGiGeometry {
public:
    virtual ~AcGiGeometry();

    AcGiSubEntityTraits& subEntityTraits() { return m_traits; }
    const AcGiSubEntityTraits& subEntityTraits() const { return m_traits; }

    // Draws an entity in its own colour (BYBLOCK takes the colour being drawn in, BYLAYER shows
    // as colour 7) under the current model transform; the traits are restored afterwards.
    virtual void draw(const AcDbEntity& entity);

    // What follows is drawn through `xform` as well, applied before those pushed earlier.
    void pushModelTransform(const AcGeMatrix3d& xform);
    void popModelTransform();
    const AcGeMatrix3d& modelToWorldTransform() const { return m_transforms.back(); }
    // How many entities are being drawn one inside the other: 1 while a top-level one draws.
    int drawDepth() const { return m_depth; }

    void line(const AcGePoint3d& from, const AcGePoint3d& to);
    // Straight segments; a closed one is filled as the traits say.
    void polyline(const std::vector<AcGePoint3d>& points, bool closed);
    // Each vertex with the bulge of the segment leaving it (the tangent of a quarter of its
    // included angle, positive counter-clockwise about `normal`).
    void bulgedPolyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                        bool closed, const AcGeVector3d& normal);
    void circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal);
    // From center + startVector * radius (startVector unit length, in the plane) for `sweep`
    // radians counter-clockwise about the normal.
    void circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                     const AcGeVector3d& startVector, double sweep);
    // The points center + majorAxis cos t + minorAxis sin t for t from startParam to endParam.
    void ellipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                       const AcGeVector3d& minorAxis, double startParam, double endParam);
    void text(const AcGiText& text);

    // What a viewport shows, for the sinks that show views; the others leave it out.
    virtual void viewportContents(const AcDbViewport& viewport);

protected:
    virtual void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) = 0;
    virtual void worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) = 0;
    virtual void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                                     const std::vector<double>& bulges, bool closed,
                                     const AcGeVector3d& normal) = 0;
    virtual void worldCircle(const AcGePoint3d& center, double radius,
                             const AcGeVector3d& normal) = 0;
    virtual void worldCircularArc(const AcGePoint3d& center, double radius,
                                  const AcGeVector3d& normal, const AcGeVector3d& startVector,
                                  double sweep) = 0;
    virtual void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                                    const AcGeVector3d& minorAxis, double startParam,
                                    double endParam) = 0;
    virtual void worldText(const AcGiText& text) = 0;

private:
    bool transforming() const;
    // Whether the current transform keeps circles circles (rotation, reflection, one scale).
    bool conformal() const;

    AcGiSubEntityTraits m_traits;
    std::vector<AcGeMatrix3d> m_transforms{AcGeMatrix3d::kIdentity};
    int m_depth = 0;
};

// What an entity's worldDraw is given.
class AcGiWorldDraw {
public:
    explicit AcGiWorldDraw(AcGiGeometry& geometry) : m_geometry(geometry) {}
    AcGiGeometry& geometry() const { return m_geometry; }
    AcGiSubEntityTraits& subEntityTraits() const { return m_geometry.subEntityTraits(); }

private:
    AcGiGeometry& m_geometry;
};

#pragma GCC visibility pop
