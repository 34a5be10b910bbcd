#include "db/blockref.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <unordered_set>

#include "../internal.h"
#include "common.h"
#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/database.h"
#include "db/symboltable.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;
constexpr Adesk::UInt32 kMaxAttributes = 1u << 24;
// Nesting deeper than this is taken for a cycle that a damaged drawing slipped past the checks.
constexpr std::size_t kMaxNesting = 64;

bool validScale(const AcGeVector3d& scale) {
    return svent::isFinite(scale) && scale.x != 0.0 && scale.y != 0.0 && scale.z != 0.0;
}

// Blocks being drawn, outermost first: a block met again is not entered.
thread_local std::vector<AcDbObjectId> t_nesting;

bool sameText(const wchar_t* a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b)))
            return false;
    }
    return *a == *b;
}

// The entities of a block record, read without opening it (the engine's own peek).
std::vector<AcDbObjectId> entitiesOf(AcDbBlockTableRecord* record) {
    std::vector<AcDbObjectId> ids;
    SvDbFilingScope reading(record);
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        ids.push_back(id);
    }
    delete it;
    return ids;
}

// Whether block `from` inserts block `target`, itself or through blocks it inserts.
bool inserts(const AcDbObjectId& from, const AcDbObjectId& target) {
    std::vector<AcDbObjectId> pending{from};
    std::unordered_set<AcDbObjectId> seen;
    while (!pending.empty()) {
        const AcDbObjectId block = pending.back();
        pending.pop_back();
        if (!seen.insert(block).second)
            continue;
        auto* record = AcDbBlockTableRecord::cast(svDbResolve(block));
        if (record == nullptr)
            continue;
        for (const AcDbObjectId& id : entitiesOf(record)) {
            auto* ref = AcDbBlockReference::cast(svDbResolve(id));
            if (ref == nullptr || ref->isErased())
                continue;
            AcDbObjectId inner;
            {
                SvDbFilingScope reading(ref);
                inner = ref->blockTableRecord();
            }
            if (inner == target)
                return true;
            pending.push_back(inner);
        }
    }
    return false;
}

// Enters a block for the time it is drawn, unless it is already being drawn further out or
// the nesting is too deep to be real.
class NestingGuard {
public:
    explicit NestingGuard(const AcDbObjectId& block)
        : m_entered(std::find(t_nesting.begin(), t_nesting.end(), block) == t_nesting.end() &&
                    t_nesting.size() < kMaxNesting) {
        if (m_entered)
            t_nesting.push_back(block);
    }
    ~NestingGuard() {
        if (m_entered)
            t_nesting.pop_back();
    }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    bool entered() const { return m_entered; }

private:
    bool m_entered;
};

} // namespace

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids) : m_cursor(std::move(ids)) {
    start();
}

AcDbObjectIterator::~AcDbObjectIterator() = default;

void AcDbObjectIterator::start(bool atEnd) {
    m_cursor.start(!atEnd, true);
}

bool AcDbObjectIterator::done() const {
    return m_cursor.done();
}

void AcDbObjectIterator::step(bool backwards, bool skipErasedObjects) {
    m_cursor.step(!backwards, skipErasedObjects);
}

AcDbObjectId AcDbObjectIterator::objectId() const {
    return m_cursor.current();
}

AcDbEntity* AcDbObjectIterator::entity() const {
    if (done())
        return nullptr;
    AcDbObject* obj = svDbResolve(m_cursor.current());
    if (obj == nullptr)
        return nullptr;
    const SvDbObjectData& d = SvDbAccess::data(obj);
    if (d.readers == 0 && !d.writer && d.notifyOpens == 0)
        return nullptr;
    return AcDbEntity::cast(obj);
}

Acad::ErrorStatus AcDbObjectIterator::setPosition(AcDbObjectId id) {
    return m_cursor.seek(id) ? Acad::eOk : Acad::eInvalidInput;
}

// ---------------------------------------------------------------------------------------------

AcDbBlockReference::AcDbBlockReference() = default;

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : m_block(blockTableRecord) {
    if (svent::isFinite(position))
        m_position = position;
}

AcDbBlockReference::~AcDbBlockReference() = default;

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
    assertReadEnabled();
    return m_block;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
    if (id.isNull())
        return Acad::eNullObjectId;
    if (AcDbObject* target = svDbResolve(id);
        target != nullptr && AcDbBlockTableRecord::cast(target) == nullptr)
        return Acad::eWrongObjectType;
    if (database() != nullptr && id.database() != database())
        return Acad::eWrongDatabase;
    assertWriteEnabled();
    m_block = id;
    return Acad::eOk;
}

AcGePoint3d AcDbBlockReference::position() const {
    assertReadEnabled();
    return m_position;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
    if (!svent::isFinite(position))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_position = position;
    return Acad::eOk;
}

