#pragma once

#include "db/filer.h"
#include "db/object.h"

// Every class level files its own version before its fields, after the level below it. A level
// that meets a version newer than its own cannot read the rest and lets the object be a proxy.

template <class Below, class Object>
Acad::ErrorStatus svDwgOutLevel(const Object* self, AcDbDwgFiler* filer, Adesk::Int16 version) {
    self->assertReadEnabled();
    const Acad::ErrorStatus es = self->Below::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeInt16(version);
    return filer->filerStatus();
}

template <class Below, class Object>
Acad::ErrorStatus svDwgInLevel(Object* self, AcDbDwgFiler* filer, Adesk::Int16 version) {
    self->assertWriteEnabled();
    const Acad::ErrorStatus es = self->Below::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Adesk::Int16 filed = 0;
    filer->readInt16(&filed);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    if (filed > version)
        return Acad::eMakeMeProxy;
    return Acad::eOk;
}
