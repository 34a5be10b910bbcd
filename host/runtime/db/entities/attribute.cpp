#include "db/attribute.h"

#include <cwctype>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/worlddraw.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

enum Flags : Adesk::UInt8 {
    kInvisible = 1,
    kConstant = 2,
    kVerifiable = 4,
    kPreset = 8,
};

// Tags name a value in commands and files, where a space would end them.
bool validTag(const wchar_t* tag) {
    if (tag == nullptr || *tag == L'\0')
        return false;
    for (const wchar_t* c = tag; *c != L'\0'; ++c) {
        if (std::iswspace(static_cast<wint_t>(*c)))
            return false;
    }
    return true;
}

Adesk::UInt8 packFlags(bool invisible, bool constant, bool verifiable, bool preset) {
    return static_cast<Adesk::UInt8>((invisible ? kInvisible : 0) | (constant ? kConstant : 0) |
                                     (verifiable ? kVerifiable : 0) | (preset ? kPreset : 0));
}

// Reads the flags filed after the tag; the modes change only when tag and flags are sound.
bool readModes(AcDbDwgFiler* filer, const std::wstring& tag, bool& invisible, bool& constant,
               bool& verifiable, bool& preset) {
    Adesk::UInt8 flags = 0;
    filer->readUInt8(&flags);
    if (svent::require(filer, (tag.empty() || validTag(tag.c_str())) && flags < 16) != Acad::eOk)
        return false;
    invisible = (flags & kInvisible) != 0;
    constant = (flags & kConstant) != 0;
    verifiable = (flags & kVerifiable) != 0;
    preset = (flags & kPreset) != 0;
    return true;
}

void listFlags(bool invisible, bool constant, bool verifiable, bool preset) {
    std::wstring flags;
    if (invisible)
        flags += L"invisible ";
    if (constant)
        flags += L"constant ";
    if (verifiable)
        flags += L"verify ";
    if (preset)
        flags += L"preset ";
    svent::listLine(L"flags:", flags.empty() ? L"normal" : flags);
}

} // namespace

AcDbAttributeDefinition::AcDbAttributeDefinition() = default;

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const wchar_t* text,
                                                 const wchar_t* tag, const wchar_t* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style) {
    if (validTag(tag))
        m_tag = tag;
    if (prompt != nullptr)
        m_prompt = prompt;
}

AcDbAttributeDefinition::~AcDbAttributeDefinition() = default;

wchar_t* AcDbAttributeDefinition::tag() const {
    assertReadEnabled();
    return acutNewString(m_tag.c_str());
}

const wchar_t* AcDbAttributeDefinition::tagConst() const {
    assertReadEnabled();
    return m_tag.c_str();
}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const wchar_t* tag) {
    if (!validTag(tag))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_tag = tag;
    return Acad::eOk;
}

wchar_t* AcDbAttributeDefinition::prompt() const {
    assertReadEnabled();
    return acutNewString(m_prompt.c_str());
}

