#pragma once

#include "Sentavell17Api.h"
#include "db/entity.h"
#include "mfc/cstring.h"

// Writes a text into a label entity. Modifiers live embedded in a style, never in a database;
// a label they cannot write is left as it was, without a word.
class SENTAVELL17_API AcContentModifier : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcContentModifier);
    SV_RX_DECLARE_VERSION(AcContentModifier);

    virtual const wchar_t* displayName() const;
    // Whether the style editor offers an options button, and whether the options are complete.
    virtual bool hasOptions() const;
    virtual bool hasOptionsCorrect() const;
    // The class a label must have for updateContent to write it.
    virtual AcRxClass* supportedEntityKind() const;
    virtual void updateContent(AcDbEntity* label, const wchar_t* text);
    // What the label shows now where updateContent writes; false when it shows nothing there (a
    // label of another kind, a leader without a text annotation).
    virtual bool labelContent(const AcDbEntity* label, CString& text) const;
    // Whether updateContent with the text would leave the label as it is. The label is open for
    // read at least; nothing is written.
    virtual bool holdsContent(const AcDbEntity* label, const wchar_t* text) const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};

// Single-line text and attributes, open for write.
class SENTAVELL17_API AcTextModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcTextModifier);
    SV_RX_DECLARE_VERSION(AcTextModifier);

    const wchar_t* displayName() const override;
    AcRxClass* supportedEntityKind() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    bool labelContent(const AcDbEntity* label, CString& text) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

// Multiline text, open for write.
class SENTAVELL17_API AcMTextModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcMTextModifier);
    SV_RX_DECLARE_VERSION(AcMTextModifier);

    const wchar_t* displayName() const override;
    AcRxClass* supportedEntityKind() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    bool labelContent(const AcDbEntity* label, CString& text) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

// Every attribute of a block reference whose tag is the attribute name, in any letter case.
class SENTAVELL17_API AcBlockModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcBlockModifier);
    SV_RX_DECLARE_VERSION(AcBlockModifier);

    const wchar_t* displayName() const override;
    bool hasOptions() const override;
    // Only once there is an attribute name: an empty one matches no attribute.
    bool hasOptionsCorrect() const override;
    AcRxClass* supportedEntityKind() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    // The first attribute with the tag; the label holds a text when every such attribute does.
    bool labelContent(const AcDbEntity* label, CString& text) const override;
    bool holdsContent(const AcDbEntity* label, const wchar_t* text) const override;

    // Never null; valid while this object is unchanged.
    const wchar_t* attribName() const;
    Acad::ErrorStatus setAttribName(const wchar_t* name);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    CString m_attribName;
};

// The text override of a dimension.
class SENTAVELL17_API AcDimensionModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcDimensionModifier);
    SV_RX_DECLARE_VERSION(AcDimensionModifier);

    const wchar_t* displayName() const override;
    AcRxClass* supportedEntityKind() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    bool labelContent(const AcDbEntity* label, CString& text) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

// The multiline-text annotation of a leader; other annotations are left alone.
class SENTAVELL17_API AcLeaderModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcLeaderModifier);
    SV_RX_DECLARE_VERSION(AcLeaderModifier);

    const wchar_t* displayName() const override;
    AcRxClass* supportedEntityKind() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    bool labelContent(const AcDbEntity* label, CString& text) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

// The colour index of any entity open for write, from the whole number the text starts with:
// 0 (BYBLOCK) to 256 (BYLAYER); other numbers leave the colour alone.
class SENTAVELL17_API AcColorModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(AcColorModifier);
    SV_RX_DECLARE_VERSION(AcColorModifier);

    const wchar_t* displayName() const override;
    void updateContent(AcDbEntity* label, const wchar_t* text) override;
    // The colour index as a number.
    bool labelContent(const AcDbEntity* label, CString& text) const override;
    bool holdsContent(const AcDbEntity* label, const wchar_t* text) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};
