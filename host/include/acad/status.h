#pragma once

namespace Acad {

enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eAmbiguousInput = 4,
    eAmbiguousOutput = 5,
    eOutOfMemory = 6,
    eBufferTooSmall = 7,
    eInvalidOpenState = 8,
    eEntityInLockedLayer = 9,
    eDuplicateKey = 10,
    eNotThatKindOfClass = 11,
    eInvalidIndex = 12,
    eNullObjectId = 13,
    eNullObjectPointer = 14,
    eNullEntityPointer = 15,
    eInvalidKey = 16,
    eKeyNotFound = 17,
    eDuplicateRecordName = 18,
    eNotInDatabase = 19,
    eNoDatabase = 20,
    eWrongDatabase = 21,
    eWrongObjectType = 22,
    eInvalidDxfCode = 23,
    eIllegalReplacement = 24,
    eOutOfRange = 25,
    eNotAllowedForThisProxy = 26,
    eNotOpenForRead = 30,
    eNotOpenForWrite = 31,
    eWasErased = 32,
    eWasOpenForRead = 33,
    eWasOpenForWrite = 34,
    eWasOpenForUndo = 35,
    eWasNotifying = 36,
    eWasOpenForNotify = 37,
    eAtMaxReaders = 38,
    eWasNotOpenForWrite = 39,
    ePermanentlyErased = 40,
    eWasNotErased = 41,
    eObjectToBeDeleted = 42,
    eAlreadyInDb = 43,
    eNotInTransaction = 44,
    eNoActiveTransactions = 45,
    eInvalidObjectId = 46,
    eHandleExists = 47,
    eNullHandle = 48,
    eIsWriteProtected = 49,
    eFilerError = 60,
    eEndOfFile = 61,
    eFileNotFound = 62,
    eFileAccessErr = 63,
    eBadDwgHeader = 64,
    eBadDwgFile = 65,
    eInvalidDwgVersion = 66,
    eDwgNeedsRecovery = 67,
    eUnknownClass = 68,
    eInvalidExtents = 80,
    eDegenerateGeometry = 81,
    eNotApplicableToCurve = 82,
    eNotHandled = 90,
    eMakeMeProxy = 301,
};

} // namespace Acad

#pragma GCC visibility push(default)

// A short text for messages.
const wchar_t* acadErrorStatusText(Acad::ErrorStatus status);

#pragma GCC visibility pop
