#pragma once

#include <string>

#include "db/object.h"

#pragma GCC visibility push(default)

class AcDbExtents;
class AcGeMatrix3d;
class AcGiWorldDraw;

// Colour index values with a meaning of their own.
constexpr Adesk::UInt16 kSvColorByBlock = 0;
constexpr Adesk::UInt16 kSvColorByLayer = 256;

// An object that lives in a block table record and is drawn. Concrete entities derive from it and
// file their own data after calling this level's filing.
class AcDbEntity : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcDbEntity);

    AcDbEntity();
    ~AcDbEntity() override;

    AcDbObjectId blockId() const;

    Adesk::UInt16 colorIndex() const;
    // 0 is BYBLOCK, 256 BYLAYER; above 256 is refused with eOutOfRange. Entities with
    // sub-entities (attributes, vertices) override this to pass the colour on when doSubents.
    virtual Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents = true);
    // A copy released with acutDelBuffer.
    wchar_t* layer() const;
    virtual Acad::ErrorStatus setLayer(const wchar_t* layerName, Adesk::Boolean doSubents = true);

    // Draws the entity into the geometry sink, in the traits and under the model transform it
    // is given. This level draws nothing.
    virtual void worldDraw(AcGiWorldDraw* mode) const;
    // Adds the entity's geometry to `extents`; an entity without geometry answers
    // eInvalidExtents and leaves it alone. This level measures what worldDraw draws.
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    // Moves, rotates, scales or mirrors the entity; needs write. A transformation the entity
    // cannot follow (a singular one, or non-uniform scaling of a circle) answers eNotApplicable
    // and changes nothing.
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    // Prints the entity's properties on the command line: this level prints the kind, handle,
    // space, layer and colour; each kind adds its geometry and texts below.
    void list() const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    AcDbEntity(const AcDbEntity& other) = default;
    AcDbEntity& operator=(const AcDbEntity& other) = default;

private:
    Adesk::UInt16 m_color = kSvColorByLayer;
    std::wstring m_layer = L"0";
};

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

#pragma GCC visibility pop