const wchar_t* AcDbAttributeDefinition::promptConst() const {
    assertReadEnabled();
    return m_prompt.c_str();
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const wchar_t* prompt) {
    if (prompt == nullptr)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_prompt = prompt;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttributeDefinition::isInvisible() const {
    assertReadEnabled();
    return m_invisible;
}

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(Adesk::Boolean invisible) {
    assertWriteEnabled();
    m_invisible = invisible;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttributeDefinition::isConstant() const {
    assertReadEnabled();
    return m_constant;
}

Acad::ErrorStatus AcDbAttributeDefinition::setConstant(Adesk::Boolean constant) {
    assertWriteEnabled();
    m_constant = constant;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttributeDefinition::isPreset() const {
    assertReadEnabled();
    return m_preset;
}

Acad::ErrorStatus AcDbAttributeDefinition::setPreset(Adesk::Boolean preset) {
    assertWriteEnabled();
    m_preset = preset;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttributeDefinition::isVerifiable() const {
    assertReadEnabled();
    return m_verifiable;
}

Acad::ErrorStatus AcDbAttributeDefinition::setVerifiable(Adesk::Boolean verifiable) {
    assertWriteEnabled();
    m_verifiable = verifiable;
    return Acad::eOk;
}

void AcDbAttributeDefinition::list() const {
    AcDbEntity::list();
    svent::listQuoted(L"tag:", m_tag.c_str());
    svent::listQuoted(L"prompt:", m_prompt.c_str());
    listFlags(m_invisible, m_constant, m_verifiable, m_preset);
    listText();
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbText::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_tag.c_str());
    filer->writeString(m_prompt.c_str());
    filer->writeUInt8(packFlags(m_invisible, m_constant, m_verifiable, m_preset));
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbText::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring tag = svent::readText(filer);
    std::wstring prompt = svent::readText(filer);
    if (!readModes(filer, tag, m_invisible, m_constant, m_verifiable, m_preset))
        return filer->filerStatus();
    m_tag = std::move(tag);
    m_prompt = std::move(prompt);
    return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------

AcDbAttribute::AcDbAttribute() = default;

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                             AcDbObjectId style)
    : AcDbText(position, text, style) {
    if (validTag(tag))
        m_tag = tag;
}

AcDbAttribute::~AcDbAttribute() = default;

wchar_t* AcDbAttribute::tag() const {
    assertReadEnabled();
    return acutNewString(m_tag.c_str());
}

const wchar_t* AcDbAttribute::tagConst() const {
    assertReadEnabled();
    return m_tag.c_str();
}

Acad::ErrorStatus AcDbAttribute::setTag(const wchar_t* tag) {
    if (!validTag(tag))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_tag = tag;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttribute::isInvisible() const {
    assertReadEnabled();
    return m_invisible;
}

Acad::ErrorStatus AcDbAttribute::setInvisible(Adesk::Boolean invisible) {
    assertWriteEnabled();
    m_invisible = invisible;
    return Acad::eOk;
}

Adesk::Boolean AcDbAttribute::isConstant() const {
    assertReadEnabled();
    return m_constant;
}

Adesk::Boolean AcDbAttribute::isPreset() const {
    assertReadEnabled();
    return m_preset;
}

Adesk::Boolean AcDbAttribute::isVerifiable() const {
    assertReadEnabled();
    return m_verifiable;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                                       const AcGeMatrix3d& blockTransform) {
    if (definition == nullptr)
        return Acad::eNullObjectPointer;
    if (!svent::isInvertible(blockTransform))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    wchar_t* layerName = definition->layer();
    setLayer(layerName);
    acutDelBuffer(layerName);
    setColorIndex(definition->colorIndex());
    m_tag = definition->tagConst();
    m_invisible = definition->isInvisible();
    m_constant = definition->isConstant();
    m_verifiable = definition->isVerifiable();
    m_preset = definition->isPreset();
    // Modes first, so the points land as the definition placed them.
    setHorizontalMode(definition->horizontalMode());
    setVerticalMode(definition->verticalMode());
    setNormal(definition->normal());
    setTextStyle(definition->textStyle());
    setHeight(definition->height());
    setRotation(definition->rotation());
    setWidthFactor(definition->widthFactor());
    setOblique(definition->oblique());
    setTextString(definition->textStringConst());
    setPosition(definition->position());
    if (!definition->isDefaultAlignment())
        setAlignmentPoint(definition->alignmentPoint());
    return transformBy(blockTransform);
}

void AcDbAttribute::list() const {
    AcDbEntity::list();
    svent::listQuoted(L"tag:", m_tag.c_str());
    listFlags(m_invisible, m_constant, m_verifiable, m_preset);
    listText();
}

Acad::ErrorStatus AcDbAttribute::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbText::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_tag.c_str());
    filer->writeUInt8(packFlags(m_invisible, m_constant, m_verifiable, m_preset));
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbText::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring tag = svent::readText(filer);
    if (!readModes(filer, tag, m_invisible, m_constant, m_verifiable, m_preset))
        return filer->filerStatus();
    m_tag = std::move(tag);
    return Acad::eOk;
}

// Outside an insertion a definition shows its tag, as the block editor shows it.
void AcDbAttributeDefinition::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiText text;
    text.content = m_constant ? textStringConst() : m_tag;
    text.position = position();
    text.direction = svent::directionInPlane(rotation(), normal());
    text.normal = normal();
    text.height = height();
    text.style = textStyle();
    mode->geometry().text(text);
}

void AcDbAttribute::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    if (!m_invisible)
        AcDbText::worldDraw(mode);
}
