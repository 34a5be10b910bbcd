// How each modifier writes its label. A label of another kind, or one that cannot be written,
// is left as it was; so is every label when there is no text.
#include "AcContentModifier.h"
#include <cwchar>

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

// Keeps a copy the host handed out and releases it.
bool take(wchar_t* copy, CString& text) {
    if (copy == nullptr)
        return false;
    text = copy;
    acutDelBuffer(copy);
    return true;
}

// The number updateContent turns a text into; false for one it refuses. Negative numbers wrap
// to large ones and are refused with those above 256.
bool colorOf(const wchar_t* text, Adesk::UInt16& color) {
    const auto number = static_cast<unsigned int>(_wtoi(text));
    color = static_cast<Adesk::UInt16>(number);
    return number <= 256;
}

// Calls visit with each attribute of the reference whose tag is the name, in any letter case,
// open in mode, until visit answers false. Attributes that cannot be opened are passed over.
template <class Visit>
void forEachTagged(const AcDbBlockReference& reference, const CString& name, AcDb::OpenMode mode,
                   Visit visit) {
    AcDbObjectIterator* it = reference.attributeIterator();
    if (it == nullptr)
        return;
    for (it->start(); !it->done(); it->step()) {
        AcDbObjPtr<AcDbAttribute> attribute(it->objectId(), mode);
        if (!attribute)
            continue;
        const wchar_t* tag = attribute->tagConst();
        const bool tagged = tag != nullptr && _wcsicmp(tag, name) == 0;
        if (tagged && !visit(*attribute.object()))
            break;
    }
    delete it;
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

bool AcTextModifier::labelContent(const AcDbEntity* label, CString& text) const {
    const AcDbText* shown = readableAs<AcDbText>(label);
    return shown != nullptr && take(shown->textString(), text);
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

bool AcMTextModifier::labelContent(const AcDbEntity* label, CString& text) const {
    const AcDbMText* shown = readableAs<AcDbMText>(label);
    return shown != nullptr && take(shown->contents(), text);
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

bool AcDimensionModifier::labelContent(const AcDbEntity* label, CString& text) const {
    const AcDbDimension* shown = readableAs<AcDbDimension>(label);
    return shown != nullptr && take(shown->dimensionText(), text);
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

bool AcLeaderModifier::labelContent(const AcDbEntity* label, CString& text) const {
    const AcDbLeader* leader = readableAs<AcDbLeader>(label);
    if (leader == nullptr)
        return false;
    AcDbObjPtr<AcDbMText> annotation(leader->annotationObjId(), AcDb::kForRead);
    return annotation && take(annotation->contents(), text);
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
    // Every attribute with the tag gets the text, not only the first.
    forEachTagged(*reference, m_attribName, AcDb::kForWrite, [&](AcDbAttribute& attribute) {
        attribute.setTextString(text);
        return true;
    });
}

bool AcBlockModifier::labelContent(const AcDbEntity* label, CString& text) const {
    const AcDbBlockReference* reference = readableAs<AcDbBlockReference>(label);
    if (reference == nullptr || m_attribName.IsEmpty())
        return false;
    bool found = false;
    forEachTagged(*reference, m_attribName, AcDb::kForRead, [&](const AcDbAttribute& attribute) {
        text = attribute.textStringConst();
        found = true;
        return false;
    });
    return found;
}

bool AcBlockModifier::holdsContent(const AcDbEntity* label, const wchar_t* text) const {
    const AcDbBlockReference* reference = readableAs<AcDbBlockReference>(label);
    if (text == nullptr || reference == nullptr || m_attribName.IsEmpty())
        return true;
    bool holds = true;
    forEachTagged(*reference, m_attribName, AcDb::kForRead, [&](const AcDbAttribute& attribute) {
        holds = std::wcscmp(attribute.textStringConst(), text) == 0;
        return holds;
    });
    return holds;
}

void AcColorModifier::updateContent(AcDbEntity* label, const wchar_t* text) {
    if (text == nullptr || label == nullptr || !label->isWriteEnabled())
        return;
    Adesk::UInt16 color = 0;
    if (colorOf(text, color))
        label->setColorIndex(color, true);
}

bool AcColorModifier::labelContent(const AcDbEntity* label, CString& text) const {
    if (label == nullptr || !label->isReadEnabled())
        return false;
    text.Format(L"%u", static_cast<unsigned int>(label->colorIndex()));
    return true;
}

bool AcColorModifier::holdsContent(const AcDbEntity* label, const wchar_t* text) const {
    Adesk::UInt16 color = 0;
    if (text == nullptr || label == nullptr || !label->isReadEnabled() || !colorOf(text, color))
        return true;
    return label->colorIndex() == color;
}
