#pragma once

#include "Sentavell17Api.h"
#include "db/object.h"

// Keeps one label up to date with a property of the source object whose extension dictionary
// holds the link. A null label makes a self-link: the source is its own label.
class SENTAVELL17_API AcPropertyLink : public AcDbObject {
    SV_RX_DECLARE_FILED_MEMBERS(AcPropertyLink);
    SV_RX_DECLARE_VERSION(AcPropertyLink);

    AcPropertyLink();
    ~AcPropertyLink() override;
    AcPropertyLink(const AcPropertyLink& other);
    AcPropertyLink& operator=(const AcPropertyLink& other);

    AcDbObjectId style() const;
    Acad::ErrorStatus setStyle(const AcDbObjectId& styleId);
    AcDbObjectId linkedObj() const;
    Acad::ErrorStatus setLinkedObj(const AcDbObjectId& labelId);
    // Set only while the application module rewrites a self-link's source; never filed.
    bool isWithinDelayedModification() const;
    Acad::ErrorStatus setIsWithinDelayedModification(bool within);

    // The source was closed after a change: a normal link rewrites its label now, a self-link
    // asks the style manager service to do it once the notification is over.
    void modified(const AcDbObject* dbObj) override;
    // Its style and label, as LIST shows them below the link.
    void list() const override;

    // The style as a hard pointer, the label as a soft one; the flag is not filed.
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcDbObjectId m_style;
    AcDbObjectId m_linkedObj;
    bool m_withinDelayedModification = false;
};
