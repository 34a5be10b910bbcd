#pragma once

#include "Sentavell17Api.h"
#include "db/entity.h"

// Reads one property of a source entity, as a number and as text. Readers live embedded in a
// style, never in a database.
class SENTAVELL17_API AcPropertyReader : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcPropertyReader);
    SV_RX_DECLARE_VERSION(AcPropertyReader);

    virtual const char* displayName() const;
    // 0.0 for an entity the reader cannot read.
    virtual double readPropertyAsNumber(const AcDbEntity* entity) const;
    // The number in the drawing's linear units and precision, or null for a null entity or one
    // not open for read. The caller releases the text with delete[].
    virtual wchar_t* readPropertyAsString(const AcDbEntity* entity) const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};

class SENTAVELL17_API AcAreaReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcAreaReader);
    SV_RX_DECLARE_VERSION(AcAreaReader);

    const char* displayName() const override;
    // Curves and regions.
    double readPropertyAsNumber(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class SENTAVELL17_API AcLengthReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcLengthReader);
    SV_RX_DECLARE_VERSION(AcLengthReader);

    const char* displayName() const override;
    // Curves: the distance from the start to the end parameter.
    double readPropertyAsNumber(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class SENTAVELL17_API AcTextReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcTextReader);
    SV_RX_DECLARE_VERSION(AcTextReader);

    const char* displayName() const override;
    // The text of a single-line text, attribute or attribute definition; null for anything else.
    wchar_t* readPropertyAsString(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class SENTAVELL17_API AcXCoordReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcXCoordReader);
    SV_RX_DECLARE_VERSION(AcXCoordReader);

    const char* displayName() const override;
    double readPropertyAsNumber(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class SENTAVELL17_API AcYCoordReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcYCoordReader);
    SV_RX_DECLARE_VERSION(AcYCoordReader);

    const char* displayName() const override;
    double readPropertyAsNumber(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class SENTAVELL17_API AcZCoordReader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(AcZCoordReader);
    SV_RX_DECLARE_VERSION(AcZCoordReader);

    const char* displayName() const override;
    double readPropertyAsNumber(const AcDbEntity* entity) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};
