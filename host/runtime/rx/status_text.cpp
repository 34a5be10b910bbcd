#include "acad/status.h"

const wchar_t* acadErrorStatusText(Acad::ErrorStatus status) {
    switch (status) {
    case Acad::eOk:
        return L"no error";
    case Acad::eNotImplementedYet:
        return L"not implemented";
    case Acad::eNotApplicable:
        return L"not applicable";
    case Acad::eInvalidInput:
        return L"invalid input";
    case Acad::eAmbiguousInput:
        return L"ambiguous input";
    case Acad::eAmbiguousOutput:
        return L"ambiguous output";
    case Acad::eOutOfMemory:
        return L"out of memory";
    case Acad::eBufferTooSmall:
        return L"buffer too small";
    case Acad::eInvalidOpenState:
        return L"invalid open state";
    case Acad::eEntityInLockedLayer:
        return L"entity on a locked layer";
    case Acad::eDuplicateKey:
        return L"duplicate key";
    case Acad::eNotThatKindOfClass:
        return L"object of another class";
    case Acad::eInvalidIndex:
        return L"invalid index";
    case Acad::eNullObjectId:
        return L"null object id";
    case Acad::eNullObjectPointer:
        return L"null object";
    case Acad::eNullEntityPointer:
        return L"null entity";
    case Acad::eInvalidKey:
        return L"invalid key";
    case Acad::eKeyNotFound:
        return L"key not found";
    case Acad::eDuplicateRecordName:
        return L"duplicate record name";
    case Acad::eNotInDatabase:
        return L"not in a drawing";
    case Acad::eNoDatabase:
        return L"no drawing";
    case Acad::eWrongDatabase:
        return L"object of another drawing";
    case Acad::eWrongObjectType:
        return L"wrong object type";
    case Acad::eInvalidDxfCode:
        return L"invalid DXF code";
    case Acad::eIllegalReplacement:
        return L"illegal replacement";
    case Acad::eOutOfRange:
        return L"value out of range";
    case Acad::eNotAllowedForThisProxy:
        return L"not allowed for a proxy";
    case Acad::eNotOpenForRead:
        return L"not open for read";
    case Acad::eNotOpenForWrite:
        return L"not open for write";
    case Acad::eWasErased:
        return L"object was erased";
    case Acad::eWasOpenForRead:
        return L"object is open for read";
    case Acad::eWasOpenForWrite:
        return L"object is open for write";
    case Acad::eWasOpenForUndo:
        return L"object is open for undo";
    case Acad::eWasNotifying:
        return L"object is sending notifications";
    case Acad::eWasOpenForNotify:
        return L"object is open for notify";
    case Acad::eAtMaxReaders:
        return L"too many readers";
    case Acad::eWasNotOpenForWrite:
        return L"object was not open for write";
    case Acad::ePermanentlyErased:
        return L"object permanently erased";
    case Acad::eWasNotErased:
        return L"object was not erased";
    case Acad::eObjectToBeDeleted:
        return L"object is to be deleted";
    case Acad::eAlreadyInDb:
        return L"object already in a drawing";
    case Acad::eNotInTransaction:
        return L"not in a transaction";
    case Acad::eNoActiveTransactions:
        return L"no active transaction";
    case Acad::eInvalidObjectId:
        return L"invalid object id";
    case Acad::eHandleExists:
        return L"handle exists already";
    case Acad::eNullHandle:
        return L"null handle";
    case Acad::eIsWriteProtected:
        return L"file is write-protected";
    case Acad::eFilerError:
        return L"filer error";
    case Acad::eEndOfFile:
        return L"unexpected end of file";
    case Acad::eFileNotFound:
        return L"file not found";
    case Acad::eFileAccessErr:
        return L"file cannot be accessed";
    case Acad::eBadDwgHeader:
        return L"not a drawing file";
    case Acad::eBadDwgFile:
        return L"damaged drawing file";
    case Acad::eInvalidDwgVersion:
        return L"drawing file of an unknown version";
    case Acad::eDwgNeedsRecovery:
        return L"drawing file needs recovery";
    case Acad::eUnknownClass:
        return L"unknown class";
    case Acad::eInvalidExtents:
        return L"invalid extents";
    case Acad::eDegenerateGeometry:
        return L"degenerate geometry";
    case Acad::eNotApplicableToCurve:
        return L"not applicable to this curve";
    case Acad::eNotHandled:
        return L"not handled";
    case Acad::eMakeMeProxy:
        return L"record of a newer version";
    }
    return L"unknown error";
}
