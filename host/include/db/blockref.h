#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "db/entity.h"
#include "db/idcursor.h"
#include "ge/matrix3d.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

class AcDbAttribute;

// Walks a list of objects as it was when the walk began. The caller deletes it.
class AcDbObjectIterator : public AcRxObject {
public:
    ~AcDbObjectIterator() override;
    AcDbObjectIterator(const AcDbObjectIterator&) = delete;
    AcDbObjectIterator& operator=(const AcDbObjectIterator&) = delete;

    // To the first object (the last with atEnd), skipping erased ones.
    virtual void start(bool atEnd = false);
    virtual bool done() const;
    virtual void step(bool backwards = false, bool skipErasedObjects = true);
    // The null id when done.
    virtual AcDbObjectId objectId() const;
    // The object itself only while the caller may use it: when it is not in a database, or is
    // open. A database object that is not open is reached by opening objectId instead.
    virtual AcDbEntity* entity() const;
    virtual Acad::ErrorStatus setPosition(AcDbObjectId id);

private:
    friend class AcDbBlockReference;
    explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);
    SvIdCursor m_cursor;
};

// An insertion of a block definition: the block's entities drawn through the reference's
// transformation (position, normal, rotation, scales), with attributes of its own.
class AcDbBlockReference : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbBlockReference);

    AcDbBlockReference();
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
    ~AcDbBlockReference() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    AcDbObjectId blockTableRecord() const;
    // Any id of an AcDbBlockTableRecord; the null id is refused with eNullObjectId.
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    double rotation() const;
    Acad::ErrorStatus setRotation(double rotation);
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // Scale along the block's own x, y and z; none may be 0.
    AcGeVector3d scaleFactors() const;
    Acad::ErrorStatus setScaleFactors(const AcGeVector3d& scale);
    // Block coordinates to world coordinates.
    AcGeMatrix3d blockTransform() const;

    // Needs write, and the reference in a database. The attribute joins it, owned by the
    // reference, and stays open for write: the caller closes it.
    Acad::ErrorStatus appendAttribute(AcDbObjectId& attributeId, AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
    // Over the attributes, skipping erased ones. The caller deletes the iterator.
    AcDbObjectIterator* attributeIterator() const;

    // The extents of the block's entities as placed, and of the attributes.
    // The attributes follow. Needs uniform scaling; mirroring turns the block over.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Sets the colour of the attributes too when doSubents.
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents = true) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    AcDbObjectId m_block;
    AcGePoint3d m_position;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    AcGeVector3d m_scale{1.0, 1.0, 1.0};
    double m_rotation = 0.0;
    std::vector<AcDbObjectId> m_attributes;
};

// A tag and the value an insertion gives it.
struct SvAttributeValue {
    const wchar_t* tag;
    const wchar_t* value;
};

// Inserts block `blockId` into the block record `spaceId` (model space, a layout or another
// block) at `position` and gives it one attribute per attribute definition of the block that is
// not constant, in the block's order: its value is that of the first entry in `values` whose tag
// matches without regard to case, else the definition's default. Everything is closed again.
// A block cannot be inserted into itself or into a block it contains (eInvalidInput).
Acad::ErrorStatus svInsertBlockReference(AcDbObjectId& referenceId, AcDbObjectId spaceId,
                                         AcDbObjectId blockId, const AcGePoint3d& position,
                                         std::span<const SvAttributeValue> values = {},
                                         double rotation = 0.0, double scale = 1.0);

#pragma GCC visibility pop
