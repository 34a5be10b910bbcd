#include "ed/sysvars.h"

#include "db/acutbuffer.h"
#include "db/database.h"

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

} // namespace

int acedGetVar(const wchar_t* name, resbuf* result) {
    AcDbSysVar value;
    if (result == nullptr || working() == nullptr || working()->getSysVar(name, value) != Acad::eOk)
        return RTERROR;
    result->rbnext = nullptr;
    switch (value.type) {
    case AcDbSysVar::kInt16:
        result->restype = RTSHORT;
        result->resval.rint = static_cast<short>(value.intValue);
        break;
    case AcDbSysVar::kInt32:
        result->restype = RTLONG;
        result->resval.rlong = value.intValue;
        break;
    case AcDbSysVar::kReal:
        result->restype = RTREAL;
        result->resval.rreal = value.realValue;
        break;
    case AcDbSysVar::kString:
        result->restype = RTSTR;
        result->resval.rstring = acutNewString(value.stringValue.c_str());
        break;
    default:
        return RTERROR;
    }
    return RTNORM;
}

int acedSetVar(const wchar_t* name, const resbuf* value) {
    AcDbSysVar existing;
    if (value == nullptr || working() == nullptr ||
        working()->getSysVar(name, existing) != Acad::eOk)
        return RTERROR;
    AcDbSysVar given;
    switch (value->restype) {
    case RTSHORT:
        given = AcDbSysVar::int16(value->resval.rint);
        break;
    case RTLONG:
        given = AcDbSysVar::int32(value->resval.rlong);
        break;
    case RTREAL:
        given = AcDbSysVar::real(value->resval.rreal);
        break;
    case RTSTR:
        given = AcDbSysVar::string(value->resval.rstring);
        break;
    default:
        return RTREJ;
    }
    return working()->setSysVar(name, given) == Acad::eOk ? RTNORM : RTREJ;
}