double AcDbBlockReference::rotation() const {
    assertReadEnabled();
    return m_rotation;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation) {
    if (!std::isfinite(rotation))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_rotation = ge::normalizeAngle(rotation);
    return Acad::eOk;
}

AcGeVector3d AcDbBlockReference::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

AcGeVector3d AcDbBlockReference::scaleFactors() const {
    assertReadEnabled();
    return m_scale;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeVector3d& scale) {
    if (!validScale(scale))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_scale = scale;
    return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    assertReadEnabled();
    AcGeMatrix3d scaling;
    scaling(0, 0) = m_scale.x;
    scaling(1, 1) = m_scale.y;
    scaling(2, 2) = m_scale.z;
    return AcGeMatrix3d::translation(m_position.asVector()) * AcGeMatrix3d::planeToWorld(m_normal) *
           AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis) * scaling;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& attributeId,
                                                      AcDbAttribute* attribute) {
    attributeId.setNull();
    if (attribute == nullptr)
        return Acad::eNullEntityPointer;
    if (!attribute->objectId().isNull())
        return Acad::eAlreadyInDb;
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (m_attributes.size() >= kMaxAttributes)
        return Acad::eOutOfRange;
    return svDbAddOwned(this, db, attributeId, attribute, m_attributes);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* attribute) {
    AcDbObjectId id;
    return appendAttribute(id, attribute);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
    assertReadEnabled();
    return new AcDbObjectIterator(m_attributes);
}

// The attributes, then the block's entities as placed. An insertion shows its attributes in
// place of the definitions; a constant definition has no attribute and shows itself.
void AcDbBlockReference::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiGeometry& geometry = mode->geometry();
    for (const AcDbObjectId& id : m_attributes) {
        auto* attribute = AcDbAttribute::cast(svDbResolve(id));
        if (attribute == nullptr || attribute->isErased())
            continue;
        SvDbFilingScope reading(attribute);
        geometry.draw(*attribute);
    }
    auto* record = AcDbBlockTableRecord::cast(svDbResolve(m_block));
    const NestingGuard guard(m_block);
    if (record == nullptr || !guard.entered())
        return;
    geometry.pushModelTransform(blockTransform());
    for (const AcDbObjectId& id : entitiesOf(record)) {
        auto* entity = AcDbEntity::cast(svDbResolve(id));
        if (entity == nullptr || entity->isErased())
            continue;
        SvDbFilingScope reading(entity);
        const auto* definition = AcDbAttributeDefinition::cast(entity);
        if (definition == nullptr || definition->isConstant())
            geometry.draw(*entity);
    }
    geometry.popModelTransform();
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    // Every attribute is opened before anything changes, so either all follow or none.
    std::vector<AcDbAttribute*> opened;
    auto closeAll = [&opened] {
        for (AcDbAttribute* attribute : opened)
            attribute->close();
    };
    for (const AcDbObjectId& id : m_attributes) {
        AcDbAttribute* attribute = nullptr;
        const Acad::ErrorStatus es = acdbOpenObject(attribute, id, AcDb::kForWrite, true);
        if (es == Acad::eInvalidObjectId || es == Acad::eNotThatKindOfClass)
            continue; // gone with an aborted transaction, or not an attribute at all
        if (es != Acad::eOk) {
            closeAll();
            return es;
        }
        opened.push_back(attribute);
    }
    assertWriteEnabled();
    const double k = xform.scale();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    const AcGeVector3d xAxis = xform * svent::directionInPlane(m_rotation, m_normal);
    // Mirrored, the block turns over: its x axis runs against the image of the old one.
    const bool mirror = xform.isMirroring();
    m_rotation = svent::angleInPlane(mirror ? -xAxis : xAxis, normal);
    m_scale = AcGeVector3d(m_scale.x * k * (mirror ? -1.0 : 1.0), m_scale.y * k, m_scale.z * k);
    m_position = xform * m_position;
    m_normal = normal;
    for (AcDbAttribute* attribute : opened)
        attribute->transformBy(xform);
    closeAll();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents) {
    const Acad::ErrorStatus es = AcDbEntity::setColorIndex(color, doSubents);
    if (es != Acad::eOk || !doSubents)
        return es;
    for (const AcDbObjectId& id : m_attributes) {
        AcDbAttribute* attribute = nullptr;
        if (acdbOpenObject(attribute, id, AcDb::kForWrite) != Acad::eOk)
            continue;
        attribute->setColorIndex(color);
        attribute->close();
    }
    return Acad::eOk;
}

