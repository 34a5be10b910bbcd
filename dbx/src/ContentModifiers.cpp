// How each modifier writes its label. A label of another kind, or one that cannot be written,
// is left as it was; so is every label when there is no text.
#include "AcContentModifier.h"
#include "AcDbObjPtr.h"
#include "crt/crt.h"
#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/dimension.h"
#include "db/leader.h"
#include "db/mtext.h"
#include "db/text.h"

namespace {

// Changing an entity that is not open for write would end the host.
template <class T>
T* writableAs(AcDbEntity* label) {
    T* entity = T::cast(label);
    return entity != nullptr && entity->isWriteEnabled() ? entity : nullptr;
}

template <class T>
const T* readableAs(const AcDbEntity* label) {
    const T* entity = T::cast(label);
    return entity != nullptr && entity->isReadEnabled() ? entity : nullptr;
}

} // namespace

AcRxClass* AcTextModifier::supportedEntityKind() const {
    return AcDbText::desc();
}

void AcTextModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr)
        return;
    if (AcDbText* target = writableAs<AcDbText>(label))
        target->setTextString(text);
}

AcRxClass* AcMTextModifier::supportedEntityKind() const {
    return AcDbMText::desc();
}

void AcMTextModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr)
        return;
    if (AcDbMText* target = writableAs<AcDbMText>(label))
        target->setContents(text);
}

AcRxClass* AcDimensionModifier::supportedEntityKind() const {
    return AcDbDimension::desc();
}

void AcDimensionModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr)
        return;
    if (AcDbDimension* target = writableAs<AcDbDimension>(label))
        target->setDimensionText(text);
}

AcRxClass* AcLeaderModifier::supportedEntityKind() const {
    return AcDbLeader::desc();
}

void AcLeaderModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr)
        return;
    const AcDbLeader* leader = readableAs<AcDbLeader>(label);
    if (leader == nullptr)
        return;
    // A block or a tolerance as annotation is not ours to rewrite.
    AcDbObjPtr<AcDbMText> annotation(leader->annotationObjId(), AcDb::kForWrite);
    if (annotation)
        annotation->setContents(text);
}

AcRxClass* AcBlockModifier::supportedEntityKind() const {
    return AcDbBlockReference::desc();
}

void AcBlockModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr || m_attribName.IsEmpty())
        return;
    const AcDbBlockReference* reference = readableAs<AcDbBlockReference>(label);
    if (reference == nullptr)
        return;
    AcDbObjectIterator* it = reference->attributeIterator();
    if (it == nullptr)
        return;
    // Every attribute with the tag gets the text, not only the first.
    for (it->start(); !it->done(); it->step()) {
        AcDbObjPtr<AcDbAttribute> attribute(it->objectId(), AcDb::kForWrite);
        if (!attribute)
            continue;
        wchar_t* tag = attribute->tag();
        if (tag != nullptr && _wcsicmp(tag, m_attribName) == 0)
            attribute->setTextString(text);
        acutDelBuffer(tag);
    }
    delete it;
}

void AcColorModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr || label == nullptr || !label->isWriteEnabled())
        return;
    // Negative numbers wrap to large ones and are refused with those above 256.
    const auto color = static_cast<unsigned int>(_wtoi(text));
    if (color <= 256)
        label->setColorIndex(static_cast<Adesk::UInt16>(color), true);
}
