#pragma once

#include <cstddef>

#include "AcContentModifier.h"
#include "AcPropertyReader.h"
#include "Sentavell17Api.h"
#include "db/object.h"
#include "mfc/cstring.h"

// How a label is produced: the reader that reads the source, the modifier that writes the label,
// a DIESEL macro run over the value before it is written, and the user's description.
class SENTAVELL17_API AcPropertyLinkStyle : public AcDbObject {
    SV_RX_DECLARE_FILED_MEMBERS(AcPropertyLinkStyle);
    SV_RX_DECLARE_VERSION(AcPropertyLinkStyle);

    AcPropertyLinkStyle();
    // The modifier goes first, then the reader.
    ~AcPropertyLinkStyle() override;
    AcPropertyLinkStyle(const AcPropertyLinkStyle&) = delete;
    AcPropertyLinkStyle& operator=(const AcPropertyLinkStyle&) = delete;

    // Never null; valid while this object is unchanged.
    const wchar_t* description() const;
    Acad::ErrorStatus setDescription(const wchar_t* description);
    // "%PROPERTY" stands for the value as text, "%NPROPERTY" for the number; empty for none.
    const wchar_t* postProcessingMacro() const;
    Acad::ErrorStatus setPostProcessingMacro(const wchar_t* macro);

    // The style owns both: a setter deletes what it held before, the getters' answers are not
    // the caller's to delete. Null is allowed.
    AcPropertyReader* propertyReader() const;
    Acad::ErrorStatus setPropertyReader(AcPropertyReader* reader);
    AcContentModifier* contentModifier() const;
    Acad::ErrorStatus setContentModifier(AcContentModifier* modifier);

    // Description, macro and independent clones of the reader and modifier of another style.
    Acad::ErrorStatus copyFrom(const AcRxObject* other) override;

    // Reads the source (null allowed) and writes the label, which must be open for write. The
    // label receives "UNKNOWN PROPERTY VALUE" when the source cannot be read; a style without
    // reader or modifier leaves it alone.
    void update(AcDbEntity* source, AcDbEntity* label);
    // The text update would write now, the same way, writing nothing itself: eOk; eInvalidInput
    // when the source cannot be read for the reader (the text is then the fallback the label
    // would get); eNullObjectPointer for a style without reader or modifier, which update leaves
    // alone.
    Acad::ErrorStatus labelText(const AcDbEntity* source, CString& text) const;
    // Name, reader, modifier with its options, macro and description, one line each.
    void list() const override;

    // The reader and modifier are filed inside the style's own record, named by class.
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    // The label text is built on the stack: update runs on every change of every linked source.
    static constexpr std::size_t kLabelChars = 132;

private:
    Acad::ErrorStatus fillLabelText(const AcDbEntity* source, wchar_t (&buffer)[kLabelChars]) const;

    AcPropertyReader* m_reader = nullptr;
    AcContentModifier* m_modifier = nullptr;
    CString m_description;
    CString m_macro;
};