void AcDbBlockReference::list() const {
    AcDbEntity::list();
    std::wstring name = L"(none)";
    if (auto* record = AcDbBlockTableRecord::cast(svDbResolve(m_block))) {
        SvDbFilingScope reading(record);
        const wchar_t* text = nullptr;
        record->getName(text);
        name = text;
    }
    svent::listQuoted(L"block name:", name.c_str());
    svent::listPoint(L"at point:", m_position);
    svent::listNumber(L"X scale factor:", m_scale.x);
    svent::listNumber(L"Y scale factor:", m_scale.y);
    svent::listNumber(L"Z scale factor:", m_scale.z);
    svent::listAngle(L"rotation angle:", m_rotation);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
    for (const AcDbObjectId& id : m_attributes) {
        auto* attribute = AcDbAttribute::cast(svDbResolve(id));
        if (attribute == nullptr || attribute->isErased())
            continue;
        SvDbFilingScope reading(attribute);
        svent::listLine(L"attribute:", std::wstring(attribute->tagConst()) + L" = \"" +
                                           attribute->textStringConst() + L"\"");
    }
}

Acad::ErrorStatus AcDbBlockReference::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeHardPointerId(m_block);
    svent::writePoint(filer, m_position);
    svent::writeVector(filer, m_normal);
    svent::writeVector(filer, m_scale);
    filer->writeDouble(m_rotation);
    // A copy is a new reference: the attributes stay with the one that owns them.
    if (filer->filerType() != AcDb::kCopyFiler) {
        filer->writeUInt32(static_cast<Adesk::UInt32>(m_attributes.size()));
        for (const AcDbObjectId& id : m_attributes)
            filer->writeHardOwnershipId(id);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockReference::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    AcDbObjectId block;
    filer->readHardPointerId(&block);
    const AcGePoint3d position = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const AcGeVector3d scale = svent::readVector(filer);
    const double rotation = svent::readReal(filer);
    svent::require(filer, validScale(scale));
    std::vector<AcDbObjectId> attributes = m_attributes;
    if (filer->filerType() != AcDb::kCopyFiler) {
        attributes.clear();
        const Adesk::UInt32 count = svent::readCount(filer, kMaxAttributes);
        for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
            AcDbObjectId id;
            filer->readHardOwnershipId(&id);
            svent::require(filer, !id.isNull());
            attributes.push_back(id);
        }
    }
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_block = block;
    m_position = position;
    m_normal = normal;
    m_scale = scale;
    m_rotation = ge::normalizeAngle(rotation);
    m_attributes = std::move(attributes);
    return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------

Acad::ErrorStatus svInsertBlockReference(AcDbObjectId& referenceId, AcDbObjectId spaceId,
                                         AcDbObjectId blockId, const AcGePoint3d& position,
                                         std::span<const SvAttributeValue> values, double rotation,
                                         double scale) {
    referenceId.setNull();
    if (!svent::isFinite(position) || !std::isfinite(rotation) || !std::isfinite(scale) ||
        scale == 0.0)
        return Acad::eInvalidInput;
    if (spaceId.isNull() || blockId.isNull())
        return Acad::eNullObjectId;
    AcDbDatabase* db = blockId.database();
    if (db == nullptr || spaceId.database() != db)
        return Acad::eWrongDatabase;
    if (blockId == spaceId || blockId == db->modelSpaceId() || inserts(blockId, spaceId))
        return Acad::eInvalidInput;

    std::vector<AcDbObjectId> definitions;
    {
        AcDbBlockTableRecord* block = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(block, blockId, AcDb::kForRead);
        if (es != Acad::eOk)
            return es;
        const bool layout = block->isLayout();
        AcDbBlockTableRecordIterator* it = nullptr;
        block->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            auto* definition = AcDbAttributeDefinition::cast(svDbResolve(id));
            if (definition == nullptr)
                continue;
            SvDbFilingScope reading(definition);
            if (!definition->isConstant())
                definitions.push_back(id);
        }
        delete it;
        block->close();
        if (layout)
            return Acad::eInvalidInput;
    }

    auto* reference = new AcDbBlockReference(position, blockId);
    reference->setRotation(rotation);
    reference->setScaleFactors(AcGeVector3d(scale, scale, scale));
    {
        AcDbBlockTableRecord* space = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(space, spaceId, AcDb::kForWrite);
        if (es == Acad::eOk) {
            es = space->appendAcDbEntity(referenceId, reference);
            space->close();
        }
        if (es != Acad::eOk) {
            delete reference;
            return es;
        }
    }
    const AcGeMatrix3d xform = reference->blockTransform();
    Acad::ErrorStatus result = Acad::eOk;
    for (const AcDbObjectId& id : definitions) {
        AcDbAttributeDefinition* definition = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(definition, id, AcDb::kForRead);
        if (es != Acad::eOk) {
            result = es;
            continue;
        }
        auto* attribute = new AcDbAttribute;
        attribute->setAttributeFromBlock(definition, xform);
        const wchar_t* tag = definition->tagConst();
        for (const SvAttributeValue& given : values) {
            if (given.tag != nullptr && given.value != nullptr && sameText(given.tag, tag)) {
                attribute->setTextString(given.value);
                break;
            }
        }
        definition->close();
        es = reference->appendAttribute(attribute);
        if (es != Acad::eOk) {
            delete attribute;
            result = es;
            continue;
        }
        attribute->close();
    }
    reference->close();
    return result;
}
