#pragma once

#include <cstdint>

#pragma GCC visibility push(default)

namespace Adesk {
using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using IntPtr = std::intptr_t;
using UIntPtr = std::uintptr_t;
// An object id as one pointer-sized number (AcDbObjectId::asOldId).
using IntDbId = std::intptr_t;
using Boolean = bool;
constexpr Boolean kFalse = false;
constexpr Boolean kTrue = true;
} // namespace Adesk

namespace AcDb {

enum OpenMode {
    kForRead = 0,
    kForWrite = 1,
    kForNotify = 2,
};

// What a DWG filer is used for; objects may file differently for each.
enum FilerType {
    kFileFiler = 0,
    kCopyFiler = 1,
    kUndoFiler = 2,
    kBagFiler = 3,
    kIdXlateFiler = 4,
    kPageFiler = 5,
    kDeepCloneFiler = 6,
    kIdFiler = 7,
    kPurgeFiler = 8,
    kWblockCloneFiler = 9,
};

} // namespace AcDb

#pragma GCC visibility pop
