#pragma once

#include <string>

#include "db/text.h"
#include "ge/matrix3d.h"

#pragma GCC visibility push(default)

// A tag a block definition offers for values; its text string is the default value that an
// insertion of the block starts with. Appended to the block's record like any entity.
class AcDbAttributeDefinition : public AcDbText {
    SV_RX_DECLARE_MEMBERS(AcDbAttributeDefinition);

    AcDbAttributeDefinition();
    AcDbAttributeDefinition(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                            const wchar_t* prompt, AcDbObjectId style = AcDbObjectId());
    ~AcDbAttributeDefinition() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    // Copies released with acutDelBuffer.
    wchar_t* tag() const;
    const wchar_t* tagConst() const;
    // A tag must not be empty nor contain spaces (eInvalidInput).
    Acad::ErrorStatus setTag(const wchar_t* tag);
    wchar_t* prompt() const;
    const wchar_t* promptConst() const;
    Acad::ErrorStatus setPrompt(const wchar_t* prompt);

    Adesk::Boolean isInvisible() const;
    Acad::ErrorStatus setInvisible(Adesk::Boolean invisible);
    // A constant definition gives no attribute: its text is part of the block.
    Adesk::Boolean isConstant() const;
    Acad::ErrorStatus setConstant(Adesk::Boolean constant);
    Adesk::Boolean isPreset() const;
    Acad::ErrorStatus setPreset(Adesk::Boolean preset);
    Adesk::Boolean isVerifiable() const;
    Acad::ErrorStatus setVerifiable(Adesk::Boolean verifiable);

    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_tag;
    std::wstring m_prompt;
    bool m_invisible = false;
    bool m_constant = false;
    bool m_preset = false;
    bool m_verifiable = false;
};

// The value of one attribute definition in one block reference; owned by the reference.
class AcDbAttribute : public AcDbText {
    SV_RX_DECLARE_MEMBERS(AcDbAttribute);

    AcDbAttribute();
    AcDbAttribute(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                  AcDbObjectId style = AcDbObjectId());
    ~AcDbAttribute() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    // A copy released with acutDelBuffer.
    wchar_t* tag() const;
    const wchar_t* tagConst() const;
    // A tag must not be empty nor contain spaces (eInvalidInput).
    Acad::ErrorStatus setTag(const wchar_t* tag);
    Adesk::Boolean isInvisible() const;
    Acad::ErrorStatus setInvisible(Adesk::Boolean invisible);
    Adesk::Boolean isConstant() const;
    Adesk::Boolean isPreset() const;
    Adesk::Boolean isVerifiable() const;

    // Takes tag, flags, text properties and default value of the definition, placed by the
    // block reference's transformation.
    Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                            const AcGeMatrix3d& blockTransform);

    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_tag;
    bool m_invisible = false;
    bool m_constant = false;
    bool m_preset = false;
    bool m_verifiable = false;
};

#pragma GCC visibility pop
